#include "site/text_digest.h"

#include <algorithm>

#include "core/text.h"
#include "core/utf8.h"
#include "site/xml_text.h"

namespace quill::site {
namespace {

std::u32string TrimSpaces(std::u32string_view text) {
  const auto first = text.find_first_not_of(U' ');
  if (first == std::u32string_view::npos) return {};
  return std::u32string(text.substr(first, text.find_last_not_of(U' ') - first + 1));
}

// The cut at `end` of `s` moved before a character reference it would split ("&a" of "&amp;").
std::size_t KeepReferenceWhole(std::u32string_view s, std::size_t end) {
  constexpr std::size_t kLongest = 16;  // "&#x10FFFF;" and every HTML name fit
  const std::size_t amp = s.substr(0, end).rfind(U'&');
  if (amp == std::u32string_view::npos || end - amp > kLongest) return end;
  std::string ascii;
  for (char32_t c : s.substr(amp, kLongest)) ascii += c < 0x80 ? static_cast<char>(c) : '\x01';
  return amp + ReferenceLength(ascii, 0) > end ? amp : end;
}

}  // namespace

std::string StripMarkup(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  bool in_tag = false;
  for (char c : text) {
    if (c == '<') {
      in_tag = true;
      plain += ' ';
    } else if (c == '>') {
      in_tag = false;
    } else if (!in_tag) {
      plain += c;
    }
  }
  plain = core::Trim(core::ReplaceAll(plain, "&nbsp;", " "));
  plain = core::Trim(core::ReplaceAll(plain, "&nbsp", " "));
  plain = core::Trim(core::ReplaceAll(plain, "  ", " "));
  return core::ReplaceAll(plain, "  ", " ");
}

std::string ExtractEntryTitle(std::string_view text) {
  // Characters, not bytes, are counted, so a title never ends inside a letter.
  const std::u32string s = TrimSpaces(core::ToUtf32(text));

  std::size_t mark = std::u32string::npos;
  for (char32_t sentence_mark : {U'.', U'!', U'?', U':', U'-'}) {
    mark = std::min(mark, s.find(sentence_mark));
  }
  // A line ends at CR LF or a bare LF; the title then stops before it.
  std::size_t line_end = s.find(U'\n');
  if (line_end != std::u32string::npos && line_end > 0 && s[line_end - 1] == U'\r') --line_end;

  std::u32string t;
  if (mark == std::u32string::npos && line_end == std::u32string::npos) {
    t = s;
  } else if (line_end < mark) {
    t = TrimSpaces(std::u32string_view(s).substr(0, line_end));
  } else {
    t = TrimSpaces(std::u32string_view(s).substr(0, mark + 1));
  }

  // Cut after the first space at or after character 31, then 30, … down to 16, until the
  // title fits in 31 characters.
  for (std::size_t i = 31; i >= 16; --i) {
    if (TrimSpaces(t).size() <= 31) break;
    const std::size_t space = t.find(U' ', i - 1);
    if (space != std::u32string::npos) t.resize(space + 1);
  }
  if (TrimSpaces(t).size() > 32) t = TrimSpaces(std::u32string_view(t).substr(0, 32));
  t.resize(KeepReferenceWhole(s, t.size()));
  return core::ToUtf8(TrimSpaces(t));
}

}  // namespace quill::site
