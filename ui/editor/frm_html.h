#pragma once

#include "ui/editor/insert_dialog.h"

class QPlainTextEdit;

namespace quill::ui {

// "Manual HTML Code": markup typed or edited by hand, unescaped, in place of the selection.
class frmHtml final : public InsertDialog {
  Q_OBJECT

 public:
  frmHtml(App& app, frmBlog& editor);

 protected:
  // Tab types a tab in the code; Ctrl+Tab and Ctrl+Shift+Tab leave it, as in the entry text.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Good() override;

  QPlainTextEdit* Text1;
};

}  // namespace quill::ui
