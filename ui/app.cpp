#include "ui/app.h"

#include <QApplication>
#include <QFileInfo>
#include <QLockFile>

#include "core/text.h"
#include "publish/publish_rules.h"
#include "ui/editor/frm_blog.h"
#include "ui/interchange/frm_export.h"
#include "ui/interchange/frm_import.h"
#include "ui/setup/frm_setup.h"
#include "ui/start/frm_enter.h"

namespace quill::ui {

App::App(core::Registry& registry, const core::Clock& clock, DesktopServices& services,
         QString app_folder, QString lock_path, std::string state_folder)
    : session_(registry, clock),
      drafts_(std::move(state_folder)),
      services_(services),
      clock_(clock),
      app_folder_(std::move(app_folder)),
      lock_path_(std::move(lock_path)),
      quit_([] { QCoreApplication::quit(); }) {}

App::~App() {
  Entries().CloseBlogDatabase();
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) delete it->data();
}

bool App::StartProgram(const QString& project) {
  if (!lock_) {
    auto lock = std::make_unique<QLockFile>(lock_path_);
    lock->setStaleLockTime(0);  // a lock is stale only when its process is gone
    if (!lock->tryLock(0)) {
      services_.ShowMessage(nullptr, "Oops!", "Program is already running!",
                            MessageIcon::Information, MessageButtons::Ok);
      Quit();
      return false;
    }
    lock_ = std::move(lock);
  }

  uploader_path_ = QString::fromStdString(publish::UploaderPath(app_folder_.toStdString()));
  uploader_present_ = QFileInfo(uploader_path_).isFile();

  auto* chooser = new frmEnter(*this);
  const bool opened = !project.isEmpty() && chooser->OpenListed(project);
  if (!opened) {
    chooser->show();
    chooser->activateWindow();
    chooser->raise();
  }

  QCoreApplication::processEvents();
  services_.ClearClipboard();
  if (!opened && !project.isEmpty()) {
    services_.Oops(chooser, "There is no project named \"" + project.trimmed() + "\".");
  }
  return true;
}

void App::OpenProject(const QString& name) { session_.Load(core::Trim(name.toStdString())); }

void App::CloseAllWindows(bool restart) {
  if (frmBlog* editor = Editor()) editor->KeepDraft();
  Entries().CloseBlogDatabase();
  const auto windows = windows_;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (QWidget* window = it->data()) {
      if (!window->isEnabled()) window->setEnabled(true);
      if (window->isVisible()) window->hide();
      Unload(window);
    }
  }
  if (restart) {
    StartProgram();
  } else {
    Quit();
  }
}

void App::WindowLoaded(QWidget* window) { windows_.emplace_back(window); }

void App::Unload(QWidget* window) {
  std::erase_if(windows_, [&](const QPointer<QWidget>& w) { return w.isNull() || w == window; });
  window->hide();
  window->deleteLater();  // it may be running one of its own handlers right now
}

void App::WindowClosedByUser(QWidget* window) {
  Unload(window);
  const bool others_open = std::any_of(windows_.begin(), windows_.end(),
                                       [](const auto& w) { return !w.isNull() && w->isVisible(); });
  if (!others_open) CloseAllWindows(false);
}

template <class Window>
Window* App::Find() const {
  for (const auto& window : windows_) {
    if (auto* found = qobject_cast<Window*>(window.data())) return found;
  }
  return nullptr;
}

frmEnter* App::Chooser() const { return Find<frmEnter>(); }
frmBlog* App::Editor() const { return Find<frmBlog>(); }

frmBlog* App::OpenEditor() {
  auto* editor = new frmBlog(*this);
  editor->show();
  editor->activateWindow();
  editor->raise();
  return editor;
}

void App::OpenSetupDialog() {
  frmBlog* editor = Editor();
  if (editor == nullptr) return;
  frmSetup* setup = Find<frmSetup>();
  if (setup == nullptr) setup = new frmSetup(*this, *editor);
  setup->show();
  setup->raise();
  setup->activateWindow();
}

template <class Window>
void App::Show() {
  Window* window = Find<Window>();
  if (window == nullptr) window = new Window(*this);
  window->show();
  window->raise();
  window->activateWindow();
}

void App::OpenImportWindow() { Show<frmImport>(); }
void App::OpenExportWindow() { Show<frmExport>(); }

void App::Centre(QWidget* window) const {
  const QSize screen = services_.ScreenSize();
  window->move((screen.width() - window->width()) / 2, (screen.height() - window->height()) / 2);
}

void App::Quit() {
  if (quit_) quit_();
}

}  // namespace quill::ui
