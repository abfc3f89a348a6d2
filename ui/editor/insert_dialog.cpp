#include "ui/editor/insert_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/markup_insertion.h"

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

void InsertDialog::InsertAndClose(const Wrapping& markup) {
  InsertMarkup(editor_, markup, {}, false);
  editor_.Highlight();
  Close();
}

void InsertDialog::InsertWrapped(const Wrapping& wrapping, const QString& body) {
  if (!wrapping.open.isEmpty()) InsertMarkup(editor_, wrapping, body, app_.SelectionWasEmpty);
  editor_.Highlight();
  Close();
}

bool InsertDialog::Html5() const { return app_.Project().Html5 == 1; }

void InsertDialog::Close() {
  editor_.FocusText();
  Unload();
}

void InsertDialog::UseFontColor(QWidget* widget) const {
  Paint(widget, QPalette::WindowText, ToQColor(app_.Project().FontColor));
}

}  // namespace quill::ui
