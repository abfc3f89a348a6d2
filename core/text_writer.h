#pragma once

#include <string_view>

namespace quill::core {

// Writes lines of generated text in the encoding of the file it writes. The page builder's
// entry markup is written through it, so the same markup goes into a Windows-1252 page or a
// UTF-8 file.
class TextWriter {
 public:
  virtual ~TextWriter() = default;
  // A piece of a line, converted as it comes; pieces end between characters.
  virtual void WriteText(std::string_view utf8) = 0;
  virtual void EndLine() = 0;
  virtual void WriteLine(std::string_view utf8) {
    WriteText(utf8);
    EndLine();
  }
};

}  // namespace quill::core
