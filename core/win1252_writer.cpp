#include "core/win1252_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "core/text.h"
#include "core/utf8.h"

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

// Whether any of the eight bytes lies outside printable ASCII (0x20-0x7E): a byte with its
// high bit set, one below the space, or DEL. Never wrong when it says no.
constexpr bool HasOtherThanPrintableAscii(std::uint64_t bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  const std::uint64_t below_space = (bytes - kOnes * 0x20) & ~bytes & kHigh;
  const std::uint64_t del = bytes ^ (kOnes * 0x7F);
  const std::uint64_t is_del = (del - kOnes) & ~del & kHigh;
  return ((bytes & kHigh) | below_space | is_del) != 0;
}

// Where the run of printable ASCII starting at `at` ends; eight bytes at a time while it lasts.
std::size_t PrintableRunEnd(std::string_view text, std::size_t at) {
  for (std::uint64_t bytes; at + 8 <= text.size(); at += 8) {
    std::memcpy(&bytes, text.data() + at, 8);
    if (HasOtherThanPrintableAscii(bytes)) break;
  }
  while (at < text.size() && text[at] >= 0x20 && text[at] < 0x7F) ++at;
  return at;
}

// How much of `utf8` to convert in one go: all of it when short, else a slice that ends
// neither inside a character nor before the last bytes of a sequence it starts, so slices
// convert exactly as the whole text would.
std::size_t Win1252SliceLength(std::string_view utf8) {
  constexpr std::size_t kSlice = 1 << 16;
  if (utf8.size() <= kSlice) return utf8.size();
  for (std::size_t back = 1; back <= 3; ++back) {
    const auto byte = static_cast<unsigned char>(utf8[kSlice - back]);
    if (byte < 0x80) break;
    if (byte >= 0xC0) {
      const std::size_t needs = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
      return needs > back ? kSlice - back : kSlice;
    }
  }
  return kSlice;
}

}  // namespace

char32_t FromWin1252(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

void AppendWin1252(std::string& out, std::string_view utf8) {
  std::size_t at = 0;
  while (at < utf8.size()) {
    // Plain ASCII runs are copied as they stand.
    const std::size_t run = PrintableRunEnd(utf8, at);
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
    if (IsUnwantedControl(c)) continue;
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

void Win1252Writer::WriteText(std::string_view utf8) {
  while (!utf8.empty()) {
    const std::size_t length = Win1252SliceLength(utf8);
    line_.clear();
    AppendWin1252(line_, utf8.substr(0, length));
    WriteRaw(line_);
    utf8.remove_prefix(length);
  }
}

void Win1252Writer::EndLine() { WriteRaw("\r\n"); }

void Win1252Writer::WriteRaw(std::string_view bytes) {
  sink_.Write(bytes);
  bytes_written_ += bytes.size();
}

}  // namespace quill::core
