#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace quill::push {

// What the server holds, as far as earlier uploads know: each file's size and SHA-256.
// It lives in the output folder and belongs to one target (server, account and folder); a
// manifest of another target counts as empty. Each upload is appended to the file as soon
// as it has arrived, so an interrupted run leaves an exact record of what got through.
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
  // Notes that a file arrived; throws QuillError when the note cannot be written.
  void Record(const std::string& name, std::uint64_t size, const std::string& sha256);
  // Rewrites the file with one line per file, replacing it atomically.
  void Compact();

  const std::map<std::string, Entry>& Entries() const { return entries_; }

  static constexpr const char* kFileName = ".quillpush-manifest";

 private:
  void Load();
  void StartFile();

  std::string path_;
  std::string target_;
  std::map<std::string, Entry> entries_;
  bool same_target_ = false;
  std::FILE* journal_ = nullptr;
};

}  // namespace quill::push
