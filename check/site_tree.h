#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quill::check {

// The output folder as the server will hold it after an upload: its files and folders by
// name, "/" between folders. Symbolic links are listed but never followed, so nothing outside
// the folder is ever looked at; what the uploader keeps at home (the entry database, hidden
// files, the generator's temp files) is known but withheld.
class SiteTree {
 public:
  enum class Kind { Missing, File, Folder, Link, Withheld };

  // Walks `folder` (with or without a trailing separator). Throws core::QuillError naming the
  // folder and the reason when it cannot be read.
  explicit SiteTree(const std::string& folder);

  // `name` relative to the output folder, without a trailing "/".
  Kind KindOf(std::string_view name) const;
  // The names that differ from `name` only in the letter case of ASCII letters.
  std::vector<std::string> CaseVariants(std::string_view name) const;

  const std::string& Folder() const { return folder_; }
  // Every regular file the upload sends, sorted by name.
  const std::vector<std::string>& Files() const { return files_; }
  // Every symbolic link, sorted by name.
  const std::vector<std::string>& Links() const { return links_; }

 private:
  void Walk(const std::string& path, const std::string& prefix);
  void Add(std::string name, Kind kind);

  // Looks names up as they stand, without making a string of each.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };

  std::string folder_;
  std::unordered_map<std::string, Kind, NameHash, std::equal_to<>> kinds_;
  // The names with upper-case letters, by their lower-case spelling.
  std::unordered_map<std::string, std::vector<std::string>> by_lower_case_;
  std::vector<std::string> files_;
  std::vector<std::string> links_;
};

}  // namespace quill::check
