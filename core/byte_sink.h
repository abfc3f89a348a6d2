#pragma once

#include <string>
#include <string_view>

namespace quill::core {

// Where generated output goes: a file being written, or memory in a test. A failed write
// throws QuillError.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// A sink that becomes a file only when it is committed; dropped uncommitted, it leaves
// nothing behind.
class FileSink : public ByteSink {
 public:
  virtual void Commit() = 0;
};

class StringSink final : public ByteSink {
 public:
  void Write(std::string_view bytes) override { data_ += bytes; }
  const std::string& Data() const { return data_; }

 private:
  std::string data_;
};

}  // namespace quill::core
