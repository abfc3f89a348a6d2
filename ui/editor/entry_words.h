#pragma once

#include <QChar>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/html_references.h"
#include "core/reader_text.h"
#include "spell/html_words.h"

namespace quill::ui {

// One tag of a text: its '<' at `open` (-1 when it began before the text) and its '>' at
// `close` (the text's length when it goes on past the text's end).
using TagSpan = spell::TagSpan;

// The text's UTF-16 units as they stand, for the plain C++ that reads them.
inline std::u16string_view Utf16(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// The tags of `text`, in order, each from a '<' to the next '>'. `inside`: the text starts
// inside a tag begun before it. `runs_on` tells, for a '<' with no '>' after it in the text,
// whether a '>' comes later (the tag goes on) or not (the '<' is a plain character).
std::vector<TagSpan> FindTags(const QString& text, bool inside,
                              const std::function<bool()>& runs_on);

// How many words a reader sees in an entry's text: runs between spaces, tags and references
// read as ScanReaderText reads them, that hold a letter or a digit ("don't", "well-known" and
// "3.5" are one word each, a dash alone none).
int CountWords(const QString& text);

namespace detail {
// The tag's inside as the ASCII it starts with, enough to name it.
std::string TagName(const QString& text, const TagSpan& tag);
// The character a reference at `at` names and its length; {0, 0} where none starts.
std::pair<char32_t, int> ReferenceAt(const QString& text, int at);
}  // namespace detail

// Walks the characters a reader sees in `text` (whose tags are `tags`): calls
// visit.Character(c, from, to) for each, with the place [from, to) it takes in the text (a
// reference such as "&egrave;" is one character), and visit.Break() for each tag that parts
// the words on either side (see core::IsInlineTag). Inline tags give nothing.
template <class Visitor>
void ScanReaderText(const QString& text, const std::vector<TagSpan>& tags, Visitor& visit) {
  const int length = static_cast<int>(text.size());
  auto tag = tags.begin();
  for (int at = 0; at < length;) {
    if (tag != tags.end() && at >= tag->open) {
      if (tag->open < 0 || !core::IsInlineTag(detail::TagName(text, *tag))) visit.Break();
      at = tag->close + 1;
      ++tag;
      continue;
    }
    const QChar unit = text[at];
    if (unit == QLatin1Char('&')) {
      if (const auto [c, size] = detail::ReferenceAt(text, at); size > 0) {
        visit.Character(c, at, at + size);
        at += size;
        continue;
      }
    }
    if (unit.isHighSurrogate() && at + 1 < length && text[at + 1].isLowSurrogate()) {
      visit.Character(QChar::surrogateToUcs4(unit, text[at + 1]), at, at + 2);
      at += 2;
    } else {
      visit.Character(unit.unicode(), at, at + 1);
      ++at;
    }
  }
}

}  // namespace quill::ui
