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
#include <unistd.h>
#endif

#include "core/quill_error.h"

namespace quill::core {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string TempNameBeside(const std::string& path, unsigned suffix) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08x", suffix);
  return path + ".tmp-" + hex;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  // The process id makes the name unique among running programs; a name left behind by a
  // crashed one is stepped round with random names.
  std::optional<std::random_device> random;
  unsigned suffix = static_cast<unsigned>(getpid());
  int error = 0;
  for (int attempt = 0; attempt < 16 && file_ == nullptr; ++attempt) {
    if (attempt > 0) {
      if (!random) random.emplace();
      suffix = (*random)();
    }
    temp_path_ = TempNameBeside(path_, suffix);
    // "x": never open a file someone else made under the same name.
    file_ = std::fopen(temp_path_.c_str(), "wbx");
    error = errno;
    if (file_ == nullptr && error != EEXIST) break;
  }
  if (file_ == nullptr) Fail(error);
  std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Fail(int error) const {
  throw QuillError("Cannot write " + path_ + ": " + std::strerror(error));
}

void AtomicFile::Discard() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  file_ = nullptr;
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
  const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
  const int flush_error = errno;
  const bool closed = std::fclose(file_) == 0;
  const int close_error = errno;
  file_ = nullptr;
  std::error_code renamed;
  if (flushed && closed) std::filesystem::rename(temp_path_, path_, renamed);
  if (!flushed || !closed || renamed) {
    std::error_code ignored;
    std::filesystem::remove(temp_path_, ignored);
    if (renamed) throw QuillError("Cannot write " + path_ + ": " + renamed.message());
    Fail(!flushed ? flush_error : close_error);
  }
}

}  // namespace quill::core
