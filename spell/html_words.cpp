#include "spell/html_words.h"

#include <algorithm>
#include <array>

#include "core/html_references.h"
#include "core/reader_text.h"
#include "core/utf8.h"

namespace quill::spell {
namespace {

// Longer runs of letters are no words a dictionary knows ("pneumonoultramicroscopic…" has 45
// letters); checking them would only cost time.
constexpr std::size_t kLongestWord = 50;

constexpr char32_t kSoftHyphen = 0xAD;

struct Range {
  char32_t first;
  char32_t last;
};

// Beyond ASCII and Latin-1, the blocks that hold no letters: punctuation, symbols, arrows,
// shapes, emoji, private use. Everything else counts as a letter.
constexpr std::array<Range, 12> kNoLetters{{
    {0x2000, 0x2BFF},
    {0x2E00, 0x2E7F},
    {0x3000, 0x303F},
    {0xD800, 0xF8FF},
    {0xFE00, 0xFE6F},
    {0xFF00, 0xFF0F},
    {0xFF1A, 0xFF20},
    {0xFF3B, 0xFF40},
    {0xFF5B, 0xFF65},
    {0xFFF0, 0xFFFF},
    {0x1F000, 0x1FAFF},
    {0xE0000, 0x10FFFF},
}};

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

bool IsLetter(char32_t c) {
  if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
  if (c == 0xD7 || c == 0xF7) return false;
  return std::none_of(kNoLetters.begin(), kNoLetters.end(),
                      [c](const Range& r) { return c >= r.first && c <= r.last; });
}

bool IsSpace(char32_t c) {
  return c <= 0x20 || c == 0x7F || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) ||
         c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Inside a word, between letters: "don't", "don’t", "well-known".
bool IsJoiner(char32_t c) { return c == '\'' || c == 0x2019 || c == '-' || c == 0x2010; }

bool StartsWith(std::u32string_view text, std::u32string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    const char32_t c = text[i] < 0x80 ? (text[i] | 0x20) : text[i];
    if (c != start[i]) return false;
  }
  return true;
}

// A web address or an e-mail address, however it is wrapped in brackets or quotes.
bool IsAddress(std::u32string_view token) {
  if (token.find(U"://") != std::u32string_view::npos) return true;
  if (token.find(U'@') != std::u32string_view::npos) return true;
  while (!token.empty() && !IsLetter(token.front())) token.remove_prefix(1);
  return StartsWith(token, U"www.") || StartsWith(token, U"mailto:");
}

// Collects the characters between spaces and tags, and splits each such run into words.
class WordCollector {
 public:
  explicit WordCollector(std::vector<Word>& words) : words_(words) {}

  void Character(char32_t c, int from, int to) {
    if (IsSpace(c)) {
      Break();
      return;
    }
    token_.text += c;
    token_.places.push_back({from, to});
  }

  void Break() {
    if (!token_.text.empty() && !IsAddress(token_.text)) Split();
    token_.text.clear();
    token_.places.clear();
  }

 private:
  void Split() {
    const std::u32string& text = token_.text;
    for (std::size_t at = 0; at < text.size(); ++at) {
      const char32_t c = text[at];
      const bool next_is_letter = at + 1 < text.size() && IsLetter(text[at + 1]);
      if (IsLetter(c) || IsDigit(c)) {
        Take(at);
      } else if (!word_.text.empty() && (c == kSoftHyphen || (IsJoiner(c) && next_is_letter))) {
        if (c != kSoftHyphen) Take(at);
      } else {
        EndWord();
      }
    }
    EndWord();
  }

  void Take(std::size_t at) {
    word_.text += token_.text[at];
    word_.places.push_back(token_.places[at]);
    digits_ = digits_ || IsDigit(token_.text[at]);
  }

  void EndWord() {
    if (!word_.text.empty() && !digits_ && word_.text.size() <= kLongestWord) {
      words_.push_back(word_);
    }
    word_ = {};
    digits_ = false;
  }

  std::vector<Word>& words_;
  Word token_;
  Word word_;
  bool digits_ = false;
};

// The tag's inside as the ASCII it starts with, enough to name it.
std::string TagName(std::u16string_view line, const TagSpan& tag) {
  constexpr int kLongestName = 12;  // "/blockquote" and a character to spare
  std::string name;
  for (int at = tag.open + 1; at < tag.close && name.size() < kLongestName; ++at) {
    name += line[at] < 0x80 ? static_cast<char>(line[at]) : ' ';
  }
  return name;
}

// The character a reference at `at` names and its length; {0, 0} where none starts.
std::pair<char32_t, int> ReferenceAt(std::u16string_view line, std::size_t at) {
  constexpr std::size_t kLongest = 32;  // every HTML name, and numbers with leading zeros
  std::string ascii;
  for (std::size_t i = at; i < line.size() && i < at + kLongest && line[i] < 0x80; ++i) {
    ascii += static_cast<char>(line[i]);
  }
  const std::size_t length = core::ReferenceLength(ascii, 0);
  if (length == 0) return {0, 0};
  const char32_t c = core::ReferencedCharacter(std::string_view(ascii).substr(0, length));
  return {c, c == 0 ? 0 : static_cast<int>(length)};
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u < 0xDC00; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u < 0xE000; }

}  // namespace

std::vector<TagSpan> FindTags(std::u16string_view line, bool inside,
                              const std::function<bool()>& runs_on) {
  std::vector<TagSpan> tags;
  const int length = static_cast<int>(line.size());
  std::size_t from = 0;
  if (inside) {
    const std::size_t gt = line.find(u'>');
    tags.push_back({-1, gt == line.npos ? length : static_cast<int>(gt)});
    if (gt == line.npos) return tags;
    from = gt + 1;
  }
  while (from < line.size()) {
    const std::size_t lt = line.find(u'<', from);
    if (lt == line.npos) break;
    const std::size_t gt = line.find(u'>', lt + 1);
    if (gt == line.npos) {
      if (runs_on()) tags.push_back({static_cast<int>(lt), length});
      break;
    }
    tags.push_back({static_cast<int>(lt), static_cast<int>(gt)});
    from = gt + 1;
  }
  return tags;
}

std::string Word::Utf8() const { return core::ToUtf8(text); }

std::vector<Place> Word::Stretches() const {
  std::vector<Place> stretches;
  for (const Place& place : places) {
    if (!stretches.empty() && stretches.back().to == place.from) {
      stretches.back().to = place.to;
    } else {
      stretches.push_back(place);
    }
  }
  return stretches;
}

std::vector<Word> FindWords(std::u16string_view line, const std::vector<TagSpan>& tags) {
  std::vector<Word> words;
  WordCollector collect(words);
  const int length = static_cast<int>(line.size());
  auto tag = tags.begin();
  for (int at = 0; at < length;) {
    if (tag != tags.end() && at >= tag->open) {
      if (tag->open < 0 || !core::IsInlineTag(TagName(line, *tag))) collect.Break();
      at = tag->close + 1;
      ++tag;
      continue;
    }
    const char16_t unit = line[at];
    if (unit == u'&') {
      if (const auto [c, size] = ReferenceAt(line, at); size > 0) {
        collect.Character(c, at, at + size);
        at += size;
        continue;
      }
    }
    if (IsHighSurrogate(unit) && at + 1 < length && IsLowSurrogate(line[at + 1])) {
      const char32_t c = 0x10000 + ((unit - 0xD800) << 10) + (line[at + 1] - 0xDC00);
      collect.Character(c, at, at + 2);
      at += 2;
    } else {
      collect.Character(unit, at, at + 1);
      ++at;
    }
  }
  collect.Break();
  return words;
}

Edit ReplacementFor(const Word& word, std::string_view replacement) {
  const std::u32string to = core::ToUtf32(replacement);
  const std::u32string& from = word.text;
  std::size_t prefix = 0;
  while (prefix < from.size() && prefix < to.size() && from[prefix] == to[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < from.size() - prefix && suffix < to.size() - prefix &&
         from[from.size() - 1 - suffix] == to[to.size() - 1 - suffix]) {
    ++suffix;
  }
  Edit edit;
  const std::size_t end = from.size() - suffix;
  if (prefix < end) {
    edit.from = word.places[prefix].from;
    edit.to = word.places[end - 1].to;
  } else {
    edit.from = edit.to = prefix < from.size() ? word.places[prefix].from : word.places.back().to;
  }
  edit.text = core::ToUtf8(std::u32string_view(to).substr(prefix, to.size() - prefix - suffix));
  return edit;
}

}  // namespace quill::spell
