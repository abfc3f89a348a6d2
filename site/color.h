#pragma once

#include <cstdint>
#include <string>

namespace quill::site {

// A Windows colour value as plain 0x00BBGGRR. A system colour (top bit set, index in the low
// byte) becomes the classic Windows default for that index, so generated pages never depend
// on the desktop theme of the machine that built them.
std::uint32_t ResolveColor(std::int32_t color);

// The CSS form RRGGBB, six upper-case hexadecimal digits.
std::string ColorToCssHex(std::int32_t color);

// The colour to write text in on `background`: `text` when the two stand apart enough to be
// read (a contrast ratio of at least 4.5:1, as accessibility checkers ask of body text),
// else black or white, whichever stands out more. Both resolved, the result plain 0x00BBGGRR.
std::int32_t ReadableTextColor(std::int32_t background, std::int32_t text);

}  // namespace quill::site
