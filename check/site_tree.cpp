#include "check/site_tree.h"

#include <algorithm>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/file_names.h"
#include "core/quill_error.h"
#include "core/text.h"

namespace quill::check {
namespace {

namespace fs = std::filesystem;

// Files of the output folder itself that are the program's own and never go up.
bool StaysHome(const std::string& leaf) {
  const std::string database = core::kDatabaseFile;
  return leaf == database || leaf.starts_with(database + "-");
}

bool HasUpperCase(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

}  // namespace

SiteTree::SiteTree(const std::string& folder) : folder_(folder) {
  while (folder_.size() > 1 && (folder_.back() == '/' || folder_.back() == '\\')) {
    folder_.pop_back();
  }
  std::error_code error;
  if (!fs::is_directory(folder_, error)) {
    throw core::QuillError("The output folder " + folder + " does not exist.");
  }
  Walk(folder_, "");
  std::sort(files_.begin(), files_.end());
  std::sort(links_.begin(), links_.end());
}

void SiteTree::Add(std::string name, Kind kind) {
  // A name in lower case is found under its own name; only the others need an index.
  if (HasUpperCase(name)) by_lower_case_[core::AsciiLower(name)].push_back(name);
  if (kind == Kind::File) files_.push_back(name);
  if (kind == Kind::Link) links_.push_back(name);
  kinds_.emplace(std::move(name), kind);
}

// Names are built from the walked names themselves, never from a resolved path.
void SiteTree::Walk(const std::string& path, const std::string& prefix) {
  std::error_code error;
  fs::directory_iterator it(path, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    const std::string leaf = it->path().filename().string();
    const std::string name = prefix + leaf;
    // The type the folder listing gave, asked of the disk only where the listing lacks it.
    const bool link = it->is_symlink(error);
    if (error) break;
    if (link) {
      Add(name, Kind::Link);
    } else if (leaf.starts_with('.') || core::IsTempFileName(leaf) ||
               (prefix.empty() && StaysHome(leaf))) {
      Add(name, Kind::Withheld);
    } else if (it->is_directory(error)) {
      Add(name, Kind::Folder);
      Walk(it->path().string(), name + "/");
    } else if (!error && it->is_regular_file(error)) {
      Add(name, Kind::File);
    }
    if (error) break;
  }
  if (error) throw core::QuillError("Cannot read the folder " + path + ": " + error.message());
}

SiteTree::Kind SiteTree::KindOf(std::string_view name) const {
  const auto found = kinds_.find(name);
  return found == kinds_.end() ? Kind::Missing : found->second;
}

std::vector<std::string> SiteTree::CaseVariants(std::string_view name) const {
  const std::string lower = core::AsciiLower(name);
  std::vector<std::string> variants;
  if (lower != name && kinds_.contains(lower)) variants.push_back(lower);
  const auto found = by_lower_case_.find(lower);
  if (found != by_lower_case_.end()) {
    for (const std::string& variant : found->second) {
      if (variant != name) variants.push_back(variant);
    }
  }
  std::sort(variants.begin(), variants.end());
  return variants;
}

}  // namespace quill::check
