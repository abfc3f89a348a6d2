#pragma once

#include <QWidget>
#include <array>

#include "core/stamp.h"

class QDateEdit;
class QCloseEvent;
class QPushButton;

namespace quill::ui {

class App;
class frmBlog;

// "Change Date": moves the entry under edit to another day, keeping its time of day.
class frmDate final : public QWidget {
  Q_OBJECT

 public:
  frmDate(App& app, frmBlog& editor);
  // The day the picker shows when the dialog opens.
  void SetDay(const core::Stamp& day);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Save();
  void Unload();

  App& app_;
  frmBlog& editor_;
  QDateEdit* DTPicker1;
  std::array<QPushButton*, 2> cmdNav{};  // 0 "Not!", 1 "Save"
  bool unloaded_ = false;
};

}  // namespace quill::ui
