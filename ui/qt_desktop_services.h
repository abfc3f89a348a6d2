#pragma once

#include "ui/desktop_services.h"

namespace quill::ui {

// The desktop services as the running program has them.
class QtDesktopServices final : public DesktopServices {
 public:
  MessageAnswer ShowMessage(QWidget* parent, const QString& title, const QString& text,
                            MessageIcon icon, MessageButtons buttons) override;
  QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                          const QString& filter) override;
  QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& path,
                          const QString& filter) override;
  QString GetFolderName(QWidget* parent, const QString& caption, const QString& folder) override;
  std::optional<QColor> PickColor(QWidget* parent, const QColor& initial) override;
  QString OpenInShell(const QString& address) override;
  publish::LaunchResult RunAndWait(const std::string& program,
                                   const std::vector<std::string>& arguments) override;
  QSize ScreenSize() const override;
  void ClearClipboard() override;
};

}  // namespace quill::ui
