#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/app_window.h"
#include "ui/setup/setup_values.h"

class QFrame;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace quill::ui {

class AdvPage;
class BasicPage;
class SetupPage;
class ToolsPage;
class frmBlog;

// The project's setup: every setting on five pages (Basic, Adv, Tools, FTP, About), the
// output folder, the theme colours and the support files of the output folder.
class frmSetup final : public AppWindow {
  Q_OBJECT

 public:
  frmSetup(App& app, frmBlog& editor);

  int CurrentPage() const { return CurrentPage_; }
  // Recolours the dialog from the project's shading and font colours.
  void ColorMe();
  // Lists the support files, checking those missing from the saved output folder.
  void RefreshSupportFiles();

 protected:
  // The close box cancels, as "Not!" does.
  void CloseBoxClicked() override { Cancel(); }

 private:
  void BuildPages();
  void BuildButtons();
  void KeepControlColours();
  void Load();
  // What the pages show now.
  SetupValues Values() const;

  // Checks the Basic page first when leaving it, then shows the page.
  void SwitchPage(int index);
  void ShowPage(int index);
  void Help();
  void Apply();
  void Save();
  // After a change of title: offers to copy the entries kept under the old title to the new
  // one, when only the old one holds any.
  void OfferEntriesOf(const std::string& old_title);
  void Cancel();
  void Create();
  // After the first setup of a project: offers to bring entries in from another blog.
  static void OfferImport(App& app, frmBlog& editor);
  // Whether the folder and title shown are those saved; says why not when they are not.
  bool ShownIsSaved(const char* because);
  // Ends the dialog: the focus goes back to the editor's text.
  void Leave();
  // Tells the user a project needs a folder and a title, then ends the program.
  void CloseProgram(const QString& reason);

  frmBlog& editor_;
  std::int32_t WasShade_;
  std::int32_t WasFore_;

  // The pages, in the order of their options and frames; three of them have a say in what
  // the dialog does.
  std::array<SetupPage*, 5> pages_{};
  BasicPage* basic_;
  AdvPage* adv_;
  ToolsPage* tools_;

  std::array<QRadioButton*, 5> optSet{};
  std::array<QFrame*, 5> fram{};
  QStackedWidget* stack_;
  // Help, Save and Not!, beside every page.
  QPushButton* Command1;
  QPushButton* cmdSave;
  QPushButton* cmdExit;

  bool SetupLoaded_ = false;  // page switches check the Basic page once loading is done
  bool first_setup_ = false;  // the project had no template yet: it is being set up
  int CurrentPage_ = 0;
};

}  // namespace quill::ui
