#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ui/desktop_services.h"

// Lets GoogleTest print QStrings in its failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace quill::testing {

// Desktop services that answer from a script and remember what they were asked.
class FakeDesktopServices final : public ui::DesktopServices {
 public:
  struct Message {
    QString title;
    QString text;
    ui::MessageIcon icon;
    ui::MessageButtons buttons;
  };
  struct Launch {
    std::string program;
    std::vector<std::string> arguments;
  };

  std::vector<Message> messages;
  // Answers to the next message boxes; once empty, Yes/No boxes are answered No.
  std::deque<ui::MessageAnswer> answers;
  std::vector<QString> opened;
  QString open_failure;  // why opening an address fails; empty: it opens
  std::vector<Launch> launches;
  publish::LaunchResult launch_result{true, {}, 0};  // ran and ended well
  std::function<void()> while_running;               // what the launched program does
  bool run_programs = false;                         // really start them, and wait
  std::deque<QString> file_names;                    // answers to the file dialogs
  std::vector<QString> file_dialog_starts;  // the folder or path each file dialog opened at
  std::deque<QColor> colours;  // answers to the colour dialog; none: cancelled
  int clipboard_clears = 0;

  ui::MessageAnswer ShowMessage(QWidget*, const QString& title, const QString& text,
                                ui::MessageIcon icon, ui::MessageButtons buttons) override {
    messages.push_back({title, text, icon, buttons});
    if (!answers.empty()) {
      const ui::MessageAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == ui::MessageButtons::YesNo ? ui::MessageAnswer::No : ui::MessageAnswer::Ok;
  }
  QString GetOpenFileName(QWidget*, const QString&, const QString& folder,
                          const QString&) override {
    file_dialog_starts.push_back(folder);
    return NextFileName();
  }
  QString GetSaveFileName(QWidget*, const QString&, const QString& path,
                          const QString&) override {
    file_dialog_starts.push_back(path);
    return NextFileName();
  }
  QString GetFolderName(QWidget*, const QString&, const QString&) override {
    return NextFileName();
  }
  std::optional<QColor> PickColor(QWidget*, const QColor&) override {
    if (colours.empty()) return std::nullopt;
    QColor colour = colours.front();
    colours.pop_front();
    return colour;
  }
  QString OpenInShell(const QString& address) override {
    opened.push_back(address);
    return open_failure;
  }
  publish::LaunchResult RunAndWait(const std::string& program,
                                   const std::vector<std::string>& arguments) override {
    launches.push_back({program, arguments});
    if (run_programs) return publish::RunAndWait(program, arguments);
    if (launch_result.started && while_running) while_running();
    return launch_result;
  }
  QSize ScreenSize() const override { return {1280, 800}; }
  void ClearClipboard() override { ++clipboard_clears; }

 private:
  QString NextFileName() {
    if (file_names.empty()) return {};
    QString name = file_names.front();
    file_names.pop_front();
    return name;
  }
};

}  // namespace quill::testing
