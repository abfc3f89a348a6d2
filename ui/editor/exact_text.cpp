#include "ui/editor/exact_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace quill::ui {

QString ExactText(const QPlainTextEdit& box) {
  return box.document()->toRawText().replace(QChar::ParagraphSeparator, QChar('\n'));
}

}  // namespace quill::ui
