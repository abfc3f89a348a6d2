#pragma once

#include "ui/app_window.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace quill::ui {

// Brings entries into the open project from a WordPress export or a saved RSS or Atom feed:
// the file, whether drafts come too, whether entries of the same date are replaced, and a
// folder to copy the posts' pictures from. Count tells what would come in; Import brings it.
class frmImport final : public AppWindow {
  Q_OBJECT

 public:
  explicit frmImport(App& app);

 private:
  void ChooseFile();
  void ChoosePictures();
  // Imports, or with `dry_run` only counts, and shows the report.
  void Run(bool dry_run);

  QLabel* lblFile;
  QPushButton* cmdFile;
  QCheckBox* chkDrafts;
  QCheckBox* chkReplace;
  QLabel* lblImages;
  QPushButton* cmdImages;
  QPushButton* cmdCount;
  QPushButton* cmdImport;
  QPushButton* cmdClose;
};

}  // namespace quill::ui
