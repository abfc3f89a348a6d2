#include "ui/editor/markup_insertion.h"

#include "ui/editor/frm_blog.h"

namespace quill::ui {

void InsertMarkup(frmBlog& editor, const Wrapping& wrapping, const QString& body,
                  bool caret_inside) {
  QString before;
  QString after;
  if (wrapping.placement != Placement::Inline) {
    const auto [text_before, text_after] = editor.TextBesideSelection();
    if (text_before) before = "\n";
    if (text_after) after = "\n";
  }
  editor.ReplaceSelection(before + Wrapped(wrapping, body) + after);
  if (caret_inside) editor.MoveCaretBack(static_cast<int>(wrapping.close.size() + after.size()));
}

}  // namespace quill::ui
