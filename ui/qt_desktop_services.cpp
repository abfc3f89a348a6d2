#include "ui/qt_desktop_services.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>
#include <QUrl>

namespace quill::ui {
namespace {

// While a launched program runs, the windows go on painting themselves but take no input
// and cannot be closed: the user's clicks meanwhile are dropped, not kept for later.
class InputBlocker final : public QObject {
 public:
  InputBlocker() { qApp->installEventFilter(this); }
  ~InputBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::InputMethod:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::ContextMenu:
        return true;
      case QEvent::Close:
        event->ignore();  // a close event let through unanswered counts as agreed
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

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

namespace {

// The file dialog, with its detail columns as wide as what they show when the toolkit draws
// it itself: the name takes the room that is left, size, type and date are never clipped.
QString AskForFile(QWidget* parent, const QString& caption, const QString& path,
                   const QString& filter, QFileDialog::AcceptMode mode,
                   QFileDialog::FileMode files) {
  QFileDialog dialog(parent, caption, path, filter);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(files);
  if (auto* details = dialog.findChild<QTreeView*>("treeView")) {
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column) {
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    dialog.resize(dialog.sizeHint().expandedTo(QSize(header->fontMetrics().averageCharWidth() * 100,
                                                     header->fontMetrics().height() * 28)));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtDesktopServices::GetOpenFileName(QWidget* parent, const QString& caption,
                                           const QString& folder, const QString& filter) {
  return AskForFile(parent, caption, folder, filter, QFileDialog::AcceptOpen,
                    QFileDialog::ExistingFile);
}

QString QtDesktopServices::GetFolderName(QWidget* parent, const QString& caption,
                                         const QString& folder) {
  return AskForFile(parent, caption, folder, {}, QFileDialog::AcceptOpen, QFileDialog::Directory);
}

QString QtDesktopServices::GetSaveFileName(QWidget* parent, const QString& caption,
                                           const QString& path, const QString& filter) {
  return AskForFile(parent, caption, path, filter, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

std::optional<QColor> QtDesktopServices::PickColor(QWidget* parent, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

QString QtDesktopServices::OpenInShell(const QString& address) {
  const QUrl url = QUrl::fromUserInput(address);
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return "the file does not exist.";
  if (QDesktopServices::openUrl(url)) return {};
  return url.isLocalFile() ? "no program on this desktop opens this kind of file."
                           : "no web browser was found on this desktop.";
}

publish::LaunchResult QtDesktopServices::RunAndWait(const std::string& program,
                                                    const std::vector<std::string>& arguments) {
  // The desktop would mark a window that stops answering as not responding.
  const InputBlocker blocker;
  return publish::RunAndWait(program, arguments, {}, [] { QCoreApplication::processEvents(); });
}

QSize QtDesktopServices::ScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry().size() : QSize(1024, 768);
}

void QtDesktopServices::ClearClipboard() {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->clear();
}

}  // namespace quill::ui
