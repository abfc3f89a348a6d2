#include "core/win1252_writer.h"

#include <charconv>

namespace quill::core {
namespace {

// Windows-1252's bytes 0x80-0x9F, as the Unicode characters they stand for (0 = unused).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

int Win1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == c) return 0x80 + i;
  }
  return -1;
}

// Decodes one UTF-8 sequence at `text[at]`; returns its length, or 0 when it is not valid
// UTF-8 (overlong forms and surrogates included).
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length;
  char32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, c = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

void AppendWin1252(std::string& out, std::string_view utf8) {
  std::size_t at = 0;
  while (at < utf8.size()) {
    // Plain ASCII runs are copied as they stand.
    std::size_t run = at;
    while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80) ++run;
    out.append(utf8, at, run - at);
    at = run;
    if (at == utf8.size()) break;

    char32_t c = 0;
    const std::size_t length = DecodeUtf8(utf8, at, c);
    if (length == 0) {
      out += utf8[at++];
      continue;
    }
    at += length;
    if (const int b = Win1252Byte(c); b >= 0) {
      out += static_cast<char>(b);
    } else {
      char digits[16];
      const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(c)).ptr;
      out += "&#";
      out.append(digits, end);
      out += ';';
    }
  }
}

std::string ToWin1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendWin1252(out, utf8);
  return out;
}

void Win1252Writer::WriteLine(std::string_view utf8) {
  line_.clear();
  AppendWin1252(line_, utf8);
  line_ += "\r\n";
  WriteRaw(line_);
}

void Win1252Writer::WriteRaw(std::string_view bytes) {
  sink_.Write(bytes);
  bytes_written_ += bytes.size();
}

}  // namespace quill::core
