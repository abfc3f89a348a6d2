#include "ui/editor/frm_img.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/clock.h"
#include "ui/app.h"
#include "ui/editor/entry_text_box.h"
#include "ui/editor/image_intake.h"
#include "ui/editor/markup.h"
#include "ui/qt_text.h"

namespace quill::ui {

frmIMG::frmIMG(App& app, frmBlog& editor)
    : FilePickDialog(app, editor, "frmIMG", "Insert Image",
                     {"*.gif", "*.jpg", "*.jpeg", "*.png", "*.webp", "*.svg"}, "Image Files") {
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
  intake_ = new ImageIntake(app.Services(), app.Project().ImageWidth);
  Body()->addWidget(intake_);
  Ready();
}

// A file of the folder chosen after a picture from elsewhere: the picture is forgotten.
void frmIMG::Picked() { intake_->Clear(); }

void frmIMG::Bring(const QString& source, const QString&) {
  if (intake_->TakeFile(source)) File1->clearSelection();
}

void frmIMG::TakePicture(const ArrivingPicture& picture) {
  if (!picture.path.isEmpty()) {
    const QFileInfo file(picture.path);
    if (file.absolutePath() == QFileInfo(OutputFolder()).absolutePath() &&
        !OutputFolder().isEmpty())
      Pick(file.fileName());
    else
      Bring(picture.path, {});
    return;
  }
  const core::Stamp now = app_.Clock().Now();
  const QString stamp = QString::asprintf("%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day,
                                          now.hour, now.minute, now.second);
  const PastedImage pasted = EncodePasted(picture.image, stamp);
  if (intake_->TakeBytes(PastedName(pasted.name), pasted.bytes)) File1->clearSelection();
}

QString frmIMG::PastedName(const QString& name) const {
  const QFileInfo info(name);
  QString candidate = name;
  for (int n = 2; QFileInfo::exists(OutputFolder() + candidate); ++n) {
    candidate = info.completeBaseName() + QString("-%1.").arg(n) + info.suffix();
  }
  return candidate;
}

void frmIMG::Good() {
  if (!intake_->HasImage() && PickedFile().trimmed().isEmpty()) {
    Oops("Image file not selected");
    return;
  }
  if (intake_->HasImage() && OutputFolder().isEmpty()) {
    Oops("The project has no output folder yet; choose one in the setup dialog.");
    return;
  }
  if (!DescribedOrAccepted()) return;
  QString name = PickedFile();
  if (intake_->HasImage()) {
    const std::optional<QString> placed = intake_->Place(OutputFolder());
    if (!placed) return;
    name = *placed;
  }
  const QString box = optPosit[0]->isChecked() ? "LBox" : "RBox";
  InsertAndClose(ImageMarkup(box, ImageAddress(name), Trimmed(txtAlt->text()), Html5()));
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
