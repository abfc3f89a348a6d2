#pragma once

// Windows only: UTF-8 to and from the UTF-16 the system's wide calls take.

#include <string>
#include <string_view>

namespace quill::core {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace quill::core
