#pragma once

#include <array>

#include "ui/editor/file_pick_dialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

namespace quill::ui {

// "Insert Image": a picture of the output folder in a box floated left or right, with a
// description for readers who cannot see it.
class frmIMG final : public FilePickDialog {
  Q_OBJECT

 public:
  frmIMG(App& app, frmBlog& editor);

 private:
  void Good() override;

  // Without a description the picture goes in only when the user says so.
  bool DescribedOrAccepted();

  std::array<QRadioButton*, 2> optPosit{};
  QLabel* lblAlt;
  QLineEdit* txtAlt;
};

}  // namespace quill::ui
