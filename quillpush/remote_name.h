#pragma once

#include <string>
#include <string_view>

namespace quill::push {

// Why a site file's name cannot go to the server as it stands: control characters (an FTP
// command ends at a line break), a backslash (a folder separator on some servers), or bytes
// that are not UTF-8. Empty when the name can go.
std::string UnsendableReason(std::string_view name);

// Whether a name stays inside the remote folder: relative, made of non-empty parts none of
// which is "." or "..", and sendable. Names read back from the manifest must pass.
bool StaysInside(std::string_view name);

// The name as a message can show it: control characters and stray bytes as \xNN.
std::string Printable(std::string_view name);

}  // namespace quill::push
