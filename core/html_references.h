#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quill::core {

// The length of the character reference that starts at text[at] — "&name;", "&#233;" or
// "&#xE9;" — or 0 when no well-formed reference starts there.
std::size_t ReferenceLength(std::string_view text, std::size_t at);

// The character an HTML 4 name stands for ("eacute" for U+00E9), 0 for a name it does not
// know.
char32_t HtmlEntity(std::string_view name);

// The character a well-formed reference names, as a browser reads it: a name HTML 4 knows,
// or a number, where 128-159 stand for the Windows-1252 letters and signs there. 0 when it
// names no character (an unknown name, zero, a surrogate, a number past Unicode).
char32_t ReferencedCharacter(std::string_view reference);

// Text with its character references ("&amp;", "&eacute;", "&#8217;", "&apos;") read as the
// characters they name, as a browser reads them; a reference that names nothing stays as it
// stands.
std::string DecodeReferences(std::string_view text);

}  // namespace quill::core
