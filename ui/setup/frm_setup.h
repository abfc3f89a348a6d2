#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/app_window.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace quill::ui {

class ColorPicker;
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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildBasic();
  QWidget* BuildAdv();
  QWidget* BuildTools();
  QWidget* BuildFtp();
  QWidget* BuildAbout();
  QLabel* Caption(int index, const QString& text);
  void Load();

  // Checks the Basic page first when leaving it, then shows the page.
  void SwitchPage(int index);
  void ShowPage(int index);
  void Help();
  void ShowRssFields();
  void ShowFtpFields();
  void PickerChanged();
  void Apply();
  void FileNameEdited();
  void AddFileName();
  void UpdateCreateButton();
  void ChooseFolder();
  void Save();
  // After a change of title: offers to copy the entries kept under the old title to the new
  // one, when only the old one holds any.
  void OfferEntriesOf(const std::string& old_title);
  void Cancel();
  void Create();
  // Ends the dialog: the focus goes back to the editor's text.
  void Leave();
  // Tells the user a project needs a folder and a title, then ends the program.
  void CloseProgram(const QString& reason);
  QString PageFileName() const;

  frmBlog& editor_;
  std::int32_t WasShade;
  std::int32_t WasFore;
  bool SetupLoaded = false;
  int CurrentPage_ = 0;

  std::array<QRadioButton*, 5> optSet{};
  std::array<QFrame*, 5> fram{};
  QStackedWidget* pages_;
  QPushButton* Command1;
  QPushButton* cmdSave;
  QPushButton* cmdExit;
  std::array<QLabel*, 18> Label2{};

  QLineEdit* txtTitle;
  QLabel* lblTemp;
  QPushButton* cmdTemp;
  QComboBox* Combo1;
  QComboBox* Combo2;
  QFrame* Frame1;
  std::array<QRadioButton*, 3> optDT{};
  QCheckBox* chkTime;
  QLineEdit* txtPage;

  QLineEdit* txtSite;
  QLineEdit* txtEditor;
  QCheckBox* chkTell;
  QCheckBox* chkNews;
  QLineEdit* txtDocs;
  QLineEdit* txtNews;

  ColorPicker* ClrBack;
  ColorPicker* ClrFont;
  QFrame* Label1;
  std::array<QLabel*, 3> Label4{};
  QPushButton* cmdApply;
  QComboBox* Combo3;
  QPushButton* cmdAdd;
  QCheckBox* Check1;
  QListWidget* List1;
  QPushButton* cmdMake;

  QCheckBox* chkSync;
  QLineEdit* txtHost;
  QLineEdit* txtUser;
  QLineEdit* txtPass;
  QLineEdit* txtPath;

  std::array<QLabel*, 7> lblAbout{};
};

}  // namespace quill::ui
