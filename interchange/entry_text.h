#pragma once

#include <string>
#include <string_view>

namespace quill::interchange {

// Plain text as markup that shows it: '&', '<', '>' and '"' become their entities, as the
// editor makes what the user types.
std::string MarkupOfText(std::string_view text);

// The entry an imported post becomes: its title as a first line "<h2>title</h2>", unless
// the content already begins with that heading, then the content without the blank lines
// around it; every line break CR LF, as the editor stores them.
std::string EntryTextOf(std::string_view title, std::string_view content);

}  // namespace quill::interchange
