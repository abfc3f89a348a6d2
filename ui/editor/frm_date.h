#pragma once

#include <array>

// The window base first: it brings Qt in before the standard headers moc reads.
#include "ui/app_window.h"
#include "core/stamp.h"

class QDateEdit;
class QPushButton;

namespace quill::ui {

class frmBlog;

// "Change Date": moves the entry under edit to another day, keeping its time of day.
class frmDate final : public AppWindow {
  Q_OBJECT

 public:
  frmDate(App& app, frmBlog& editor);
  // The day the picker shows when the dialog opens.
  void SetDay(const core::Stamp& day);

 private:
  void Save();

  frmBlog& editor_;
  QDateEdit* DTPicker1;
  std::array<QPushButton*, 2> cmdNav{};  // 0 "Not!", 1 "Save"
};

}  // namespace quill::ui
