#pragma once

#include <array>

#include "ui/editor/insert_dialog.h"

class QComboBox;
class QLabel;

namespace quill::ui {

class ColorPicker;

// "Change Font": wraps the selection in a font element with a face, size and colour.
class frmFont final : public InsertDialog {
  Q_OBJECT

 public:
  frmFont(App& app, frmBlog& editor);

 private:
  void Good() override;

  std::array<QLabel*, 3> Label1{};
  QComboBox* Combo1;
  QComboBox* Combo2;
  ColorPicker* ColorPicker1;
};

}  // namespace quill::ui
