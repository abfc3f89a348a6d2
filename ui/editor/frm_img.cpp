#include "ui/editor/frm_img.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/app.h"
#include "ui/editor/markup.h"
#include "ui/qt_text.h"

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
  lblAlt = new QLabel("Description for readers who cannot see it:");
  lblAlt->setObjectName("lblAlt");
  UseFontColor(lblAlt);
  txtAlt = new QLineEdit;
  txtAlt->setObjectName("txtAlt");
  lblAlt->setBuddy(txtAlt);
  Body()->addWidget(lblAlt);
  Body()->addWidget(txtAlt);
  Ready();
}

void frmIMG::Good() {
  if (PickedFile().trimmed().isEmpty()) {
    Oops("Image file not selected");
    return;
  }
  if (!DescribedOrAccepted()) return;
  const QString box = optPosit[0]->isChecked() ? "LBox" : "RBox";
  InsertAndClose(ImageMarkup(box, PickedFile(), Trimmed(txtAlt->text()), Html5()));
}

bool frmIMG::DescribedOrAccepted() {
  if (!Trimmed(txtAlt->text()).isEmpty()) return true;
  const MessageAnswer answer = app_.Services().ShowMessage(
      this, "Insert Image",
      "An image without a description is skipped by screen readers. Insert it anyway?",
      MessageIcon::Question, MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) return true;
  txtAlt->setFocus();
  return false;
}

}  // namespace quill::ui
