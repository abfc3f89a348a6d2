#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "quillpush/site_files.h"

namespace quill::push {

struct FtpTarget {
  std::string host;  // may carry a port: "myhost:2121"
  std::string user;
  std::string password;
  std::string folder;  // remote folder below the login folder; empty for that folder itself
};

// Sends files to one FTP server over one reused connection: passive mode, TLS when the
// server offers it, missing remote folders created, timeouts on connecting and on stalls.
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

 private:
  std::string UrlOf(const std::string& name) const;

  FtpTarget target_;
  void* curl_;
  std::string last_reply_;
};

}  // namespace quill::push
