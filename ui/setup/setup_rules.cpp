#include "ui/setup/setup_rules.h"

#include <cctype>
#include <cstdio>

#include "core/settings_store.h"
#include "core/text.h"

namespace quill::ui {
namespace {

// The text without an "http://" or "ftp://" in front (compared without regard to case).
std::string WithoutScheme(std::string text) {
  const std::string lower = core::AsciiLower(text);
  if (lower.starts_with("http://")) return text.substr(7);
  if (lower.starts_with("ftp://")) return text.substr(6);
  return text;
}

}  // namespace

std::int16_t LeadingNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  const std::size_t start = at;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  const auto digits = [&] {
    std::size_t n = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at, ++n;
    return n;
  };
  std::size_t mantissa = digits();
  if (at < text.size() && text[at] == '.') {
    ++at;
    mantissa += digits();
  }
  if (mantissa == 0) return 0;
  std::size_t end = at;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (digits() > 0) end = at;  // an "e" with no digits after it is no exponent
  }
  const auto number = core::ParseStoredNumber(text.substr(start, end - start));
  if (!number) return 0;
  return static_cast<std::int16_t>(core::RoundToRange(*number, INT16_MIN, INT16_MAX));
}

std::string NormaliseFtpHost(std::string_view host) {
  std::string text = WithoutScheme(core::Trim(host));
  std::erase(text, '/');
  std::erase(text, '\\');
  return text;
}

std::string NormaliseFtpPath(std::string_view path, std::string_view host) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '\\', '/');
  text = WithoutScheme(core::Trim(text));
  const std::string host_name = core::Trim(host);
  if (!host_name.empty() && core::AsciiLower(text).starts_with(core::AsciiLower(host_name))) {
    text = text.substr(host_name.size());
  }
  if (text.starts_with('/')) text.erase(0, 1);
  return text;
}

std::string PageNameProblem(std::string_view name, const FileNameRules& rules) {
  if (name.find_first_of(rules.separators) != std::string_view::npos) {
    return "A page file name cannot hold a folder: no " + std::string(rules.separators) +
           " in it, please.";
  }
  if (name == "." || name == "..")
    return "\"" + std::string(name) + "\" names a folder, not pages.";
  for (unsigned char c : name) {
    if (c < 32 || c == 127) return "A page file name cannot hold control characters.";
  }
  if (name.find_first_of(rules.reserved) != std::string_view::npos) {
    return "A page file name cannot hold any of " + std::string(rules.reserved) + " here.";
  }
  static constexpr std::string_view kDevices[] = {"con", "prn", "aux", "nul"};
  const std::string lower = core::AsciiLower(name);
  const bool numbered = lower.size() == 4 &&
                        (lower.starts_with("com") || lower.starts_with("lpt")) && lower[3] >= '1' &&
                        lower[3] <= '9';
  if (rules.device_names &&
      (numbered || std::ranges::find(kDevices, lower) != std::end(kDevices))) {
    return "\"" + std::string(name) + "\" names a device here; choose another page file name.";
  }
  return {};
}

std::string SetupVersionText(int major, int minor, int revision) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%02d.%02d.%02d", major, minor, revision / 100,
                revision % 100);
  return text;
}

std::string MissingRequirement(std::string_view output_folder, std::string_view title) {
  if (output_folder.empty()) return "Output Folder REQUIRED!";
  if (title.empty()) return "Blog Title REQUIRED!";
  return {};
}

}  // namespace quill::ui
