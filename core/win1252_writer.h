#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "core/text_writer.h"

namespace quill::core {

// Appends UTF-8 text as Windows-1252. A character the code page cannot hold is written as an
// HTML numeric character reference ("&#322;"), so nothing the user typed is lost; control
// characters other than TAB, LF and CR are dropped. Bytes that are not valid UTF-8 pass
// through as they are: they can only be single-byte text already.
void AppendWin1252(std::string& out, std::string_view utf8);
std::string ToWin1252(std::string_view utf8);

// The character a Windows-1252 byte stands for; 0 for the five bytes the code page leaves
// unused.
char32_t FromWin1252(unsigned char byte);

// Writes the lines of a generated file: Windows-1252 text, each line ending with CR LF.
class Win1252Writer final : public TextWriter {
 public:
  explicit Win1252Writer(ByteSink& sink) : sink_(sink) {}

  void WriteLine(std::string_view utf8) override;
  // A line written in pieces, each converted as it comes (a long one in slices), so a line of
  // any length passes through a buffer of fixed size; pieces end between characters, as at
  // an ASCII character. EndLine() closes the line.
  void WriteText(std::string_view utf8) override;
  void EndLine() override;
  // Bytes that are already in the file's encoding, such as a template's own lines.
  void WriteRaw(std::string_view bytes);

  std::uint64_t BytesWritten() const { return bytes_written_; }

 private:
  ByteSink& sink_;
  std::string line_;
  std::uint64_t bytes_written_ = 0;
};

}  // namespace quill::core
