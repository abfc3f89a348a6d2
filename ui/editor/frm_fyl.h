#pragma once

#include "ui/editor/file_pick_dialog.h"

namespace quill::ui {

// "Insert a File": a download link to a document, archive or sound file of the output
// folder.
class frmFYL final : public FilePickDialog {
  Q_OBJECT

 public:
  frmFYL(App& app, frmBlog& editor);

 private:
  void Good() override;
};

}  // namespace quill::ui
