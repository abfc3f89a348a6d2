#include "ui/editor/frm_html.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/editor/exact_text.h"
#include "ui/editor/frm_blog.h"

namespace quill::ui {

frmHtml::frmHtml(App& app, frmBlog& editor)
    : InsertDialog(app, editor, "frmHtml", "Manual HTML Code") {
  Text1 = new QPlainTextEdit;
  Text1->setObjectName("Text1");
  Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Text1->setMinimumSize(480, 240);
  Text1->setPlainText(editor_.SelectedText());
  Body()->addWidget(Text1);
  Ready();
}

void frmHtml::Good() { InsertAndClose(ExactText(*Text1)); }

}  // namespace quill::ui
