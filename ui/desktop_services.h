#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "publish/process.h"

class QWidget;

namespace quill::ui {

enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Everything that would block a test or leave the process: message boxes, file dialogs, the
// desktop's default handlers, launching a program, the screen. Windows use these, never
// QMessageBox or QFileDialog directly, so tests can answer them.
class DesktopServices {
 public:
  virtual ~DesktopServices() = default;

  virtual MessageAnswer ShowMessage(QWidget* parent, const QString& title, const QString& text,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  // The chosen file's path, or empty when the dialog was cancelled.
  virtual QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) = 0;
  virtual QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                                  const QString& filter) = 0;
  // The chosen folder (one that exists), or empty when the dialog was cancelled.
  virtual QString GetFolderName(QWidget* parent, const QString& caption, const QString& folder) = 0;
  // The colour chosen in the colour dialog, or nothing when it was cancelled.
  virtual std::optional<QColor> PickColor(QWidget* parent, const QColor& initial) = 0;
  // Opens a web address or a file with the desktop's default handler. Empty when it did;
  // otherwise why it could not.
  virtual QString OpenInShell(const QString& address) = 0;
  virtual publish::LaunchResult RunAndWait(const std::string& program,
                                           const std::vector<std::string>& arguments) = 0;
  virtual QSize ScreenSize() const = 0;
  virtual void ClearClipboard() = 0;

  // Shorthand for the one-button "Oops!" message that refused input and failures get.
  void Oops(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::Exclamation) {
    ShowMessage(parent, "Oops!", text, icon, MessageButtons::Ok);
  }
  // Opens the address, or tells the user which address could not be opened and why.
  void Open(QWidget* parent, const QString& address) {
    const QString reason = OpenInShell(address);
    if (!reason.isEmpty()) Oops(parent, "Cannot open " + address + ": " + reason);
  }
};

}  // namespace quill::ui
