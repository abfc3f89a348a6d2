#include "ui/editor/markup_highlighter.h"

#include <QTextDocument>

namespace quill::ui {
namespace {

enum BlockState { kOutside = 0, kInsideTag = 1 };

}  // namespace

MarkupHighlighter::MarkupHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

int MarkupHighlighter::LastCloseBracket() {
  QTextDocument* doc = document();
  if (doc->revision() != last_close_revision_) {
    last_close_revision_ = doc->revision();
    const QTextCursor found =
        doc->find(QStringLiteral(">"), doc->characterCount(), QTextDocument::FindBackward);
    last_close_ = found.isNull() ? -1 : found.selectionStart();
  }
  return last_close_;
}

void MarkupHighlighter::highlightBlock(const QString& text) {
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 0));
  const int length = static_cast<int>(text.size());
  int from = 0;

  if (previousBlockState() == kInsideTag) {
    const int gt = static_cast<int>(text.indexOf(QLatin1Char('>')));
    if (gt < 0) {
      setFormat(0, length, red);
      setCurrentBlockState(kInsideTag);
      return;
    }
    setFormat(0, gt, red);
    from = gt + 1;
  }

  while (from < length) {
    const int lt = static_cast<int>(text.indexOf(QLatin1Char('<'), from));
    if (lt < 0) break;
    const int gt = static_cast<int>(text.indexOf(QLatin1Char('>'), lt + 1));
    if (gt >= 0) {
      setFormat(lt + 1, gt - lt - 1, red);
      from = gt + 1;
      continue;
    }
    // The tag goes on past this line only if a ">" comes later in the text.
    const int block_end = currentBlock().position() + length;
    if (LastCloseBracket() > block_end) {
      setFormat(lt + 1, length - lt - 1, red);
      setCurrentBlockState(kInsideTag);
      return;
    }
    break;
  }
  setCurrentBlockState(kOutside);
}

}  // namespace quill::ui
