#include "ui/editor/frm_fyl.h"

namespace quill::ui {

frmFYL::frmFYL(App& app, frmBlog& editor)
    : FilePickDialog(app, editor, "frmFYL", "Insert a File", {"*.pdf", "*.zip", "*.rar", "*.mp3"},
                     "Files") {
  Ready();
}

void frmFYL::Good() {
  const QString& file = PickedFile();
  if (file.trimmed().isEmpty()) {
    Oops("File not selected");
    return;
  }
  // Documents open in a window of their own; archives and sounds download.
  const bool document = file.right(3).toLower().trimmed() == "pdf";
  InsertAndClose("<a href=\"" + file + "\"" + (document ? " target=\"_blank\"" : "") + ">" + file +
                 "</a>");
}

}  // namespace quill::ui
