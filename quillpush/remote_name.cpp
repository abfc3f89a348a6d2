#include "quillpush/remote_name.h"

#include <cstdio>

#include "core/utf8.h"

namespace quill::push {
namespace {

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

std::string Hex(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

}  // namespace

std::string UnsendableReason(std::string_view name) {
  for (std::size_t at = 0; at < name.size();) {
    char32_t c = 0;
    const std::size_t length = core::DecodeUtf8(name, at, c);
    if (length == 0) return "a byte that is not UTF-8";
    if (IsControl(c)) return "a control character";
    if (c == '\\') return "a backslash";
    at += length;
  }
  return {};
}

bool StaysInside(std::string_view name) {
  if (name.empty() || !UnsendableReason(name).empty()) return false;
  std::size_t at = 0;
  while (true) {
    const std::size_t slash = name.find('/', at);
    const std::string_view part = name.substr(at, slash - at);
    if (part.empty() || part == "." || part == "..") return false;
    if (slash == std::string_view::npos) return true;
    at = slash + 1;
  }
}

std::string Printable(std::string_view name) {
  std::string shown;
  for (std::size_t at = 0; at < name.size();) {
    char32_t c = 0;
    const std::size_t length = core::DecodeUtf8(name, at, c);
    if (length == 0 || IsControl(c)) {
      shown += Hex(static_cast<unsigned char>(name[at]));
      ++at;
      continue;
    }
    shown += name.substr(at, length);
    at += length;
  }
  return shown;
}

}  // namespace quill::push
