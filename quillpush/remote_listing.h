#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill::push {

// One entry of a remote folder's listing.
struct ListedEntry {
  std::string name;  // as the folder holds it, without any folder before it
  bool folder = false;
  std::uint64_t size = 0;
};

// How the server listed the folder: MLSD's facts ("type=file;size=12;…; name"), or the form of
// `ls -l` that LIST answers with on most servers and that SFTP servers give each entry
// ("-rw-r--r--   1 ann  ann  12 Dec 07 09:00 name").
enum class ListingForm { kMlsd, kLong };

// The files and folders a listing names. The folder itself, its parent, symbolic links and
// lines of another form are left out.
std::vector<ListedEntry> ParseListing(std::string_view text, ListingForm form);

// One line of either form; nullopt for a line naming no file or folder.
std::optional<ListedEntry> ParseMlsdLine(std::string_view line);
std::optional<ListedEntry> ParseLongLine(std::string_view line);

}  // namespace quill::push
