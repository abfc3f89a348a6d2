#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/byte_sink.h"

namespace quill::core {

// Writes a file so that it is replaced whole or not at all: the bytes go to a temporary file
// beside it, and Commit() renames that over the target. Destroyed without Commit(), it
// removes the temporary file and leaves the old file as it was. The temporary file is locked
// while it is being written, which tells RemoveAbandonedTempFiles that it is not abandoned.
class AtomicFile final : public FileSink {
 public:
  // What the writer knows of the file it replaces.
  enum class Target {
    Any,
    // There was none a moment ago. Where the system can, the bytes then go to a file without
    // a name in the same folder, which Commit() names in one step: nothing is left behind
    // even by a killed program, and the folder changes once instead of three times.
    Absent,
  };

  explicit AtomicFile(std::string path, Target target = Target::Any);
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes) override;
  void Commit() override;

  const std::string& Path() const { return path_; }

  // The size and modification time (nanoseconds since 1970) of the file Commit() wrote, as
  // its descriptor gave them just before it was closed; nullopt before that, or where the
  // system cannot tell.
  struct Written {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
  };
  const std::optional<Written>& Facts() const { return written_; }

 private:
  [[noreturn]] void Fail(int error) const;
  void Discard();
  // Tries names for the temp file until try_name() (0 or errno) takes one that was free.
  template <typename TryName>
  int StepTempNames(TryName try_name);
  bool OpenUnnamed();
  void CommitUnnamed();
  // The bytes of the file without a name, copied into a named temp file and committed.
  void NameCopy();
  void RenameOver();
  void NoteFacts();

  std::string path_;
  std::string temp_path_;
  std::unique_ptr<char[]> buffer_;  // outlives file_, which Discard() or Commit() closes
  std::FILE* file_ = nullptr;
  bool unnamed_ = false;  // file_ has no name yet: temp_path_ is unused
  std::optional<Written> written_;
};

// Whether a file name is that of an AtomicFile's temporary file: the target's name, ".tmp-"
// and eight lower-case hexadecimal digits.
bool IsTempFileName(std::string_view name);

// Removes the temporary files in a folder (not below it) that a program writing them left
// behind when it crashed or was killed; files still being written are left alone.
void RemoveAbandonedTempFiles(const std::string& folder);

}  // namespace quill::core
