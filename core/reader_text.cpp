#include "core/reader_text.h"

#include <algorithm>
#include <array>

#include "core/html_references.h"
#include "core/utf8.h"

namespace quill::core {
namespace {

// The elements of running text; sorted for a binary search.
constexpr std::array<std::string_view, 29> kInlineTags{
    "a",     "abbr", "acronym", "b",      "bdi", "bdo", "big",  "cite", "code", "del",
    "dfn",   "em",   "font",    "i",      "ins", "kbd", "mark", "q",    "s",    "samp",
    "small", "span", "strike",  "strong", "sub", "sup", "tt",   "u",    "var"};

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A character the reader sees; the controls (line breaks and tabs among them) as spaces.
void AppendSeen(std::string& out, char32_t c) { AppendUtf8(out, c < 0x20 || c == 0x7F ? U' ' : c); }

// The character a reference at `at` stands for; 0 where none starts or its name is unknown,
// so that the '&' shows as it stands, as a browser shows it.
char32_t NamedAt(std::string_view html, std::size_t at) {
  const std::size_t length = ReferenceLength(html, at);
  return length == 0 ? 0 : ReferencedCharacter(html.substr(at, length));
}

}  // namespace

bool IsInlineTag(std::string_view tag) {
  if (!tag.empty() && tag.front() == '/') tag.remove_prefix(1);
  std::size_t length = 0;
  while (length < tag.size() && IsNameCharacter(tag[length])) ++length;
  if (length == 0 || length > 7) return false;
  std::string name(tag.substr(0, length));
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return std::binary_search(kInlineTags.begin(), kInlineTags.end(), name);
}

std::string ReaderText(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  const std::size_t last_close = html.rfind('>');
  for (std::size_t at = 0; at < html.size();) {
    const char c = html[at];
    if (c == '<' && last_close != std::string_view::npos && last_close > at) {
      const std::size_t close = html.find('>', at);
      if (!IsInlineTag(html.substr(at + 1, close - at - 1))) out += ' ';
      at = close + 1;
    } else if (const char32_t named = c == '&' ? NamedAt(html, at) : 0; named != 0) {
      AppendSeen(out, named);
      at += ReferenceLength(html, at);
    } else {
      char32_t decoded = 0;
      const std::size_t length = DecodeUtf8(html, at, decoded);
      AppendSeen(out, length == 0 ? U' ' : decoded);
      at += std::max<std::size_t>(length, 1);
    }
  }
  return out;
}

}  // namespace quill::core
