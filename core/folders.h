#pragma once

#include <string>

namespace quill::core {

// Makes `folder` and every folder above it that is missing. Throws QuillError naming the
// folder and the reason when it cannot, or when something other than a folder stands there.
void MakeFolder(const std::string& folder);

// Whether `path` names a folder that exists (a link to one counts).
bool FolderExists(const std::string& path);

}  // namespace quill::core
