#pragma once

#include <QStringList>

#include "ui/editor/insert_dialog.h"

class QListWidget;

namespace quill::ui {

// A dialog that links a file of the output folder: its list shows the folder's files of
// the dialog's kinds, and "..." brings a file from elsewhere into the folder.
class FilePickDialog : public InsertDialog {
  Q_OBJECT

 public:
  // `patterns` such as {"*.gif", "*.jpg"}; `filter_name` names them in the file dialog.
  FilePickDialog(App& app, frmBlog& editor, const QString& object_name, const QString& caption,
                 QStringList patterns, const QString& filter_name);

  // The bare name of the file last clicked in the list; empty until one is.
  const QString& PickedFile() const { return PickedFile_; }

 protected:
  void RefreshList();
  // Takes the file chosen in the open-file dialog: one from elsewhere goes to Bring, one of
  // the output folder is picked as if clicked in the list.
  void BringFile();
  // Copies `source` into the output folder as `dest`.
  virtual void Bring(const QString& source, const QString& dest);
  // Picks a file of the output folder, as a click on it in the list does.
  void Pick(const QString& name);
  // What a dialog does besides noting the name when a file of the list is picked, by a
  // click or by Pick.
  virtual void Picked() {}
  QString OutputFolder() const;

  QListWidget* File1;
  QPushButton* cmdTemp;

 private:
  QStringList patterns_;
  QString filter_;
  QString PickedFile_;
};

}  // namespace quill::ui
