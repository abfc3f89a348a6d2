#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "quillpush/site_files.h"

namespace quill::push {

// The SHA-256 of each site file as an earlier run read it, kept in the output folder so that
// an unchanged run need not read the whole site again. A file's record is trusted while its
// size and modification time are both as recorded and that time lay more than two seconds
// before the record was written: a file written again within the same tick of the clock would
// keep its time. The record is only a shortcut: one that is missing, damaged or cannot be
// written means the files are read, as without it.
class HashCache {
 public:
  // Reads the record at `path`; with `trusted` false (the run that checks the server, too)
  // every file is read again and the record renewed.
  HashCache(std::string path, bool trusted);

  // The file's checksum, from the record or read now (throws QuillError as Sha256OfFile).
  std::string Sha256Of(const SiteFile& file);
  // Writes the checksums this run used, if any differ from the record; failures are ignored.
  void Save() const;

  static constexpr const char* kFileName = ".quillpush-hashes";

 private:
  struct Known {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the file clock's ticks
    std::string sha256;
  };

  void Load();

  std::string path_;
  std::int64_t written_ = 0;
  // When this run began, before any file was read: a file changed since then may have been
  // read before its change, so the next run trusts no checksum of a file that new.
  std::int64_t started_ = 0;
  std::map<std::string, Known> known_;
  std::map<std::string, Known> used_;
  bool changed_ = false;
};

}  // namespace quill::push
