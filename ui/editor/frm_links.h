#pragma once

#include <vector>

#include "check/link_check.h"
#include "ui/app_window.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quill::ui {

class frmBlog;

// "Links That Lead Nowhere": one line per problem the last check found. A double-click on a
// line that comes from an entry's text opens that entry in edit mode.
class frmLinks final : public AppWindow {
  Q_OBJECT

 public:
  frmLinks(App& app, frmBlog& editor);

  void Show(const std::vector<check::Finding>& problems);

 private:
  void Open(QListWidgetItem* item);

  frmBlog& editor_;
  QListWidget* List;
  QPushButton* cmdDone;
};

}  // namespace quill::ui
