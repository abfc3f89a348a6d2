#include "ui/editor/frm_html.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/editor/exact_text.h"
#include "ui/editor/frm_blog.h"
#include "ui/tab_order.h"

namespace quill::ui {

frmHtml::frmHtml(App& app, frmBlog& editor)
    : InsertDialog(app, editor, "frmHtml", "Manual HTML Code") {
  Text1 = new QPlainTextEdit;
  Text1->setObjectName("Text1");
  Text1->setAccessibleName("HTML code");
  Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text1->setMinimumSize(480, 240);
  Text1->setPlainText(editor_.SelectedText());
  Text1->installEventFilter(this);
  Body()->addWidget(Text1);
  Ready();
}

bool frmHtml::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Text1 && event->type() == QEvent::KeyPress) {
    if (const auto forward = LeavesTextBox(*static_cast<QKeyEvent*>(event))) {
      focusNextPrevChild(*forward);
      return true;
    }
  }
  return InsertDialog::eventFilter(watched, event);
}

void frmHtml::Good() { InsertAndClose(ExactText(*Text1)); }

}  // namespace quill::ui
