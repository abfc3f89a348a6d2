#pragma once

#include <array>

#include "ui/editor/insert_dialog.h"

class QLabel;
class QRadioButton;

namespace quill::ui {

// "Insert Alignment": centres or right-aligns the selection.
class frmDiv final : public InsertDialog {
  Q_OBJECT

 public:
  frmDiv(App& app, frmBlog& editor);
  const QString& AlignWord() const { return AlignWord_; }

 private:
  void Choose(int index);
  void Good() override;

  std::array<QRadioButton*, 3> optPosit{};  // 0 left, 1 right, 2 center
  QLabel* Label1;
  QString AlignWord_;
};

}  // namespace quill::ui
