#pragma once

#include <array>
#include <functional>
#include <string>

#include "ui/setup/setup_page.h"

class QComboBox;
class QFrame;
class QPushButton;
class QRadioButton;

namespace quill::core {
class Clock;
}

namespace quill::ui {

class DesktopServices;

// "Basic": the title, the output folder, how dates and times look, the largest page.
class BasicPage final : public SetupPage {
 public:
  // `saved_folder` tells the project's output folder as saved, where choosing one starts.
  BasicPage(DesktopServices& services, const core::Clock& clock,
            std::function<std::string()> saved_folder);

  void Load(const SetupValues& values) override;
  void Save(SetupValues& values) const override;
  // The output folder shown, which need not be saved yet.
  std::string Folder() const;

 private:
  // The lists show what each choice looks like today, now.
  void ListFormats();
  // Where choosing the folder starts: the saved output folder while it is there, else the
  // user's home folder (never the folder the program was started from).
  QString StartFolder() const;
  // Asks for the output folder until the user picks one or gives up; a folder holding files
  // is taken only when the user says so, and a missing one once the user had it made.
  void ChooseFolder();
  // Offers to make a folder that is not there, with the folders above it; true once it is.
  bool MadeFolder(const QString& folder);

  DesktopServices& services_;
  const core::Clock& clock_;
  std::function<std::string()> saved_folder_;
  QLineEdit* txtTitle;
  QLabel* lblTemp;
  QPushButton* cmdTemp;
  QComboBox* Combo1;
  QComboBox* Combo2;
  QFrame* Frame1;
  std::array<QRadioButton*, 3> optDT{};
  QCheckBox* chkTime;
  QLineEdit* txtPage;
};

}  // namespace quill::ui
