#include "site/site_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/atomic_file.h"
#include "core/folders.h"
#include "core/quill_error.h"

namespace quill::site {
namespace {

// How much of an old file is read at a time to compare it with the new bytes.
constexpr std::size_t kCompareChunk = 256u << 10;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The size and modification time of a regular file, in one look-up; `error` says why there
// are none (no_such_file_or_directory when nothing has the name).
std::optional<SiteOutput::FileFacts> FactsOf(const std::string& path, std::error_code& error) {
#ifdef _WIN32
  const auto size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const auto modified = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return SiteOutput::FileFacts{size,
                               static_cast<std::int64_t>(modified.time_since_epoch().count())};
#else
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    error = std::error_code(errno, std::generic_category());
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    error = std::make_error_code(std::errc::is_a_directory);
    return std::nullopt;
  }
  error.clear();
  return SiteOutput::FileFacts{
      static_cast<std::uint64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
#endif
}

// A file of the output folder. Its bytes are compared with the file already there as they
// come; a new file is started only at the first difference (taking the equal start from the
// old file), so generating an unchanged site again writes nothing and an uploader comparing
// file times has nothing new to send. A file known to differ in size is written straight
// away. Whatever is written replaces the old file atomically at Commit().
class DiskFile final : public core::FileSink {
 public:
  DiskFile(std::string path, std::optional<std::uint64_t> size) : path_(std::move(path)) {
    std::error_code error;
    before_ = FactsOf(path_, error);
    if (before_) old_size_ = before_->size;
    if (!error && (!size || *size == old_size_)) {
      old_.reset(std::fopen(path_.c_str(), "rb"));
      if (old_) std::setvbuf(old_.get(), nullptr, _IONBF, 0);  // reads go straight to chunk_
    }
    if (!old_) {
      const bool absent = error == std::errc::no_such_file_or_directory;
      new_ = std::make_unique<core::AtomicFile>(
          path_, absent ? core::AtomicFile::Target::Absent : core::AtomicFile::Target::Any);
    }
  }

  void Write(std::string_view bytes) override {
    while (old_ && !bytes.empty()) {
      if (chunk_at_ == chunk_.size() && !ReadOld()) break;
      const std::size_t n = std::min(bytes.size(), chunk_.size() - chunk_at_);
      if (std::memcmp(bytes.data(), chunk_.data() + chunk_at_, n) != 0) break;
      chunk_at_ += n;
      matched_ += n;
      bytes.remove_prefix(n);
    }
    if (bytes.empty()) return;
    if (old_) StartNewFile();
    new_->Write(bytes);
  }

  void Commit() override {
    if (old_ && matched_ == old_size_) {
      after_ = before_;  // the same bytes: the old file is left alone
      return;
    }
    if (old_) StartNewFile();
    new_->Commit();
    if (const auto& facts = new_->Facts()) {
      after_ = SiteOutput::FileFacts{facts->size, facts->modified};
    }
  }

  // The facts of the file found when this one was opened, and of what Commit() left.
  const std::optional<SiteOutput::FileFacts>& Before() const { return before_; }
  const std::optional<SiteOutput::FileFacts>& After() const { return after_; }

 private:
  // The next chunk of the old file; false at its end.
  bool ReadOld() {
    const auto want = static_cast<std::size_t>(
        std::min<std::uint64_t>(kCompareChunk, old_size_ > matched_ ? old_size_ - matched_ : 0));
    chunk_.resize(want);
    chunk_at_ = 0;
    chunk_start_ = matched_;
    if (want == 0) return false;
    const std::size_t got = std::fread(chunk_.data(), 1, want, old_.get());
    chunk_.resize(got);
    return got > 0;
  }

  // Leaves comparing: the new file starts with the part that matched the old one.
  void StartNewFile() {
    new_ = std::make_unique<core::AtomicFile>(path_);
    if (chunk_start_ == 0) {
      new_->Write(std::string_view(chunk_.data(), static_cast<std::size_t>(matched_)));
    } else {
      CopyOldStart();
    }
    old_.reset();
    chunk_ = {};
  }

  void CopyOldStart() {
    std::rewind(old_.get());
    chunk_.resize(kCompareChunk);
    for (std::uint64_t left = matched_; left > 0;) {
      const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kCompareChunk));
      if (std::fread(chunk_.data(), 1, want, old_.get()) != want) {
        throw core::QuillError(
            "Cannot read " + path_ + ": " +
            (std::ferror(old_.get()) ? std::strerror(errno) : "it changed while being rewritten"));
      }
      new_->Write(std::string_view(chunk_.data(), want));
      left -= want;
    }
  }

  std::string path_;
  std::unique_ptr<std::FILE, FileCloser> old_;  // while the bytes still match it
  std::uint64_t old_size_ = 0;
  std::uint64_t matched_ = 0;
  std::vector<char> chunk_;  // old bytes from chunk_start_ on
  std::uint64_t chunk_start_ = 0;
  std::size_t chunk_at_ = 0;
  std::unique_ptr<core::AtomicFile> new_;
  std::optional<SiteOutput::FileFacts> before_;
  std::optional<SiteOutput::FileFacts> after_;
};

}  // namespace

DiskOutput::DiskOutput(std::string folder, MissingFolder missing) : folder_(std::move(folder)) {
  if (folder_.empty()) {
    throw core::QuillError("The project has no output folder; choose one in the setup dialog.");
  }
  if (!core::FolderExists(folder_)) {
    if (missing == MissingFolder::Create) {
      core::MakeFolder(folder_);
    } else {
      throw core::QuillError("The output folder " + folder_ +
                             " does not exist, so nothing was written. It also holds the "
                             "entries: bring it back (is its drive mounted?), or choose the "
                             "folder again in the setup dialog.");
    }
  }
  // A build that was killed or crashed leaves its temp files; they go before new ones come.
  core::RemoveAbandonedTempFiles(folder_);
}

std::unique_ptr<core::FileSink> DiskOutput::Create(const std::string& name) {
  return std::make_unique<DiskFile>(folder_ + name, std::nullopt);
}

std::unique_ptr<core::FileSink> DiskOutput::CreateSized(const std::string& name,
                                                        std::uint64_t size) {
  return std::make_unique<DiskFile>(folder_ + name, size);
}

bool DiskOutput::Exists(const std::string& name) const {
  std::error_code ignored;
  return std::filesystem::is_regular_file(folder_ + name, ignored);
}

std::optional<SiteOutput::FileFacts> DiskOutput::Facts(const std::string& name) const {
  std::error_code ignored;
  return FactsOf(folder_ + name, ignored);
}

SiteOutput::Change DiskOutput::Rewrite(const std::string& name,
                                       const std::function<void(core::FileSink&)>& write) {
  DiskFile file(folder_ + name, std::nullopt);
  write(file);
  file.Commit();
  // Where the written file's descriptor could not tell, the file is asked.
  return {file.Before(), file.After() ? file.After() : Facts(name)};
}

std::optional<std::string> DiskOutput::Read(const std::string& name) const {
  const std::string path = folder_ + name;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    if (errno == ENOENT) return std::nullopt;
    throw core::QuillError("Cannot read " + path + ": " + std::strerror(errno));
  }
  std::string bytes;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    bytes.append(buffer, n);
  }
  if (std::ferror(file.get())) {
    throw core::QuillError("Cannot read " + path + ": " + std::strerror(errno));
  }
  return bytes;
}

void DiskOutput::Remove(const std::string& name) {
  std::error_code error;
  std::filesystem::remove(folder_ + name, error);
  if (error) throw core::QuillError("Cannot remove " + folder_ + name + ": " + error.message());
}

SiteOutput::Change SiteOutput::Rewrite(const std::string& name,
                                       const std::function<void(core::FileSink&)>& write) {
  Change change{Facts(name), std::nullopt};
  const auto file = Create(name);
  write(*file);
  file->Commit();
  change.after = Facts(name);
  return change;
}

std::optional<std::string> SiteOutput::Read(const std::string& /*name*/) const {
  return std::nullopt;
}

void SiteOutput::Remove(const std::string& name) {
  throw core::QuillError("Cannot remove " + name + ": this output keeps every file.");
}

void WriteTextFile(SiteOutput& output, const std::string& name,
                   const std::vector<std::string>& lines, PageCharset charset) {
  const auto file = output.Create(name);
  const auto writer = PageTextWriter(charset, *file);
  for (const std::string& line : lines) writer->WriteLine(line);
  file->Commit();
}

}  // namespace quill::site
