#include "ui/editor/insert_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/editor/frm_blog.h"

namespace quill::ui {

InsertDialog::InsertDialog(App& app, frmBlog& editor, const QString& object_name,
                           const QString& caption)
    : app_(app), editor_(editor) {
  setObjectName(object_name);
  setWindowTitle(caption);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(app_.Project().Shading));
  setPalette(colours);
  setAutoFillBackground(true);

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
  app_.WindowLoaded(this);
}

void InsertDialog::Ready() {
  adjustSize();
  app_.Centre(this);
}

void InsertDialog::InsertAndClose(const QString& markup, int caret_back) {
  editor_.ReplaceSelection(markup);
  if (caret_back > 0) editor_.MoveCaretBack(caret_back);
  editor_.Highlight();
  Close();
}

void InsertDialog::Close() {
  closing_ = true;
  editor_.FocusText();
  app_.Unload(this);
}

void InsertDialog::Oops(const QString& text) { app_.Services().Oops(this, text); }

void InsertDialog::UseFontColor(QWidget* widget) const {
  QPalette colours = widget->palette();
  colours.setColor(QPalette::WindowText, ToQColor(app_.Project().FontColor));
  widget->setPalette(colours);
}

void InsertDialog::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!closing_) Close();  // the close box cancels, like "Not!"
}

}  // namespace quill::ui
