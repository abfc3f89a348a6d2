#include "core/private_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quill::core {

#ifdef _WIN32

void MakeFilePrivate(const std::string&) {}
void MakeFolderPrivate(const std::string&) {}

#else

namespace {

void TakeAway(int fd, mode_t rights) {
  struct stat status {};
  if (fstat(fd, &status) == 0 && (status.st_mode & rights) != 0) {
    fchmod(fd, status.st_mode & 07777 & ~rights);
  }
}

}  // namespace

void MakeFilePrivate(const std::string& path) {
  // O_NOFOLLOW: a link planted in its place must not hand the rights of another file.
  const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return;
  TakeAway(fd, S_IRWXG | S_IRWXO);
  close(fd);
}

void MakeFolderPrivate(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  TakeAway(fd, S_IRWXG | S_IRWXO);
  close(fd);
}

#endif

}  // namespace quill::core
