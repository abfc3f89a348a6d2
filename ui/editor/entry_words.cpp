#include "ui/editor/entry_words.h"

namespace quill::ui {
namespace {

// Counts the runs between spaces that hold a letter or a digit.
struct WordCounter {
  int words = 0;
  bool counts = false;

  void Character(char32_t c, int, int) {
    if (QChar::isSpace(c)) {
      Break();
    } else if (QChar::isLetterOrNumber(c)) {
      counts = true;
    }
  }
  void Break() {
    if (counts) ++words;
    counts = false;
  }
};

}  // namespace

std::vector<TagSpan> FindTags(const QString& text, bool inside,
                              const std::function<bool()>& runs_on) {
  return spell::FindTags(Utf16(text), inside, runs_on);
}

int CountWords(const QString& text) {
  WordCounter counter;
  ScanReaderText(text, FindTags(text, false, [] { return false; }), counter);
  counter.Break();
  return counter.words;
}

namespace detail {

std::string TagName(const QString& text, const TagSpan& tag) {
  constexpr int kLongestName = 12;  // "/blockquote" and a character to spare
  std::string name;
  for (int at = tag.open + 1; at < tag.close && name.size() < kLongestName; ++at) {
    const char16_t c = text[at].unicode();
    name += c < 0x80 ? static_cast<char>(c) : ' ';
  }
  return name;
}

std::pair<char32_t, int> ReferenceAt(const QString& text, int at) {
  constexpr int kLongest = 32;  // every HTML name, and numbers with leading zeros
  std::string ascii;
  for (int i = at; i < text.size() && i < at + kLongest && text[i].unicode() < 0x80; ++i) {
    ascii += static_cast<char>(text[i].unicode());
  }
  const std::size_t length = core::ReferenceLength(ascii, 0);
  if (length == 0) return {0, 0};
  const char32_t c = core::ReferencedCharacter(std::string_view(ascii).substr(0, length));
  return {c, c == 0 ? 0 : static_cast<int>(length)};
}

}  // namespace detail
}  // namespace quill::ui
