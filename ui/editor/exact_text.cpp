#include "ui/editor/exact_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "core/text.h"
#include "ui/qt_text.h"

namespace quill::ui {

QString ExactText(const QPlainTextEdit& box) {
  return box.document()->toRawText().replace(QChar::ParagraphSeparator, QChar('\n'));
}

std::string ToStored(const QString& text) {
  return core::ReplaceAll(text.toStdString(), "\n", "\r\n");
}

QString FromStored(const std::string& text) { return Q(core::ReplaceAll(text, "\r\n", "\n")); }

}  // namespace quill::ui
