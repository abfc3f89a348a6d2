#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "quillpush/remote_site.h"
#include "quillpush/transport_security.h"

namespace quill::push {

class TransferPool;
struct Outcome;
struct Request;

// Sends files to one server over a few connections at once, each logged in once for the
// whole run: FTP in passive mode with TLS when the server offers it, FTPS with TLS required,
// or SFTP with the host key checked against known_hosts on every connection. FTP commands
// name whole paths, so no request walks from folder to folder; missing folders are made once.
// Sizes are checked in batches: one listing per folder, or a few SIZE commands in a row.
// Connecting and stalls time out.
class FtpUploader final : public RemoteSite {
 public:
  FtpUploader(FtpTarget target, int connections);
  ~FtpUploader() override;
  FtpUploader(const FtpUploader&) = delete;
  FtpUploader& operator=(const FtpUploader&) = delete;

  void KnowFolders(const std::set<std::string>& folders) override;
  void Send(const std::vector<const SiteFile*>& files, SendListener& listener) override;
  std::map<std::string, std::uint64_t> SizesOf(const std::vector<std::string>& names,
                                               SendListener& listener) override;
  RemoteTree List(SendListener& listener) override;
  void Remove(const std::vector<std::string>& names,
              const std::function<void(const std::string&)>& deleted,
              SendListener& listener) override;
  std::string Where() const override;
  std::string SecurityWarning() const override;

 private:
  using Sizes = std::map<std::string, std::uint64_t>;
  using Entries = std::function<void(const std::vector<struct ListedEntry>&)>;

  bool Sftp() const;
  std::string Root() const;
  std::string PathOf(const std::string& name) const;
  std::string UrlOf(const std::string& name) const;
  std::string FolderUrl(const std::string& folder) const;
  // What every request shares: the protocol's security, the account, timeouts.
  void Share(void* curl, int slot);
  void Heard(const Outcome& outcome);
  [[noreturn]] void Fail(const std::string& what, const Outcome& outcome) const;

  std::vector<std::string> MissingFolders(const std::string& name) const;
  void MakeFolders(const std::vector<const SiteFile*>& files, SendListener& listener);
  Request Upload(const SiteFile& file, SendListener& listener, bool again, bool ask_size);
  Request Listing(const std::string& folder, Entries then);
  Request SizeCommands(const std::vector<std::string>& names, Sizes& sizes,
                       std::vector<std::string>& unsure);
  Request Stat(const std::string& name, Sizes& sizes);
  void ListForSizes(const std::string& folder, const std::vector<std::string>& names, Sizes& sizes);

  FtpTarget target_;
  std::vector<ConnectionNotes> notes_;  // one for each handle of the pool
  std::unique_ptr<TransferPool> pool_;
  std::set<std::string> folders_;  // remote folders known to be there, as commands name them
  bool clear_login_ = false;       // a login went without TLS
  bool mlsd_ = true;               // the server lists with MLSD
};

// Identifies the account and folder a manifest belongs to: "ftp://ann@myhost/blog".
std::string ManifestTarget(const FtpTarget& target);

// A remote path with every part percent-encoded, as a URL holds it; "/" stays.
std::string EscapedPath(const std::string& path);

}  // namespace quill::push
