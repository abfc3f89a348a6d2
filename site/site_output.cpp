#include "site/site_output.h"

#include <cstdio>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/quill_error.h"
#include "core/win1252_writer.h"

namespace quill::site {
namespace {

// Files up to this size are kept in memory until they are committed.
constexpr std::size_t kMaxBuffered = 8u << 20;

bool HasContent(const std::string& path, const std::string& bytes) {
  std::error_code error;
  if (std::filesystem::file_size(path, error) != bytes.size() || error) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::string old(bytes.size(), '\0');
  const bool same = std::fread(old.data(), 1, old.size(), file) == old.size() && old == bytes;
  std::fclose(file);
  return same;
}

// A file of the output folder. A file whose new bytes equal what is already there is left
// alone, so generating an unchanged site again touches nothing (and an uploader comparing
// times has nothing new to send); anything else replaces the old file atomically.
class DiskFile final : public core::FileSink {
 public:
  explicit DiskFile(std::string path) : path_(std::move(path)) {}

  void Write(std::string_view bytes) override {
    if (stream_) {
      stream_->Write(bytes);
      return;
    }
    buffer_ += bytes;
    if (buffer_.size() > kMaxBuffered) {  // too large to hold: stream the rest
      stream_ = std::make_unique<core::AtomicFile>(path_);
      stream_->Write(buffer_);
      buffer_ = {};
    }
  }

  void Commit() override {
    if (stream_) {
      stream_->Commit();
      return;
    }
    if (HasContent(path_, buffer_)) return;
    core::AtomicFile file(path_);
    file.Write(buffer_);
    file.Commit();
  }

 private:
  std::string path_;
  std::string buffer_;
  std::unique_ptr<core::AtomicFile> stream_;
};

}  // namespace

DiskOutput::DiskOutput(std::string folder) : folder_(std::move(folder)) {
  if (folder_.empty()) {
    throw core::QuillError("The project has no output folder; choose one in the setup dialog.");
  }
  // A build that was killed or crashed leaves its temp files; they go before new ones come.
  core::RemoveAbandonedTempFiles(folder_);
}

std::unique_ptr<core::FileSink> DiskOutput::Create(const std::string& name) {
  return std::make_unique<DiskFile>(folder_ + name);
}

bool DiskOutput::Exists(const std::string& name) const {
  std::error_code ignored;
  return std::filesystem::is_regular_file(folder_ + name, ignored);
}

void WriteTextFile(SiteOutput& output, const std::string& name,
                   const std::vector<std::string>& lines) {
  const auto file = output.Create(name);
  core::Win1252Writer writer(*file);
  for (const std::string& line : lines) writer.WriteLine(line);
  file->Commit();
}

}  // namespace quill::site
