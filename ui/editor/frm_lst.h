#pragma once

#include "ui/editor/insert_dialog.h"

class QLineEdit;
class QListWidget;

namespace quill::ui {

// "List Editor": builds a bulleted or numbered list item by item.
class frmLst final : public InsertDialog {
  Q_OBJECT

 public:
  frmLst(App& app, frmBlog& editor);
  // Makes the list a "<ul>" or "<ol>" one.
  void Setup(const QString& What);
  const QString& ListTag() const { return ListTag_; }

 private:
  void Add();
  void Remove();
  void Good() override;

  QLineEdit* Text1;
  QPushButton* cmdAdd;
  QListWidget* List1;
  QPushButton* Command1;
  QString ListTag_;
};

}  // namespace quill::ui
