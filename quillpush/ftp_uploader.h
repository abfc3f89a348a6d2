#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "quillpush/site_files.h"
#include "quillpush/transport_security.h"

namespace quill::push {

struct FtpTarget {
  std::string host;  // may carry a port: "myhost:2121"
  std::string user;
  std::string password;
  std::string folder;  // remote folder below the login folder; empty for that folder itself
  Protocol protocol = Protocol::kFtp;
  TransportOptions options;
  std::string project;  // the project's name, for messages that tell what to run
};

// The target the project's settings name; FtpHost may start with "sftp:" or "ftps:".
FtpTarget TargetOf(const std::string& project, const std::string& ftp_host, const std::string& user,
                   const std::string& password, const std::string& folder,
                   const TransportOptions& options);

// Sends files to one server over one reused connection: FTP in passive mode with TLS when
// the server offers it, FTPS with TLS required, or SFTP with the host key checked against
// known_hosts. Missing remote folders are created; connecting and stalls time out.
class FtpUploader {
 public:
  explicit FtpUploader(FtpTarget target);
  ~FtpUploader();
  FtpUploader(const FtpUploader&) = delete;
  FtpUploader& operator=(const FtpUploader&) = delete;

  // Sends one file to its place below the remote folder. `progress` hears the bytes sent so
  // far and returns false to cancel. Failures throw QuillError saying what failed, where,
  // and what the server answered.
  void Send(const SiteFile& file, const std::function<bool(std::uint64_t)>& progress);

  // "ftp://myhost/blog/": where the files go, for messages and the manifest.
  std::string Where() const;

  // The warning due when the password went out in clear text, once the first file is sent;
  // "" when the connection was encrypted.
  std::string SecurityWarning() const;

 private:
  std::string UrlOf(const std::string& name) const;

  FtpTarget target_;
  void* curl_;
  std::string last_reply_;
  ConnectionNotes notes_;
};

// Identifies the account and folder a manifest belongs to: "ftp://ann@myhost/blog".
std::string ManifestTarget(const FtpTarget& target);

}  // namespace quill::push
