#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace quill::push {

// What the server holds, as far as earlier uploads know: each file's size and SHA-256.
// It lives in the output folder and belongs to one target (server, account and folder); a
// manifest of another target counts as empty. The file is a journal: an entry is withdrawn
// on disk before the first byte of its file's new content goes, and written as soon as the
// whole file has arrived, so at any moment it lists only files the server holds whole.
// A manifest that is a symbolic link is neither read nor written through: it counts as
// empty and is replaced by a file of its own.
class Manifest {
 public:
  struct Entry {
    std::uint64_t size = 0;
    std::string sha256;
  };

  Manifest(std::string path, std::string target);
  ~Manifest();
  Manifest(const Manifest&) = delete;
  Manifest& operator=(const Manifest&) = delete;

  // Whether the server already holds this content under this name.
  bool Holds(const std::string& name, std::uint64_t size, const std::string& sha256) const;
  // Withdraws a file's entry on disk before its upload or deletion begins. Throws QuillError
  // when that cannot be written.
  void Forget(const std::string& name);
  // Withdraws several entries with one write to the disk.
  void Forget(const std::vector<std::string>& names);
  // Notes that a file arrived whole; throws QuillError when the note cannot be written.
  void Record(const std::string& name, std::uint64_t size, const std::string& sha256);
  // Rewrites the file with one line per file, replacing it atomically.
  void Compact();

  const std::map<std::string, Entry>& Entries() const { return entries_; }
  // What reading it found amiss, one sentence each, for warnings.
  const std::vector<std::string>& Problems() const { return problems_; }

  static constexpr const char* kFileName = ".quillpush-manifest";

 private:
  void Load();
  void Parse(const std::string& text);
  void Append(const std::string& line, bool sync);

  std::string path_;
  std::string target_;
  std::map<std::string, Entry> entries_;
  std::vector<std::string> problems_;
  std::FILE* journal_ = nullptr;
};

}  // namespace quill::push
