#pragma once

#include <string>
#include <string_view>

namespace quill::core {

// Whether the tag whose inside is `tag` (the text between its '<' and '>', "b" or
// "/a" or "span class=x") runs inside a line of text, as <b>, <i> or <a> do: a word such a
// tag cuts ("<b>wo</b>rd") is still one word. Every other tag parts the words on either side
// of it, as a line break does.
bool IsInlineTag(std::string_view tag);

// An entry's text as its reader sees it, in UTF-8: a tag (from a '<' to the next '>'; a '<'
// with no '>' after it is a character) is left out, a tag that parts words gives a space,
// a character reference is the character it names, and each byte that is not UTF-8 and
// each control character is a space.
std::string ReaderText(std::string_view html);

}  // namespace quill::core
