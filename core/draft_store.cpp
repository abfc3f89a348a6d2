#include "core/draft_store.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/quill_error.h"

namespace quill::core {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLongestFolderName = 120;

bool KeptAsIs(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '_';
}

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Escaped(unsigned char c) {
  char hex[4];
  std::snprintf(hex, sizeof hex, "%%%02X", c);
  return hex;
}

#ifdef _WIN32
// Windows takes a name of a device (CON, NUL, COM1, …) for that device in every folder, and
// drops the spaces that end a name, so a project's folder would be none or another's.
bool WindowsReadsOtherwise(std::string_view name) {
  if (!name.empty() && name.back() == ' ') return true;
  for (std::string_view device : {"con", "prn", "aux", "nul"}) {
    if (name == device) return true;
  }
  return name.size() == 4 && (name.starts_with("com") || name.starts_with("lpt")) &&
         name[3] >= '0' && name[3] <= '9';
}
#endif

// A file name that stands for the project and for no other: ASCII letters folded to lower
// case (project names ignore their case), everything but letters, digits, space, "-" and "_"
// spelled "%XX", so no name can climb out of the drafts folder or hide itself. On Windows a
// name it would read as a device or cut short has its last character spelled so too. The
// empty name is "~", which no other name gives. A very long name keeps its start and adds a
// hash of the whole.
std::string FolderName(std::string_view project) {
  std::string name;
  for (unsigned char c : project) {
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    name += KeptAsIs(c) ? std::string(1, static_cast<char>(c)) : Escaped(c);
  }
  if (name.empty()) return "~";
#ifdef _WIN32
  if (WindowsReadsOtherwise(name)) {
    const auto last = static_cast<unsigned char>(name.back());
    name.pop_back();
    name += Escaped(last);
  }
#endif
  if (name.size() > kLongestFolderName) {
    char hash[24];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(Fnv1a(name)));
    name = name.substr(0, kLongestFolderName - 20) + hash;
  }
  return name;
}

// Whether a file that could not be found is simply not there. Windows also says "not found"
// when a file stands where one of its folders belongs, which is no missing draft.
bool PlainlyMissing(const std::string& path) {
  std::error_code error;
  for (fs::path folder = fs::path(path).parent_path(); folder.has_relative_path();
       folder = folder.parent_path()) {
    const fs::file_status status = fs::status(folder, error);
    if (fs::exists(status)) return fs::is_directory(status);
  }
  return true;
}

std::optional<std::string> ReadWhole(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    const int error = errno;
    if (error == ENOENT && PlainlyMissing(path)) return std::nullopt;
    throw QuillError("Cannot read " + path + ": " +
                     std::strerror(error == ENOENT ? ENOTDIR : error));
  }
  std::string text;
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) throw QuillError("Cannot read " + path + ": " + std::strerror(error));
  return text;
}

void Remove(const std::string& path) {
  std::error_code error;
  fs::remove(path, error);
  if (error) throw QuillError("Cannot remove " + path + ": " + error.message());
}

}  // namespace

DraftStore::DraftStore(std::string folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

std::string DraftStore::ProjectFolder(std::string_view project) const {
  return folder_ + "drafts/" + FolderName(project) + "/";
}

std::string DraftStore::NewEntryPath(std::string_view project) const {
  return ProjectFolder(project) + "new-entry.txt";
}

std::string DraftStore::EditPath(std::string_view project, const Stamp& entry) const {
  char name[40];
  std::snprintf(name, sizeof name, "entry-%04d%02d%02d-%02d%02d%02d.txt", entry.year, entry.month,
                entry.day, entry.hour, entry.minute, entry.second);
  return ProjectFolder(project) + name;
}

std::optional<std::string> DraftStore::NewEntry(std::string_view project) const {
  return ReadWhole(NewEntryPath(project));
}

std::optional<std::string> DraftStore::Edit(std::string_view project, const Stamp& entry) const {
  return ReadWhole(EditPath(project, entry));
}

void DraftStore::KeepNewEntry(std::string_view project, std::string_view text) {
  if (text.empty()) {
    DropNewEntry(project);
  } else {
    Write(project, NewEntryPath(project), text);
  }
}

void DraftStore::KeepEdit(std::string_view project, const Stamp& entry, std::string_view text) {
  Write(project, EditPath(project, entry), text);
}

void DraftStore::DropNewEntry(std::string_view project) { Remove(NewEntryPath(project)); }

void DraftStore::DropEdit(std::string_view project, const Stamp& entry) {
  Remove(EditPath(project, entry));
}

void DraftStore::MoveEdit(std::string_view project, const Stamp& from, const Stamp& to) {
  const std::string source = EditPath(project, from);
  const std::string target = EditPath(project, to);
  std::error_code error;
  if (!fs::exists(source, error)) return;
  fs::rename(source, target, error);
  if (error) throw QuillError("Cannot move " + source + " to " + target + ": " + error.message());
}

void DraftStore::MakeFolders(std::string_view project) const {
  // Drafts are the user's unpublished writing: only the user may enter these folders.
  const fs::path levels[] = {folder_, folder_ + "drafts", ProjectFolder(project)};
  for (const fs::path& level : levels) {
    std::error_code error;
    if (!fs::is_directory(level, error)) fs::create_directories(level, error);
    if (!error) fs::permissions(level, fs::perms::owner_all, fs::perm_options::replace, error);
    if (error)
      throw QuillError("Cannot make the folder " + level.string() + ": " + error.message());
  }
}

void DraftStore::Write(std::string_view project, const std::string& path, std::string_view text) {
  MakeFolders(project);
  AtomicFile file(path);
  file.Write(text);
  file.Commit();
  std::error_code ignored;  // the folder already keeps everyone else out
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace,
                  ignored);
}

std::string DefaultStateFolder(const char* xdg_state_home, const char* home) {
  std::string base;
  if (xdg_state_home != nullptr && *xdg_state_home != '\0') {
    base = xdg_state_home;
  } else {
    base = home != nullptr ? home : "";
    base += "/.local/state";
  }
  return base + "/quillsmith/";
}

}  // namespace quill::core
