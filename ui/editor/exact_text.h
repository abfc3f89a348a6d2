#pragma once

#include <QString>
#include <string>

class QPlainTextEdit;

namespace quill::ui {

// Every character in the text box as the user has it. QPlainTextEdit::toPlainText() turns
// no-break spaces into plain ones; this reads the document's own characters and maps only
// the paragraph separators between its lines to line feeds.
QString ExactText(const QPlainTextEdit& box);

// The text box shows line breaks as the toolkit has them; entries keep them as CR LF.
std::string ToStored(const QString& text);
QString FromStored(const std::string& text);

}  // namespace quill::ui
