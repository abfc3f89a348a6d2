#pragma once

#include "ui/editor/insert_dialog.h"

class QPlainTextEdit;

namespace quill::ui {

// "Manual HTML Code": markup typed or edited by hand, unescaped, in place of the selection.
class frmHtml final : public InsertDialog {
  Q_OBJECT

 public:
  frmHtml(App& app, frmBlog& editor);

 private:
  void Good() override;

  QPlainTextEdit* Text1;
};

}  // namespace quill::ui
