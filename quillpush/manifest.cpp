#include "quillpush/manifest.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/atomic_file.h"
#include "core/quill_error.h"

namespace quill::push {
namespace {

constexpr const char* kHeader = "quillpush manifest 1";

std::string Line(const std::string& name, const Manifest::Entry& entry) {
  return entry.sha256 + "\t" + std::to_string(entry.size) + "\t" + name + "\n";
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
  std::ifstream in(path_, std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return;
  if (!std::getline(in, line) || line != "target " + target_) return;
  same_target_ = true;
  // A line cut short by a crash has no final line break and is left out.
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream lines(text);
  while (std::getline(lines, line)) {
    if (lines.eof() && !text.ends_with('\n')) break;
    const auto tab1 = line.find('\t');
    const auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos || tab1 != 64) continue;
    Entry entry;
    entry.sha256 = line.substr(0, tab1);
    try {
      entry.size = std::stoull(line.substr(tab1 + 1, tab2 - tab1 - 1));
    } catch (const std::exception&) {
      continue;
    }
    entries_[line.substr(tab2 + 1)] = entry;
  }
}

bool Manifest::Holds(const std::string& name, std::uint64_t size, const std::string& sha256) const {
  const auto found = entries_.find(name);
  return found != entries_.end() && found->second.size == size && found->second.sha256 == sha256;
}

void Manifest::StartFile() {
  if (!same_target_) {
    // Another target, or none yet: begin a fresh record for this one.
    core::AtomicFile file(path_);
    file.Write(std::string(kHeader) + "\ntarget " + target_ + "\n");
    file.Commit();
    same_target_ = true;
  }
  journal_ = std::fopen(path_.c_str(), "ab");
  if (journal_ == nullptr) {
    throw core::QuillError("Cannot write " + path_ + ": " + std::strerror(errno));
  }
}

void Manifest::Record(const std::string& name, std::uint64_t size, const std::string& sha256) {
  if (journal_ == nullptr) StartFile();
  const Entry entry{size, sha256};
  const std::string line = Line(name, entry);
  if (std::fwrite(line.data(), 1, line.size(), journal_) != line.size() ||
      std::fflush(journal_) != 0) {
    throw core::QuillError("Cannot write " + path_ + ": " + std::strerror(errno));
  }
  entries_[name] = entry;
}

void Manifest::Compact() {
  if (journal_ != nullptr) {
    std::fclose(journal_);
    journal_ = nullptr;
  }
  std::string text = std::string(kHeader) + "\ntarget " + target_ + "\n";
  for (const auto& [name, entry] : entries_) text += Line(name, entry);
  core::AtomicFile file(path_);
  file.Write(text);
  file.Commit();
  same_target_ = true;
}

}  // namespace quill::push
