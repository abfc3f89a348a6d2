#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/draft_store.h"
#include "project/project_session.h"
#include "ui/desktop_services.h"
#include "ui/spelling.h"

class QLockFile;

namespace quill::core {
class Clock;
class Registry;
}  // namespace quill::core

namespace quill::ui {

class frmBlog;
class frmEnter;

// The running program: the open project's settings and entries, the desktop services, the
// application folder and the uploader found there, and the windows that are loaded. One
// instance per run, passed to every window; tests make as many as they like.
class App {
 public:
  // `lock_path` names the lock file that keeps a second copy of the program from running;
  // unsaved text is kept in drafts below `state_folder`.
  App(core::Registry& registry, const core::Clock& clock, DesktopServices& services,
      QString app_folder, QString lock_path, std::string state_folder);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  project::ProjectSession& Session() { return session_; }
  core::SettingsStore& Settings() { return session_.Settings(); }
  core::ProjectSettings& Project() { return session_.Project(); }
  store::EntryStore& Entries() { return session_.Entries(); }
  core::DraftStore& Drafts() { return drafts_; }
  DesktopServices& Services() { return services_; }
  ui::Spelling& Spelling() { return spelling_; }
  const core::Clock& Clock() const { return clock_; }

  // The program's folder, ending with a directory separator.
  const QString& AppFolder() const { return app_folder_; }
  const QString& UploaderPath() const { return uploader_path_; }
  bool UploaderPresent() const { return uploader_present_; }

  // Shows the project chooser. A second copy of the program says so and ends instead;
  // false then. With `project`, opens that project as if chosen in the chooser; a project
  // that is not listed gets "Oops!" and the chooser.
  bool StartProgram(const QString& project = {});
  // Makes `name` (trimmed) the open project and loads its settings.
  void OpenProject(const QString& name);
  // Closes the entry database and unloads every window, newest first; then shows the
  // chooser again, or ends the program.
  void CloseAllWindows(bool restart);

  // Windows join the list when they load and leave it when they unload.
  void WindowLoaded(QWidget* window);
  void Unload(QWidget* window);
  // A window closed with its close box unloads; when no other window is left open, the
  // program ends.
  void WindowClosedByUser(QWidget* window);

  frmEnter* Chooser() const;
  frmBlog* Editor() const;
  // Loads the main window for the open project and shows it.
  frmBlog* OpenEditor();
  // The project's setup dialog beside the main window; one at a time.
  void OpenSetupDialog();
  // The windows that bring entries in and take them out; one of each at a time.
  void OpenImportWindow();
  void OpenExportWindow();

  // Centres a window on the screen.
  void Centre(QWidget* window) const;

  // Whether the editing area had nothing selected at the most recent toolbar click; the
  // alignment and font dialogs read it when they are confirmed.
  bool SelectionWasEmpty = true;

  // How the program ends; QApplication::quit unless a test says otherwise.
  void SetQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }
  void Quit();

 private:
  template <class Window>
  Window* Find() const;
  // Shows the window of that kind, loading it first when it is not loaded.
  template <class Window>
  void Show();

  project::ProjectSession session_;
  core::DraftStore drafts_;
  ui::Spelling spelling_;
  DesktopServices& services_;
  const core::Clock& clock_;
  QString app_folder_;
  QString uploader_path_;
  bool uploader_present_ = false;
  QString lock_path_;
  std::unique_ptr<QLockFile> lock_;
  std::vector<QPointer<QWidget>> windows_;
  std::function<void()> quit_;
};

}  // namespace quill::ui
