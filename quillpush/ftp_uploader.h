#pragma once

#include <set>
#include <string>
#include <vector>

#include "quillpush/remote_site.h"
#include "quillpush/transport_security.h"

namespace quill::push {

// Sends files to one server over one reused connection: FTP in passive mode with TLS when
// the server offers it, FTPS with TLS required, or SFTP with the host key checked against
// known_hosts. Missing remote folders are created; connecting and stalls time out.
class FtpUploader final : public RemoteSite {
 public:
  explicit FtpUploader(FtpTarget target);
  ~FtpUploader() override;
  FtpUploader(const FtpUploader&) = delete;
  FtpUploader& operator=(const FtpUploader&) = delete;

  void Send(const SiteFile& file, const std::function<bool(std::uint64_t)>& progress) override;
  std::optional<std::uint64_t> SizeOf(const std::string& name) override;
  void Remove(const std::string& name) override;
  std::string Where() const override;
  std::string SecurityWarning() const override;

 private:
  std::string UrlOf(const std::string& name) const;
  // Sets what every request shares: the protocol's security, account, timeouts, the reply
  // catcher.
  void Prepare(const std::string& url, char* error);
  [[noreturn]] void Fail(const std::string& what, int result, const char* error) const;
  // Sends remote commands on the connection; a command starting with "*" may fail.
  void Command(const std::string& url, const std::vector<std::string>& commands,
               const std::string& what);
  // Makes the remote folders a file goes into, unless this run made them already.
  void MakeFolders(const std::string& name);

  FtpTarget target_;
  void* curl_;
  std::string last_reply_;
  ConnectionNotes notes_;
  std::set<std::string> folders_;
};

// Identifies the account and folder a manifest belongs to: "ftp://ann@myhost/blog".
std::string ManifestTarget(const FtpTarget& target);

}  // namespace quill::push
