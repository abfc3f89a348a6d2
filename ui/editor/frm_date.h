#pragma once

#include <array>

#include "ui/app_window.h"

class QDateEdit;
class QPushButton;

namespace quill::core {
struct Stamp;
}

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
