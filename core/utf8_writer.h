#pragma once

#include <string>
#include <string_view>

#include "core/byte_sink.h"
#include "core/text_writer.h"

namespace quill::core {

// Appends text as clean UTF-8: valid sequences pass as they are, control characters other
// than TAB, LF and CR are dropped, and a byte that is not valid UTF-8 is read as the
// Windows-1252 character it stands for (the only other text an entry can hold).
void AppendCleanUtf8(std::string& out, std::string_view text);

// Writes the lines of a UTF-8 file, each ending with `line_end`.
class Utf8Writer final : public TextWriter {
 public:
  explicit Utf8Writer(ByteSink& sink, std::string_view line_end = "\n")
      : sink_(sink), line_end_(line_end) {}

  void WriteText(std::string_view text) override;
  void EndLine() override;

 private:
  ByteSink& sink_;
  std::string line_end_;
  std::string piece_;
};

}  // namespace quill::core
