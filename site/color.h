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

}  // namespace quill::site
