#pragma once

#include <QSyntaxHighlighter>
#include <functional>
#include <vector>

#include "spell/html_words.h"
#include "spell/spell_checker.h"

namespace quill::ui {

// Colours the inside of every tag red, leaving the brackets and the text black. A tag may
// run over several lines; a "<" with no ">" anywhere after it colours nothing. With a
// dictionary, it also underlines the words of the text between tags that the dictionary
// does not know, in the same pass, so the two never paint over each other.
class MarkupHighlighter final : public QSyntaxHighlighter {
 public:
  // The dictionary to check with, asked for the first time a line holds words; nullptr
  // while there is none.
  using CheckerSource = std::function<spell::SpellChecker*()>;

  // Entries longer than this many characters (about 2 MB) are not checked: from scratch their
  // spelling would hold the window for a quarter of a second and more.
  static constexpr int kLongestChecked = 2'000'000;

  explicit MarkupHighlighter(QTextDocument* document);

  // Checks the spelling from the next pass on; an empty source checks nothing.
  void SetSpelling(CheckerSource source) { spelling_ = std::move(source); }
  // The words of `block` that the dictionary does not know, as the last pass marked them.
  std::vector<spell::Word> MisspeltWords(const QTextBlock& block);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  // Position of the document's last ">", -1 when it has none; found once per revision.
  int LastCloseBracket();
  std::vector<spell::TagSpan> TagsOf(const QString& text, int block_start, bool inside);
  std::vector<spell::Word> Misspelt(const QString& text, const std::vector<spell::TagSpan>& tags);

  int last_close_ = -1;
  int last_close_revision_ = -1;
  CheckerSource spelling_;
};

}  // namespace quill::ui
