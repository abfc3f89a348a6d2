#include "core/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/quill_error.h"

namespace quill::core {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string TempNameBeside(const std::string& path, unsigned suffix) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08x", suffix);
  return path + ".tmp-" + hex;
}

#ifdef _WIN32
// Windows keeps an open file from being deleted, so an open temp file needs no lock.
std::FILE* CreateTempFile(const std::string& path) { return std::fopen(path.c_str(), "wbx"); }
#else
// Creates the temp file and holds a lock on it for as long as it is open, so that a build
// tidying up after a crashed one leaves it alone. A tidier may still catch the file in the
// moment between creation and lock; then the name no longer leads to this file and the
// caller tries another.
std::FILE* CreateTempFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat opened {};
  struct stat named {};
  if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &opened) != 0 ||
      ::lstat(path.c_str(), &named) != 0 || opened.st_ino != named.st_ino ||
      opened.st_dev != named.st_dev) {
    ::close(fd);
    errno = EEXIST;
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) ::close(fd);
  return file;
}

// The folder a file's path is in.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Gives a file without a name (O_TMPFILE) the name `path`, as long as nothing has it: 0, or
// the reason it could not.
int LinkUnnamed(int fd, const std::string& path) {
  char proc[48];
  std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
  return ::linkat(AT_FDCWD, proc, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// Removes a temp file unless a running program holds it.
void RemoveIfAbandoned(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    ::unlink(path.c_str());
  }
  ::close(fd);
}
#endif

}  // namespace

bool IsTempFileName(std::string_view name) {
  constexpr std::string_view kMark = ".tmp-";
  constexpr std::size_t kDigits = 8;
  if (name.size() <= kMark.size() + kDigits) return false;
  const std::string_view tail = name.substr(name.size() - kDigits);
  return name.substr(name.size() - kDigits - kMark.size(), kMark.size()) == kMark &&
         tail.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

void RemoveAbandonedTempFiles(const std::string& folder) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!IsTempFileName(it->path().filename().string())) continue;
#ifdef _WIN32
    std::error_code ignored;
    std::filesystem::remove(it->path(), ignored);  // fails while its writer has it open
#else
    RemoveIfAbandoned(it->path());
#endif
  }
}

AtomicFile::AtomicFile(std::string path, Target target) : path_(std::move(path)) {
  if (target != Target::Absent || !OpenUnnamed()) {
    const int error = StepTempNames([&] {
      // Never opens a file someone else made under the same name.
      file_ = CreateTempFile(temp_path_);
      return file_ != nullptr ? 0 : errno;
    });
    if (error != 0) Fail(error);
  }
  // A buffer of our own: given none, the C library picks one of the disk's block size and a
  // page goes out in several writes instead of one.
  buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferSize);
}

AtomicFile::~AtomicFile() { Discard(); }

template <typename TryName>
int AtomicFile::StepTempNames(TryName try_name) {
  // The process id makes the name unique among running programs; a name left behind by a
  // crashed one is stepped round with random names.
  std::optional<std::random_device> random;
  unsigned suffix = static_cast<unsigned>(getpid());
  int error = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    if (attempt > 0) {
      if (!random) random.emplace();
      suffix = (*random)();
    }
    temp_path_ = TempNameBeside(path_, suffix);
    error = try_name();
    if (error != EEXIST) break;
  }
  return error;
}

void AtomicFile::Fail(int error) const {
  throw QuillError("Cannot write " + path_ + ": " + std::strerror(error));
}

void AtomicFile::Discard() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  file_ = nullptr;
  if (unnamed_) return;  // a file without a name goes with its descriptor
  std::error_code ignored;
  std::filesystem::remove(temp_path_, ignored);
}

void AtomicFile::Write(std::string_view bytes) {
  if (file_ == nullptr) throw QuillError("Cannot write " + path_ + ": the file is closed");
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    const int error = errno;
    Discard();
    Fail(error);
  }
}

void AtomicFile::Commit() {
  if (file_ == nullptr) throw QuillError("Cannot write " + path_ + ": the file is closed");
  if (unnamed_) {
    CommitUnnamed();
    return;
  }
  const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
  const int flush_error = errno;
  if (flushed) NoteFacts();
  const bool closed = std::fclose(file_) == 0;
  const int close_error = errno;
  file_ = nullptr;
  if (!flushed || !closed) {
    std::error_code ignored;
    std::filesystem::remove(temp_path_, ignored);
    Fail(!flushed ? flush_error : close_error);
  }
  RenameOver();
}

void AtomicFile::NoteFacts() {
#ifndef _WIN32
  struct stat info {};
  if (::fstat(::fileno(file_), &info) != 0) return;
  written_ = Written{static_cast<std::uint64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                         info.st_mtim.tv_nsec};
#endif
}

void AtomicFile::RenameOver() {
  std::error_code renamed;
  std::filesystem::rename(temp_path_, path_, renamed);
  if (renamed) {
    std::error_code ignored;
    std::filesystem::remove(temp_path_, ignored);
    throw QuillError("Cannot write " + path_ + ": " + renamed.message());
  }
}

#ifdef _WIN32
bool AtomicFile::OpenUnnamed() { return false; }
void AtomicFile::CommitUnnamed() {}
void AtomicFile::NameCopy() {}
#else
bool AtomicFile::OpenUnnamed() {
#ifdef O_TMPFILE
  const int fd = ::open(FolderOf(path_).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  if (fd < 0) return false;  // not on this file system: a named temp file then
  file_ = ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    ::close(fd);
    return false;
  }
  unnamed_ = true;
  return true;
#else
  return false;
#endif
}

void AtomicFile::CommitUnnamed() {
  if (std::fflush(file_) != 0 || std::ferror(file_)) {
    const int error = errno;
    Discard();
    Fail(error);
  }
  const int fd = ::fileno(file_);
  const int linked = LinkUnnamed(fd, path_);
  if (linked != 0 && linked != EEXIST) {
    NameCopy();  // the system gives the file no name (no /proc): a named copy goes instead
    return;
  }
  int error = 0;
  NoteFacts();
  if (linked == EEXIST) {
    // A file came there meanwhile: it is replaced as any other, under a temp name (locked,
    // so that a tidying build leaves it) renamed over it.
    error = ::flock(fd, LOCK_EX) != 0 ? errno
                                      : StepTempNames([&] { return LinkUnnamed(fd, temp_path_); });
  }
  const bool closed = std::fclose(file_) == 0;
  const int close_error = errno;
  file_ = nullptr;
  if (error != 0) Fail(error);
  if (!closed) {
    ::unlink((linked == 0 ? path_ : temp_path_).c_str());  // the name this file was given
    Fail(close_error);
  }
  if (linked == EEXIST) RenameOver();
}

void AtomicFile::NameCopy() {
  const std::unique_ptr<std::FILE, FileCloser> unnamed(file_);
  file_ = nullptr;
  unnamed_ = false;
  const int error = StepTempNames([&] {
    file_ = CreateTempFile(temp_path_);
    return file_ != nullptr ? 0 : errno;
  });
  if (error != 0) Fail(error);
  char chunk[1 << 14];
  off_t at = 0;
  for (ssize_t n; (n = ::pread(::fileno(unnamed.get()), chunk, sizeof chunk, at)) != 0; at += n) {
    if (n < 0) {
      const int read_error = errno;
      Discard();
      Fail(read_error);
    }
    Write(std::string_view(chunk, static_cast<std::size_t>(n)));
  }
  Commit();
}
#endif

}  // namespace quill::core
