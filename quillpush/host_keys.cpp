#include "quillpush/host_keys.h"

#include <openssl/evp.h>
#include <openssl/sha.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/atomic_file.h"
#include "core/quill_error.h"

namespace quill::push {
namespace {

std::string Base64(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                     reinterpret_cast<const unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(length));
  return out;
}

// The first field of an SSH key blob: a 32-bit big-endian length, then the type's name.
std::string BlobType(std::string_view blob) {
  if (blob.size() < 4) return "unknown";
  std::size_t length = 0;
  for (int i = 0; i < 4; ++i) length = (length << 8) | static_cast<unsigned char>(blob[i]);
  if (length == 0 || length > blob.size() - 4) return "unknown";
  return std::string(blob.substr(4, length));
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
  return parts;
}

// Whether a known_hosts line gives `name` a key of `type` in plain (unhashed) form.
bool NamesHostWithType(const std::string& line, const std::string& name, const std::string& type) {
  std::istringstream fields(line);
  std::string hosts, key_type;
  fields >> hosts >> key_type;
  if (hosts.empty() || hosts[0] == '#' || hosts[0] == '@' || hosts[0] == '|') return false;
  if (key_type != type) return false;
  for (const std::string& host : Split(hosts, ',')) {
    if (host == name) return true;
  }
  return false;
}

}  // namespace

HostKey HostKeyFromBlob(std::string_view blob) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(blob.data()), blob.size(), digest);
  std::string fingerprint =
      Base64(std::string_view(reinterpret_cast<const char*>(digest), sizeof digest));
  while (fingerprint.ends_with('=')) fingerprint.pop_back();
  return {BlobType(blob), Base64(blob), "SHA256:" + fingerprint};
}

std::string KnownHostsName(const std::string& host_name, int port) {
  if (port == 0 || port == 22) return host_name;
  return "[" + host_name + "]:" + std::to_string(port);
}

void RecordHostKey(const std::string& path, const std::string& name, const HostKey& key) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(path).parent_path();
  std::error_code error;
  if (!folder.empty() && !fs::exists(folder, error)) {
    fs::create_directories(folder, error);
    if (error) throw core::QuillError("Cannot create " + folder.string() + ": " + error.message());
    fs::permissions(folder, fs::perms::owner_all, error);
  }
  std::string kept;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!NamesHostWithType(line, name, key.type)) kept += line + "\n";
  }
  const bool existed = fs::exists(path, error);
  struct stat before {};
  if (existed) stat(path.c_str(), &before);
  core::AtomicFile file(path);
  // First, so a reader that stops at a line it cannot parse still finds it.
  file.Write(name + " " + key.type + " " + key.base64 + "\n" + kept);
  file.Commit();
  // The rewritten file keeps the mode it had; a new one is for its owner alone.
  const mode_t mode = existed ? (before.st_mode & 07777) : 0600;
  if (chmod(path.c_str(), mode) != 0) {
    throw core::QuillError("Cannot set the permissions of " + path + ": " + std::strerror(errno));
  }
}

}  // namespace quill::push
