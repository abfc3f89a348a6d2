#pragma once

#include <string>

namespace quill::core {

// Keeps what holds a secret (the settings with their upload passwords, the entries not yet
// published) for its owner alone. A missing file is created empty with mode 0600; an
// existing one loses every right of its group and of others. A folder gets 0700 the same
// way. Both are best effort: a file that cannot be changed is left to the open that follows,
// which says what is wrong with it. On Windows the user's profile is private already.
void MakeFilePrivate(const std::string& path);
void MakeFolderPrivate(const std::string& path);

}  // namespace quill::core
