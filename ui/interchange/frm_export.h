#pragma once

#include "ui/app_window.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quill::ui {

// Writes every entry of the open project into a folder, for Hugo or for Zola, replacing
// files already there only when asked.
class frmExport final : public AppWindow {
  Q_OBJECT

 public:
  explicit frmExport(App& app);

 private:
  void ChooseFolder();
  void Run();

  QRadioButton* optHugo;
  QRadioButton* optZola;
  QLabel* lblFolder;
  QPushButton* cmdFolder;
  QCheckBox* chkForce;
  QPushButton* cmdExport;
  QPushButton* cmdClose;
};

}  // namespace quill::ui
