#include "core/folders.h"

#include <filesystem>
#include <system_error>

#include "core/quill_error.h"

namespace quill::core {

void MakeFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (FolderExists(folder)) return;
  std::error_code ignored;
  const std::string reason = std::filesystem::exists(folder, ignored)
                                 ? std::string("a file of that name stands in its place")
                                 : error.message();
  throw QuillError("Cannot create the folder " + folder + ": " + reason);
}

bool FolderExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(path, ignored);
}

}  // namespace quill::core
