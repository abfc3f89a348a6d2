#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace quill::core {

// Removes leading and trailing space characters. Only the space counts: line breaks and tabs
// at either end of an entry are part of what the user wrote.
std::string Trim(std::string_view text);
// The text with the ASCII letters A-Z in lower case; every other byte as it stands.
std::string AsciiLower(std::string_view text);

// True when the two texts are equal ignoring the case of ASCII letters, as the registry and
// the database engine compare names.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Replaces every occurrence of `from`, left to right, each match starting after the last.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Replaces every line break of an entry's text, CR LF, a bare LF or a bare CR, by `to`.
std::string ReplaceLineBreaks(std::string_view text, std::string_view to);

// A value that stands on one line of a generated file (a title, an address): each line break
// becomes one space.
std::string OneLine(std::string_view text);

// A control character that no generated file carries: XML forbids those below the space other
// than TAB, LF and CR, and DEL and the C1 block show as nothing a reader could use.
constexpr bool IsUnwantedControl(char32_t c) {
  return (c < 0x20 && c != U'\t' && c != U'\n' && c != U'\r') || (c >= 0x7F && c <= 0x9F);
}

// Calls `line` with each stretch of the text between its line breaks (CR LF, a bare LF or a bare
// CR), in order: n line breaks give n + 1 calls.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& line) {
  // The next CR and the next LF, each found by a fast search and sought again once passed.
  std::size_t cr = text.find('\r');
  std::size_t lf = text.find('\n');
  std::size_t at = 0;
  for (std::size_t end; (end = std::min(cr, lf)) != std::string_view::npos;) {
    line(text.substr(at, end - at));
    at = end + (end == cr && lf == end + 1 ? 2 : 1);
    if (cr < at) cr = text.find('\r', at);
    if (lf < at) lf = text.find('\n', at);
  }
  line(text.substr(at));
}

}  // namespace quill::core
