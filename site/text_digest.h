#pragma once

#include <string>
#include <string_view>

namespace quill::site {

// The plain text of an entry: tags become single spaces and vanish with the blanks they
// leave, non-breaking spaces become spaces. Other entities and line breaks stay.
std::string StripMarkup(std::string_view text);

// A short title for an entry: its first sentence or first line, cut after a word to about
// 31 characters and never longer than 32. A cut that would split a character reference
// ("&amp;") is made before it.
std::string ExtractEntryTitle(std::string_view text);

}  // namespace quill::site
