#include "ui/editor/markup_highlighter.h"

#include <QTextDocument>

#include "ui/editor/entry_words.h"

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
  // A tag goes on past this line only if a ">" comes later in the text.
  const int block_end = currentBlock().position() + static_cast<int>(text.size());
  const std::vector<TagSpan> tags = FindTags(text, previousBlockState() == kInsideTag,
                                             [&] { return LastCloseBracket() > block_end; });
  for (const TagSpan& tag : tags) setFormat(tag.open + 1, tag.close - tag.open - 1, red);
  const bool runs_on = !tags.empty() && tags.back().close == text.size();
  setCurrentBlockState(runs_on ? kInsideTag : kOutside);
}

}  // namespace quill::ui
