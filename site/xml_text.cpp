#include "site/xml_text.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "core/html_references.h"
#include "core/text.h"
#include "core/utf8.h"
#include "core/win1252_writer.h"

namespace quill::site {
namespace {

constexpr std::string_view kXmlEntities[] = {"amp", "apos", "gt", "lt", "quot"};

bool IsXmlChar(char32_t c) {
  return c == U'\t' || c == U'\n' || c == U'\r' || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The character a numeric reference names, or 0 when it names nothing XML can hold.
char32_t NumericReference(std::string_view reference) {
  const char32_t c = core::ReferencedCharacter(reference);
  return IsXmlChar(c) && !core::IsUnwantedControl(c) ? c : 0;
}

void AppendReference(std::string& out, char32_t c) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(c)).ptr;
  out += "&#";
  out.append(digits, end);
  out += ';';
}

void AppendCharacter(std::string& out, char32_t c) {
  if (core::IsUnwantedControl(c) || !IsXmlChar(c)) return;
  if (c == U'<') {
    out += "&lt;";
  } else if (c == U'>') {
    out += "&gt;";
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else {
    AppendReference(out, c);
  }
}

// A '&' with the reference that follows it: kept, made numeric, or escaped.
void AppendAmpersand(std::string& out, std::string_view reference) {
  if (reference.size() >= 3 && reference[1] == '#') {
    if (const char32_t c = NumericReference(reference); c != 0) {
      AppendReference(out, c);
      return;
    }
  } else if (reference.size() >= 3) {
    const std::string_view name = reference.substr(1, reference.size() - 2);
    if (std::ranges::find(kXmlEntities, name) != std::end(kXmlEntities)) {
      out += reference;
      return;
    }
    if (const char32_t c = core::HtmlEntity(name); c != 0) {
      AppendReference(out, c);
      return;
    }
  }
  out += "&amp;";
  out += reference.substr(1);
}

}  // namespace

std::string XmlText(std::string_view utf8) {
  const std::string text = core::OneLine(utf8);
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] == '&') {
      const std::size_t length = ReferenceLength(text, at);
      AppendAmpersand(out, std::string_view(text).substr(at, std::max<std::size_t>(length, 1)));
      at += std::max<std::size_t>(length, 1);
      continue;
    }
    char32_t c = 0;
    const std::size_t length = core::DecodeUtf8(text, at, c);
    // A byte that is not UTF-8 can only be single-byte text already.
    if (length == 0) c = core::FromWin1252(static_cast<unsigned char>(text[at]));
    AppendCharacter(out, c);
    at += std::max<std::size_t>(length, 1);
  }
  return out;
}

std::string FileAddressText(std::string_view file_name) {
  std::string out;
  for (char c : core::OneLine(file_name)) {
    switch (c) {
      case '%':
        out += "%25";
        break;
      case '?':
        out += "%3F";
        break;
      case '#':
        out += "%23";
        break;
      case '"':
        out += "%22";
        break;
      case ' ':
        out += "%20";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string AttributeText(std::string_view text) {
  return core::ReplaceAll(core::OneLine(text), "\"", "&quot;");
}

}  // namespace quill::site
