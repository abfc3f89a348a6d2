#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quill::spell {

// Positions count UTF-16 units, as the text box counts them, so they need no conversion.

// One tag of a line: its '<' at `open` (-1 when it began on a line before) and its '>' at
// `close` (the line's length when it goes on past the line's end).
struct TagSpan {
  int open;
  int close;
};

// The tags of `line`, in order, each from a '<' to the next '>'. `inside`: the line starts
// inside a tag begun before it. `runs_on` tells, for a '<' with no '>' after it in the line,
// whether a '>' comes later (the tag goes on) or not (the '<' is a plain character).
std::vector<TagSpan> FindTags(std::u16string_view line, bool inside,
                              const std::function<bool()>& runs_on);

// Where one character of a word stands in its line, [from, to): a reference such as
// "&egrave;" is one character.
struct Place {
  int from;
  int to;
};

// A word of the running text, as its reader sees it.
struct Word {
  std::u32string text;
  std::vector<Place> places;  // one for each character of `text`

  std::string Utf8() const;
  // The stretches of the line the word's characters take, tags between them left out.
  std::vector<Place> Stretches() const;
};

// The words of `line` (whose tags are `tags`) a dictionary should see: the text between tags,
// with references read as the characters they name and words cut by inline markup
// ("<b>wo</b>rd") whole. Left out: everything inside tags (attribute values too), addresses
// (anything with "://" or "@", or starting "www."), words with digits, and runs too long to
// be words. An apostrophe or a hyphen between letters belongs to the word.
std::vector<Word> FindWords(std::u16string_view line, const std::vector<TagSpan>& tags);

// The smallest change of the line that turns `word` into `replacement` (UTF-8): what it
// shares with the word at either end stays, and with it any markup there.
struct Edit {
  int from;
  int to;
  std::string text;  // UTF-8
};
Edit ReplacementFor(const Word& word, std::string_view replacement);

}  // namespace quill::spell
