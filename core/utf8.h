#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quill::core {

// Decodes one UTF-8 sequence at `text[at]` into `c`; returns its length, or 0 when the bytes
// there are not valid UTF-8 (overlong forms and surrogates included).
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& c);

// Appends the UTF-8 bytes of `c` (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

// Text as characters, for rules that count characters rather than bytes. A byte that is not
// valid UTF-8 becomes a stand-in character that ToUtf8 turns back into the same byte, so the
// round trip never loses anything.
std::u32string ToUtf32(std::string_view utf8);
std::string ToUtf8(std::u32string_view text);

}  // namespace quill::core
