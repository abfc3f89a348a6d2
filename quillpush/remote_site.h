#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

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

// Hears how a batch of requests to the server goes.
class SendListener {
 public:
  virtual ~SendListener() = default;
  // The bytes of the batch's files sent so far, over every connection together; false
  // cancels the upload.
  virtual bool Progress(std::uint64_t bytes) = 0;
  // The server confirmed a file whole with its final reply, and told its size along with it
  // when `held` is set (otherwise it is asked apart).
  virtual void Arrived(const SiteFile& file, std::optional<std::uint64_t> held) = 0;
  // Something the user should know that does not stop the upload.
  virtual void Warn(const std::string& text) = 0;
};

// Every file below the remote folder, by name relative to it, with its size.
using RemoteTree = std::map<std::string, std::uint64_t>;

// The server end of an upload: what the uploader needs from a transfer protocol. Every name
// is relative to the remote folder, with "/" between folders. Failures throw QuillError
// saying what failed, where, and what the server answered.
class RemoteSite {
 public:
  virtual ~RemoteSite() = default;

  // Folders known to be on the server already (those of files it holds), so no request
  // goes to make them.
  virtual void KnowFolders(const std::set<std::string>& folders) = 0;
  // Sends the files to their places below the remote folder, several at once, creating
  // missing folders, and returns once the server has confirmed each whole. On a failure that
  // trying again did not mend, the transfers under way end first (the listener hears those
  // that arrived), then it throws naming the file.
  virtual void Send(const std::vector<const SiteFile*>& files, SendListener& listener) = 0;
  // The sizes the server gives for these names, asked with as few requests as it can; a name
  // the server does not hold is left out. Throws when the server cannot tell.
  virtual std::map<std::string, std::uint64_t> SizesOf(const std::vector<std::string>& names,
                                                       SendListener& listener) = 0;
  // Everything below the remote folder, read from the server's own listings.
  virtual RemoteTree List(SendListener& listener) = 0;
  // Deletes remote files, telling `deleted` of each as soon as it is gone; one that is
  // already gone is no failure.
  virtual void Remove(const std::vector<std::string>& names,
                      const std::function<void(const std::string&)>& deleted,
                      SendListener& listener) = 0;
  // "ftp://myhost/blog/": where the files go, for messages.
  virtual std::string Where() const = 0;
  // The warning due when the password went out in clear text, once a file was sent; ""
  // when the connection was encrypted.
  virtual std::string SecurityWarning() const = 0;
};

// "sftp://myhost/blog/": where the target's files go, for messages.
std::string DescribeTarget(const FtpTarget& target);

// The remote site the target names, reached over at most `connections` connections at once.
std::unique_ptr<RemoteSite> OpenRemoteSite(const FtpTarget& target, int connections);

}  // namespace quill::push
