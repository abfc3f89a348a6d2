#pragma once

#include <string>
#include <string_view>

namespace quill::core {

// Removes leading and trailing space characters. Only the space counts: line breaks and tabs
// at either end of an entry are part of what the user wrote.
std::string Trim(std::string_view text);

// True when the two texts are equal ignoring the case of ASCII letters, as the registry and
// the database engine compare names.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Replaces every occurrence of `from`, left to right, each match starting after the last.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Replaces every line break of an entry's text, CR LF or a bare LF, by `to`.
std::string ReplaceLineBreaks(std::string_view text, std::string_view to);

}  // namespace quill::core
