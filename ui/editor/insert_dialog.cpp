#include "ui/editor/insert_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/editor/frm_blog.h"

namespace quill::ui {

InsertDialog::InsertDialog(App& app, frmBlog& editor, const QString& object_name,
                           const QString& caption)
    : AppWindow(app, object_name, caption), editor_(editor) {
  auto* layout = new QVBoxLayout(this);
  body_ = new QVBoxLayout;
  layout->addLayout(body_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  const char* captions[] = {"Good", "Not!"};
  QFont bold("Verdana");
  bold.setBold(true);
  for (int i = 0; i < 2; ++i) {
    cmdNav[i] = new QPushButton(captions[i]);
    cmdNav[i]->setObjectName(QString("cmdNav_%1").arg(i));
    cmdNav[i]->setFont(bold);
    buttons->addWidget(cmdNav[i]);
  }
  layout->addLayout(buttons);
  connect(cmdNav[0], &QPushButton::clicked, this, [this] { Good(); });
  connect(cmdNav[1], &QPushButton::clicked, this, [this] { Close(); });
}

void InsertDialog::Ready() { Centre(); }

void InsertDialog::InsertAndClose(const QString& markup, int caret_back) {
  editor_.ReplaceSelection(markup);
  if (caret_back > 0) editor_.MoveCaretBack(caret_back);
  editor_.Highlight();
  Close();
}

void InsertDialog::Close() {
  editor_.FocusText();
  Unload();
}

void InsertDialog::Oops(const QString& text) { app_.Services().Oops(this, text); }

void InsertDialog::UseFontColor(QWidget* widget) const {
  QPalette colours = widget->palette();
  colours.setColor(QPalette::WindowText, ToQColor(app_.Project().FontColor));
  widget->setPalette(colours);
}

}  // namespace quill::ui
