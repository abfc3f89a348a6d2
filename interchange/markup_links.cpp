#include "interchange/markup_links.h"

#include <cctype>

#include "core/html_references.h"

namespace quill::interchange {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Where a value stands in the markup: [begin, end), its quotes included.
using Visit = std::function<void(std::string_view tag, std::string_view attribute,
                                 std::size_t begin, std::size_t end)>;

// Reads the attributes of the tag whose name ends at `at`; returns where the tag ends, or
// npos when the markup ends first.
std::size_t ReadAttributes(std::string_view text, std::size_t at, std::string_view tag,
                           const Visit& visit) {
  for (;;) {
    while (at < text.size() && (IsSpace(text[at]) || text[at] == '/')) ++at;
    if (at >= text.size()) return std::string_view::npos;
    if (text[at] == '>') return at + 1;
    const std::size_t name_start = at;
    while (at < text.size() && !IsSpace(text[at]) && text[at] != '=' && text[at] != '>' &&
           text[at] != '/') {
      ++at;
    }
    if (at == name_start) ++at;  // a stray '=': step over it
    const std::string attribute = Lower(text.substr(name_start, at - name_start));
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at >= text.size() || text[at] != '=') continue;
    ++at;
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at >= text.size()) return std::string_view::npos;
    const std::size_t begin = at;
    if (text[at] == '"' || text[at] == '\'') {
      const std::size_t close = text.find(text[at], at + 1);
      if (close == std::string_view::npos) return std::string_view::npos;
      at = close + 1;
    } else {
      while (at < text.size() && !IsSpace(text[at]) && text[at] != '>') ++at;
    }
    visit(tag, attribute, begin, at);
  }
}

void Scan(std::string_view text, const Visit& visit) {
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at)) {
    if (text.substr(at, 4) == "<!--") {
      at = text.find("-->", at + 4);
      if (at == std::string_view::npos) return;
      at += 3;
      continue;
    }
    const std::size_t name_start = at + 1;
    if (name_start >= text.size() || !std::isalpha(static_cast<unsigned char>(text[name_start]))) {
      at = name_start;
      continue;
    }
    std::size_t name_end = name_start;
    while (name_end < text.size() &&
           (std::isalnum(static_cast<unsigned char>(text[name_end])) || text[name_end] == '-' ||
            text[name_end] == ':')) {
      ++name_end;
    }
    const std::string tag = Lower(text.substr(name_start, name_end - name_start));
    at = ReadAttributes(text, name_end, tag, visit);
    if (at == std::string_view::npos) return;
  }
}

std::string ValueOf(std::string_view raw) {
  if (!raw.empty() && (raw.front() == '"' || raw.front() == '\'')) raw = raw.substr(1, raw.size() - 2);
  return core::DecodeReferences(raw);
}

std::string Quoted(std::string_view value) {
  std::string out = "\"";
  for (const char c : value) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out + '"';
}

}  // namespace

std::string RewriteLinks(
    std::string_view markup,
    const std::function<std::optional<std::string>(const MarkupLink&)>& replace) {
  std::string out;
  std::size_t copied = 0;
  Scan(markup, [&](std::string_view tag, std::string_view attribute, std::size_t begin,
                   std::size_t end) {
    const auto value = replace({tag, attribute, ValueOf(markup.substr(begin, end - begin))});
    if (!value) return;
    if (out.empty()) out.reserve(markup.size() + 64);
    out.append(markup, copied, begin - copied);
    out += Quoted(*value);
    copied = end;
  });
  if (copied == 0) return std::string(markup);
  out.append(markup, copied);
  return out;
}

void ForEachLink(std::string_view markup, const std::function<void(const MarkupLink&)>& visit) {
  Scan(markup, [&](std::string_view tag, std::string_view attribute, std::size_t begin,
                   std::size_t end) {
    visit({tag, attribute, ValueOf(markup.substr(begin, end - begin))});
  });
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace quill::interchange
