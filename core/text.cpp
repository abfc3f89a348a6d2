#include "core/text.h"

#include <algorithm>

namespace quill::core {

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return lower;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
  return std::ranges::equal(a, b, [&](char x, char y) {
    return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
  });
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t hit; (hit = text.find(from, at)) != std::string_view::npos;
       at = hit + from.size()) {
    out.append(text, at, hit - at);
    out += to;
  }
  out.append(text, at);
  return out;
}

std::string ReplaceLineBreaks(std::string_view text, std::string_view to) {
  std::string out;
  out.reserve(text.size() + 64);
  bool first = true;
  ForEachLine(text, [&](std::string_view line) {
    if (!first) out += to;
    first = false;
    out += line;
  });
  return out;
}

std::string OneLine(std::string_view text) { return ReplaceLineBreaks(text, " "); }

}  // namespace quill::core
