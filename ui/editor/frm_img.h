#pragma once

#include <array>

#include "ui/editor/file_pick_dialog.h"

class QRadioButton;

namespace quill::ui {

// "Insert Image": a picture of the output folder in a box floated left or right.
class frmIMG final : public FilePickDialog {
  Q_OBJECT

 public:
  frmIMG(App& app, frmBlog& editor);

 private:
  void Good() override;

  std::array<QRadioButton*, 2> optPosit{};
};

}  // namespace quill::ui
