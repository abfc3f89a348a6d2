#pragma once

#include <cstdio>
#include <string>

#include "core/byte_sink.h"

namespace quill::core {

// Writes a file so that it is replaced whole or not at all: the bytes go to a temporary file
// beside it, and Commit() renames that over the target. Destroyed without Commit(), it
// removes the temporary file and leaves the old file as it was.
class AtomicFile final : public FileSink {
 public:
  explicit AtomicFile(std::string path);
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes) override;
  void Commit() override;

  const std::string& Path() const { return path_; }

 private:
  [[noreturn]] void Fail(int error) const;
  void Discard();

  std::string path_;
  std::string temp_path_;
  std::FILE* file_ = nullptr;
};

}  // namespace quill::core
