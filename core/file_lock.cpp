#include "core/file_lock.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "core/quill_error.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "core/windows_text.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace quill::core {

#ifdef _WIN32

std::unique_ptr<FileLock> FileLock::TryLock(const std::string& path) {
  const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw QuillError("Cannot open the lock file " + path + " (error " +
                     std::to_string(GetLastError()) + ")");
  }
  OVERLAPPED whole{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                  &whole)) {
    CloseHandle(file);
    return nullptr;
  }
  return std::unique_ptr<FileLock>(new FileLock(file));
}

FileLock::~FileLock() { CloseHandle(static_cast<HANDLE>(handle_)); }

#else

std::unique_ptr<FileLock> FileLock::TryLock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    throw QuillError("Cannot open the lock file " + path + ": " + std::strerror(errno));
  }
  // flock belongs to the open file, not the process: a launched program inherits nothing
  // (O_CLOEXEC), and the lock goes with the last descriptor when the process ends.
  int taken = 0;
  do taken = ::flock(fd, LOCK_EX | LOCK_NB);
  while (taken != 0 && errno == EINTR);
  if (taken != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return nullptr;
    throw QuillError("Cannot lock " + path + ": " + std::strerror(error));
  }
  return std::unique_ptr<FileLock>(new FileLock(reinterpret_cast<void*>(std::intptr_t{fd})));
}

FileLock::~FileLock() { ::close(static_cast<int>(reinterpret_cast<std::intptr_t>(handle_))); }

#endif

}  // namespace quill::core
