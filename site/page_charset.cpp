#include "site/page_charset.h"


#include "core/text.h"
#include "core/utf8_writer.h"
#include "core/win1252_writer.h"

namespace quill::site {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// The value after "charset" in one <meta ...> tag (lower case); empty when it has none.
std::string CharsetOf(std::string_view tag) {
  for (std::size_t at = tag.find("charset"); at != std::string_view::npos;
       at = tag.find("charset", at + 1)) {
    std::size_t i = at + 7;
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (i == tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '"' || tag[i] == '\'')) ++i;
    const std::size_t start = i;
    while (i < tag.size() && !IsSpace(tag[i]) && tag[i] != '"' && tag[i] != '\'' && tag[i] != ';' &&
           tag[i] != '/' && tag[i] != '>') {
      ++i;
    }
    if (i > start) return std::string(tag.substr(start, i - start));
  }
  return {};
}

std::string CleanUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  core::AppendCleanUtf8(out, text);
  return out;
}

}  // namespace

PageCharset DeclaredCharset(std::string_view template_bytes) {
  if (template_bytes.starts_with("\xEF\xBB\xBF")) return PageCharset::Utf8;
  const std::string lower = core::AsciiLower(template_bytes);
  for (std::size_t at = lower.find("<meta"); at != std::string::npos;
       at = lower.find("<meta", at + 5)) {
    if (at + 5 < lower.size() && !IsSpace(lower[at + 5])) continue;  // <metadata>
    const std::size_t end = lower.find('>', at);
    const std::string charset =
        CharsetOf(std::string_view(lower).substr(at, end == std::string::npos ? end : end - at));
    if (charset.empty()) continue;
    return charset == "utf-8" || charset == "utf8" ? PageCharset::Utf8 : PageCharset::Windows1252;
  }
  return PageCharset::Windows1252;
}

PageEncoder EncoderFor(PageCharset charset) {
  return charset == PageCharset::Utf8 ? &CleanUtf8 : &core::ToWin1252;
}

std::unique_ptr<core::TextWriter> PageTextWriter(PageCharset charset, core::ByteSink& sink) {
  if (charset == PageCharset::Utf8) return std::make_unique<core::Utf8Writer>(sink, "\r\n");
  return std::make_unique<core::Win1252Writer>(sink);
}

}  // namespace quill::site
