#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "quillpush/site_files.h"
#include "quillpush/transport_security.h"

namespace quill::push {

// Where a project's site goes, as its settings name it.
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

// The server end of an upload: what the uploader needs from a transfer protocol. Every name
// is relative to the remote folder, with "/" between folders. Failures throw QuillError
// saying what failed, where, and what the server answered.
class RemoteSite {
 public:
  virtual ~RemoteSite() = default;

  // Sends one file to its place below the remote folder, creating missing folders. `progress`
  // hears the bytes sent so far and returns false to cancel. Returns once the server has
  // confirmed the whole file.
  virtual void Send(const SiteFile& file, const std::function<bool(std::uint64_t)>& progress) = 0;
  // The size of a remote file; nullopt when the server cannot tell (no such file, or no way
  // to ask).
  virtual std::optional<std::uint64_t> SizeOf(const std::string& name) = 0;
  // Deletes a remote file; one that is already gone is no failure.
  virtual void Remove(const std::string& name) = 0;
  // "ftp://myhost/blog/": where the files go, for messages.
  virtual std::string Where() const = 0;
  // The warning due when the password went out in clear text, once a file was sent; ""
  // when the connection was encrypted.
  virtual std::string SecurityWarning() const = 0;
};

// "sftp://myhost/blog/": where the target's files go, for messages.
std::string DescribeTarget(const FtpTarget& target);

// The remote site the target names.
std::unique_ptr<RemoteSite> OpenRemoteSite(const FtpTarget& target);

}  // namespace quill::push
