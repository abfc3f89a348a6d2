#pragma once

#include <string>
#include <string_view>

namespace quill::push {

// An SSH server's public host key.
struct HostKey {
  std::string type;         // "ssh-ed25519", "ecdsa-sha2-nistp256", "ssh-rsa", ...
  std::string base64;       // the key as a known_hosts line holds it
  std::string fingerprint;  // "SHA256:…", as ssh-keygen -l and ssh show it
};

// The key from the raw blob the server sent (its type is the blob's first field).
HostKey HostKeyFromBlob(std::string_view blob);

// How known_hosts names a host: "example.org" on port 22 (or none), else "[example.org]:2222".
std::string KnownHostsName(const std::string& host_name, int port);

// Trusts `key` for `name` from now on: writes it atop the known_hosts file `path`, replacing
// earlier plain lines that give the same host a key of the same type, and leaving every
// other line as it was. Creates the file (0600) and its folder (0700) when missing. Throws
// QuillError naming the file and the reason when it cannot be written.
void RecordHostKey(const std::string& path, const std::string& name, const HostKey& key);

}  // namespace quill::push
