#include "ui/qt_desktop_services.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

namespace quill::ui {

MessageAnswer QtDesktopServices::ShowMessage(QWidget* parent, const QString& title,
                                             const QString& text, MessageIcon icon,
                                             MessageButtons buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setText(text);
  switch (icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  if (buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

QString QtDesktopServices::GetOpenFileName(QWidget* parent, const QString& caption,
                                           const QString& folder, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtDesktopServices::GetSaveFileName(QWidget* parent, const QString& caption,
                                           const QString& path, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, caption, path, filter);
}

std::optional<QColor> QtDesktopServices::PickColor(QWidget* parent, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

void QtDesktopServices::OpenInShell(const QString& address) {
  QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

publish::LaunchResult QtDesktopServices::RunAndWait(const std::string& program,
                                                    const std::vector<std::string>& arguments) {
  return publish::RunAndWait(program, arguments);
}

QSize QtDesktopServices::ScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry().size() : QSize(1024, 768);
}

void QtDesktopServices::ClearClipboard() {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->clear();
}

}  // namespace quill::ui
