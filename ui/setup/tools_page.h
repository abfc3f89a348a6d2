#pragma once

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "ui/setup/setup_page.h"

class QComboBox;
class QFrame;
class QListWidget;
class QPushButton;

namespace quill::ui {

class ColorPicker;
class DesktopServices;

// "Tools": the theme colours with their preview, the pages' file name, the support files
// of the output folder, and bringing entries in from other blogs and taking them out.
class ToolsPage final : public SetupPage {
  Q_OBJECT

 public:
  explicit ToolsPage(DesktopServices& services);

  void Load(const SetupValues& values) override;
  void Save(SetupValues& values) const override;
  // Also sets the pickers to the project's colours: "Apply" waits for a change of either.
  void ColorMe(const Shades& shades) override;
  Shades Picked() const;

  // Lists the support files, checking those missing from `folder`.
  void ListSupportFiles(const std::string& folder, bool comment_page, bool html5);
  std::vector<QString> CheckedSupportFiles() const;
  void CheckSupportFile(const QString& name, bool checked);
  // Both stylesheets carry the colours, so both are to be written again.
  void CheckStylesheets();
  // Takes the user to the page file name, all of it selected.
  void FocusFileNames();

 signals:
  void ApplyClicked();
  void CreateClicked();
  void ImportClicked();
  void ExportClicked();

 private:
  void BuildPreview();
  void PickerChanged();
  void FileNameEdited();
  void AddFileName();
  void UpdateCreateButton();
  // The chosen entry as listed, or the typed text trimmed.
  QString PageFileName() const;

  DesktopServices& services_;
  Shades applied_{};
  ColorPicker* ClrBack;
  ColorPicker* ClrFont;
  QFrame* Label1;
  std::array<QLabel*, 3> Label4{};
  QPushButton* cmdApply;
  QComboBox* Combo3;
  QPushButton* cmdAdd;
  QCheckBox* Check1;
  QListWidget* List1;
  QLineEdit* txtImageWidth;
  QPushButton* cmdMake;
  QPushButton* cmdImport;
  QPushButton* cmdExport;
};

}  // namespace quill::ui
