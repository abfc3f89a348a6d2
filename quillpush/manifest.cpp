#include "quillpush/manifest.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/atomic_file.h"
#include "core/quill_error.h"
#include "quillpush/remote_name.h"

namespace quill::push {
namespace {

constexpr const char* kHeader = "quillpush manifest 2";
constexpr const char* kFirstHeader = "quillpush manifest 1";  // read, never written
constexpr const char* kWithdrawn = "-\t-\t";

std::string Line(const std::string& name, const Manifest::Entry& entry) {
  return entry.sha256 + "\t" + std::to_string(entry.size) + "\t" + name + "\n";
}

// Opens the manifest without following a symbolic link; nullptr with errno set otherwise.
std::FILE* OpenNoFollow(const std::string& path, bool append) {
#ifdef _WIN32
  return std::fopen(path.c_str(), append ? "ab" : "rb");
#else
  const int flags = append ? O_WRONLY | O_APPEND : O_RDONLY;
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, append ? "ab" : "rb");
  if (file == nullptr) ::close(fd);
  return file;
#endif
}

}  // namespace

Manifest::Manifest(std::string path, std::string target)
    : path_(std::move(path)), target_(std::move(target)) {
  Load();
}

Manifest::~Manifest() {
  if (journal_ != nullptr) std::fclose(journal_);
}

void Manifest::Load() {
  std::FILE* file = OpenNoFollow(path_, false);
  if (file == nullptr) {
    if (errno == ELOOP) {
      problems_.push_back(path_ + " is a symbolic link; it was not read and is replaced by a " +
                          "file of its own, so every file is sent again.");
    }
    return;
  }
  std::string text;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  Parse(text);
}

void Manifest::Parse(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  if (!std::getline(lines, line) || (line != kHeader && line != kFirstHeader)) return;
  if (!std::getline(lines, line) || line != "target " + target_) return;
  while (std::getline(lines, line)) {
    if (lines.eof() && !text.ends_with('\n')) break;  // cut short by a crash
    const auto tab1 = line.find('\t');
    const auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) continue;
    const std::string name = line.substr(tab2 + 1);
    if (!StaysInside(name)) {
      problems_.push_back(path_ + " lists \"" + Printable(name) +
                          "\", which is no name inside the remote folder; it is ignored.");
      continue;
    }
    if (line.starts_with(kWithdrawn)) {
      entries_.erase(name);
      continue;
    }
    if (tab1 != 64) continue;
    Entry entry;
    entry.sha256 = line.substr(0, tab1);
    try {
      entry.size = std::stoull(line.substr(tab1 + 1, tab2 - tab1 - 1));
    } catch (const std::exception&) {
      continue;
    }
    entries_[name] = entry;
  }
}

bool Manifest::Holds(const std::string& name, std::uint64_t size, const std::string& sha256) const {
  const auto found = entries_.find(name);
  return found != entries_.end() && found->second.size == size && found->second.sha256 == sha256;
}

void Manifest::Append(const std::string& line, bool sync) {
  if (journal_ == nullptr) {
    // A clean start: this target's header and what is known, then the journal grows on it.
    Compact();
    journal_ = OpenNoFollow(path_, true);
    if (journal_ == nullptr) {
      throw core::QuillError("Cannot write " + path_ + ": " + std::strerror(errno));
    }
  }
  bool written = std::fwrite(line.data(), 1, line.size(), journal_) == line.size() &&
                 std::fflush(journal_) == 0;
#ifndef _WIN32
  if (written && sync) written = ::fdatasync(::fileno(journal_)) == 0;
#endif
  if (!written) throw core::QuillError("Cannot write " + path_ + ": " + std::strerror(errno));
}

void Manifest::Forget(const std::string& name) {
  if (entries_.find(name) == entries_.end()) return;
  // On disk before anything else happens: a cut-off upload must never look complete.
  Append(kWithdrawn + name + "\n", true);
  entries_.erase(name);
}

void Manifest::Forget(const std::vector<std::string>& names) {
  std::string lines;
  for (const std::string& name : names) {
    if (entries_.count(name) != 0) lines += kWithdrawn + name + "\n";
  }
  if (lines.empty()) return;
  Append(lines, true);
  for (const std::string& name : names) entries_.erase(name);
}

void Manifest::Record(const std::string& name, std::uint64_t size, const std::string& sha256) {
  const Entry entry{size, sha256};
  Append(Line(name, entry), false);
  entries_[name] = entry;
}

void Manifest::Compact() {
  if (journal_ != nullptr) {
    std::fclose(journal_);
    journal_ = nullptr;
  }
  std::string text = std::string(kHeader) + "\ntarget " + target_ + "\n";
  for (const auto& [name, entry] : entries_) text += Line(name, entry);
  // The new file is renamed over the old name, which replaces a link rather than its target.
  core::AtomicFile file(path_);
  file.Write(text);
  file.Commit();
}

}  // namespace quill::push
