#include "quillpush/hash_cache.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/atomic_file.h"
#include "core/quill_error.h"

namespace quill::push {
namespace {

constexpr char kHeader[] = "quillpush-hashes 1";

std::int64_t Ticks(std::filesystem::file_time_type time) {
  return static_cast<std::int64_t>(time.time_since_epoch().count());
}

std::int64_t TwoSeconds() {
  using Duration = std::filesystem::file_time_type::duration;
  return static_cast<std::int64_t>(
      std::chrono::duration_cast<Duration>(std::chrono::seconds(2)).count());
}

bool IsHex64(const std::string& text) {
  if (text.size() != 64) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

}  // namespace

HashCache::HashCache(std::string path, bool trusted) : path_(std::move(path)) {
  started_ = Ticks(std::filesystem::file_time_type::clock::now());
  if (trusted) Load();
  changed_ = !trusted;
}

// Line one: the header and the moment the run that wrote the record began; then one line a file:
// size, modification time, checksum, name. A damaged line ends the reading.
void HashCache::Load() {
  std::ifstream in(path_, std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || !line.starts_with(kHeader)) return;
  std::istringstream header(line.substr(sizeof kHeader - 1));
  if (!(header >> written_)) return;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Known known;
    std::string name;
    if (!(fields >> known.size >> known.modified >> known.sha256) || !IsHex64(known.sha256) ||
        fields.get() != ' ' || !std::getline(fields, name) || name.empty()) {
      known_.clear();
      return;
    }
    known_[name] = std::move(known);
  }
}

std::string HashCache::Sha256Of(const SiteFile& file) {
  const std::int64_t modified = Ticks(file.modified);
  const auto found = known_.find(file.name);
  if (found != known_.end() && found->second.size == file.size &&
      found->second.modified == modified && modified < written_ - TwoSeconds()) {
    used_[file.name] = found->second;
    return found->second.sha256;
  }
  Known known{file.size, modified, Sha256OfFile(file.path)};
  changed_ = true;
  used_[file.name] = known;
  return known.sha256;
}

void HashCache::Save() const {
  if (!changed_ && used_.size() == known_.size()) return;
  try {
    std::string text = std::string(kHeader) + " " + std::to_string(started_) + "\n";
    for (const auto& [name, known] : used_) {
      if (name.find_first_of("\r\n") != std::string::npos) continue;
      text += std::to_string(known.size) + " " + std::to_string(known.modified) + " " +
              known.sha256 + " " + name + "\n";
    }
    core::AtomicFile file(path_);
    file.Write(text);
    file.Commit();
  } catch (const core::QuillError&) {
    // Without the record the next run reads every file, as it would have anyway.
  }
}

}  // namespace quill::push
