#include "ui/editor/frm_img.h"

#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quill::ui {

frmIMG::frmIMG(App& app, frmBlog& editor)
    : FilePickDialog(app, editor, "frmIMG", "Insert Image", {"*.gif", "*.jpg", "*.jpeg"},
                     "Image Files") {
  auto* positions = new QHBoxLayout;
  const char* captions[] = {"Left", "Right"};
  for (int i = 0; i < 2; ++i) {
    optPosit[i] = new QRadioButton(captions[i]);
    optPosit[i]->setObjectName(QString("optPosit_%1").arg(i));
    positions->addWidget(optPosit[i]);
  }
  optPosit[0]->setChecked(true);
  Body()->insertLayout(0, positions);
  Ready();
}

void frmIMG::Good() {
  if (PickedFile().trimmed().isEmpty()) {
    Oops("Image file not selected");
    return;
  }
  const QString box = optPosit[0]->isChecked() ? "LBox" : "RBox";
  InsertAndClose("<div class=\"" + box + "\"><img src=\"" + PickedFile() + "\" /></div>");
}

}  // namespace quill::ui
