#pragma once

#include "ui/editor/markup.h"

namespace quill::ui {

class frmBlog;

// Puts `body` between the wrapping's tags in place of the editor's selection, on a line of
// its own where the wrapping's placement asks for one (a line break goes before it when text
// stands before it on its line, and after it when text follows). With `caret_inside` the
// caret then stands before the closing tag, ready for typing; otherwise after the insertion.
void InsertMarkup(frmBlog& editor, const Wrapping& wrapping, const QString& body,
                  bool caret_inside);

}  // namespace quill::ui
