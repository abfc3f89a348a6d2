#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_sink.h"
#include "site/page_charset.h"

namespace quill::site {

// The folder the site is generated into. Each file is created whole: what is written
// reaches the folder only when the file is committed.
class SiteOutput {
 public:
  virtual ~SiteOutput() = default;
  virtual std::unique_ptr<core::FileSink> Create(const std::string& name) = 0;
  // The same, for a file whose size is known before it is written. The size only lets an
  // output skip work; what is written decides what the file holds.
  virtual std::unique_ptr<core::FileSink> CreateSized(const std::string& name,
                                                      std::uint64_t /*size*/) {
    return Create(name);
  }
  virtual bool Exists(const std::string& name) const = 0;

  // What tells one version of a file from the next without reading it.
  struct FileFacts {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the output's own units
    bool operator==(const FileFacts&) const = default;
  };
  // The file's facts; nullopt when it is not there or the output cannot tell.
  virtual std::optional<FileFacts> Facts(const std::string& /*name*/) const { return std::nullopt; }
  // Creates `name`, has `write` fill it, commits it and tells the file's facts before and
  // after: what Facts would say around Create and Commit, which an output may know without
  // looking the name up twice more.
  struct Change {
    std::optional<FileFacts> before;
    std::optional<FileFacts> after;
  };
  virtual Change Rewrite(const std::string& name,
                         const std::function<void(core::FileSink&)>& write);
  // The whole of a small file; nullopt when there is none. Throws QuillError when it is
  // there but cannot be read.
  virtual std::optional<std::string> Read(const std::string& name) const;
  // Removes a file; one that is not there is no failure. Throws QuillError naming the file
  // and the reason when it stays.
  virtual void Remove(const std::string& name);
};

// What opening a DiskOutput does about a folder that is not there.
enum class MissingFolder {
  // Says so and writes nothing: the entries live in the output folder, so a site generated
  // without it would be empty (a moved folder, a drive not mounted) and replace the real one
  // at the next upload.
  Refuse,
  // Makes it, with the folders above it: the support files start a new project's folder.
  Create,
};

// A folder on disk; files replace their old versions atomically, and a file whose bytes equal
// the old version's is left as it stands. Opening it removes the temp files a killed or
// crashed build left there.
class DiskOutput final : public SiteOutput {
 public:
  // `folder` ends with a directory separator, as the settings derive it. An empty folder is
  // refused, so nothing is ever written into whatever folder the program runs in. A folder
  // that cannot be used is one core::QuillError naming it and the reason, before any file.
  explicit DiskOutput(std::string folder, MissingFolder missing = MissingFolder::Refuse);

  std::unique_ptr<core::FileSink> Create(const std::string& name) override;
  std::unique_ptr<core::FileSink> CreateSized(const std::string& name, std::uint64_t size) override;
  bool Exists(const std::string& name) const override;
  std::optional<FileFacts> Facts(const std::string& name) const override;
  Change Rewrite(const std::string& name,
                 const std::function<void(core::FileSink&)>& write) override;
  std::optional<std::string> Read(const std::string& name) const override;
  void Remove(const std::string& name) override;

 private:
  std::string folder_;
};

// Writes a file of lines: Windows-1252 (or UTF-8) text, CR LF after every line.
void WriteTextFile(SiteOutput& output, const std::string& name,
                   const std::vector<std::string>& lines,
                   PageCharset charset = PageCharset::Windows1252);

}  // namespace quill::site
