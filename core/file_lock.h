#pragma once

#include <memory>
#include <string>

namespace quill::core {

// An exclusive lock on a file, held for as long as the object lives. The system lets go of it
// whenever the process ends, killed or crashed included, so a lock file left behind locks
// nothing: the file stays, the lock does not.
class FileLock {
 public:
  // Takes the lock on `path` (made, readable by its owner alone, when missing) without
  // waiting: nullptr when another holder has it. Throws QuillError naming the file and the
  // reason when the file cannot be opened at all.
  static std::unique_ptr<FileLock> TryLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  explicit FileLock(void* handle) : handle_(handle) {}
  void* handle_;  // the open file (a descriptor on POSIX systems, a HANDLE on Windows)
};

}  // namespace quill::core
