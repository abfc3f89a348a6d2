#include "ui/editor/frm_div.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/app.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/markup.h"

namespace quill::ui {

frmDiv::frmDiv(App& app, frmBlog& editor)
    : InsertDialog(app, editor, "frmDiv", "Insert Alignment") {
  const char* captions[] = {"Left", "Right", "Center"};
  for (int i = 0; i < 3; ++i) {
    optPosit[i] = new QRadioButton(captions[i]);
    optPosit[i]->setObjectName(QString("optPosit_%1").arg(i));
    connect(optPosit[i], &QRadioButton::clicked, this, [this, i] { Choose(i); });
  }
  auto* options = new QHBoxLayout;
  for (int i : {0, 2, 1}) options->addWidget(optPosit[i]);  // left, center, right
  Label1 = new QLabel("Sample Text");
  Label1->setObjectName("Label1");
  Label1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Label1->setFont(QFont("Verdana", 12));
  // Room to see where the sample goes, at whatever size the font is drawn.
  const QFontMetrics sample = Label1->fontMetrics();
  Label1->setMinimumSize(sample.horizontalAdvance(Label1->text()) * 3, sample.height() * 3);
  Body()->addLayout(options);
  Body()->addWidget(Label1);
  optPosit[0]->setChecked(true);
  Choose(0);
  Ready();
}

void frmDiv::Choose(int index) {
  static constexpr const char* kWords[] = {"left", "right", "center"};
  static constexpr Qt::Alignment kAlignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
  AlignWord_ = kWords[index];
  Label1->setAlignment(kAlignments[index] | Qt::AlignVCenter);
}

void frmDiv::Good() {
  InsertWrapped(AlignmentWrapping(AlignWord_, Html5()), editor_.SelectedText());
}

}  // namespace quill::ui
