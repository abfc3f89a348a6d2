#include "core/utf8_writer.h"

#include <algorithm>

#include "core/text.h"
#include "core/utf8.h"
#include "core/win1252_writer.h"

namespace quill::core {

void AppendCleanUtf8(std::string& out, std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = 0;
    std::size_t length = DecodeUtf8(text, at, c);
    if (length == 0) {
      c = FromWin1252(static_cast<unsigned char>(text[at]));
      length = 1;
      if (c == 0) c = static_cast<unsigned char>(text[at]);
      if (!IsUnwantedControl(c)) out += ToUtf8(std::u32string(1, c));
    } else if (!IsUnwantedControl(c)) {
      out.append(text, at, length);
    }
    at += length;
  }
}

void Utf8Writer::WriteText(std::string_view text) {
  // In slices, so a long entry passes through a buffer of fixed size. A slice ends before
  // the first byte of a character (a character has at most three bytes after its first), so
  // slices convert as the whole text would.
  constexpr std::size_t kSlice = 1 << 16;
  while (!text.empty()) {
    std::size_t length = std::min(kSlice, text.size());
    for (int back = 0; back < 3 && length < text.size() &&
                       (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80;
         ++back) {
      --length;
    }
    piece_.clear();
    AppendCleanUtf8(piece_, text.substr(0, length));
    sink_.Write(piece_);
    text.remove_prefix(length);
  }
}

void Utf8Writer::EndLine() { sink_.Write(line_end_); }

}  // namespace quill::core
