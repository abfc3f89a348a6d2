#pragma once

#include <array>

#include "ui/editor/file_pick_dialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace quill::ui {

class ImageIntake;
struct ArrivingPicture;

// "Insert Image": a picture of the output folder in a box floated left or right. A picture
// from elsewhere ("...", pasted or dropped on the text box) is made ready for the web and
// copied into the folder when "Good" inserts it, with a
// description for readers who cannot see it.
class frmIMG final : public FilePickDialog {
  Q_OBJECT

 public:
  frmIMG(App& app, frmBlog& editor);

  // Makes a picture pasted or dropped on the text box the one "Good" inserts.
  void TakePicture(const ArrivingPicture& picture);

 private:
  void Good() override;
  void Bring(const QString& source, const QString& dest) override;
  void Picked() override;
  // The name a pasted picture is saved under: after the time, never one the folder has.
  QString PastedName(const QString& name) const;

  // Without a description the picture goes in only when the user says so.
  bool DescribedOrAccepted();

  std::array<QRadioButton*, 2> optPosit{};
  QLabel* lblAlt;
  QLineEdit* txtAlt;
  ImageIntake* intake_;
};

}  // namespace quill::ui
