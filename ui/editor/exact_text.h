#pragma once

#include <QString>

class QPlainTextEdit;

namespace quill::ui {

// Every character in the text box as the user has it. QPlainTextEdit::toPlainText() turns
// no-break spaces into plain ones; this reads the document's own characters and maps only
// the paragraph separators between its lines to line feeds.
QString ExactText(const QPlainTextEdit& box);

}  // namespace quill::ui
