#include "ui/editor/markup_highlighter.h"

#include <QTextBlock>
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

std::vector<spell::TagSpan> MarkupHighlighter::TagsOf(const QString& text, int block_start,
                                                      bool inside) {
  // A tag goes on past this line only if a ">" comes later in the text.
  const int block_end = block_start + static_cast<int>(text.size());
  return FindTags(text, inside, [&] { return LastCloseBracket() > block_end; });
}

std::vector<spell::Word> MarkupHighlighter::Misspelt(const QString& text,
                                                     const std::vector<spell::TagSpan>& tags) {
  std::vector<spell::Word> misspelt;
  // characterCount() holds the last line's end too.
  if (!spelling_ || document()->characterCount() - 1 > kLongestChecked) return misspelt;
  std::vector<spell::Word> words = spell::FindWords(Utf16(text), tags);
  spell::SpellChecker* checker = words.empty() ? nullptr : spelling_();
  if (checker == nullptr) return misspelt;
  for (spell::Word& word : words) {
    if (!checker->Knows(word.Utf8())) misspelt.push_back(std::move(word));
  }
  return misspelt;
}

std::vector<spell::Word> MarkupHighlighter::MisspeltWords(const QTextBlock& block) {
  const QTextBlock before = block.previous();
  const bool inside = before.isValid() && before.userState() == kInsideTag;
  const QString text = block.text();
  return Misspelt(text, TagsOf(text, block.position(), inside));
}

void MarkupHighlighter::highlightBlock(const QString& text) {
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 0));
  const std::vector<spell::TagSpan> tags =
      TagsOf(text, currentBlock().position(), previousBlockState() == kInsideTag);
  for (const TagSpan& tag : tags) setFormat(tag.open + 1, tag.close - tag.open - 1, red);
  QTextCharFormat wavy;
  wavy.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
  wavy.setUnderlineColor(QColor(255, 0, 0));
  // Words lie between tags, so the underline never falls on a coloured tag.
  for (const spell::Word& word : Misspelt(text, tags)) {
    for (const spell::Place& stretch : word.Stretches()) {
      setFormat(stretch.from, stretch.to - stretch.from, wavy);
    }
  }
  const bool runs_on = !tags.empty() && tags.back().close == text.size();
  setCurrentBlockState(runs_on ? kInsideTag : kOutside);
}

}  // namespace quill::ui
