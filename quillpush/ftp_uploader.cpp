#include "quillpush/ftp_uploader.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include "core/quill_error.h"
#include "quillpush/remote_listing.h"
#include "quillpush/transfer_pool.h"

namespace quill::push {
namespace {

constexpr long kConnectSeconds = 20;
constexpr long kStallSeconds = 60;

// The folder part of a remote path, "" for a name in the login folder itself.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LeafOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (name.empty()) return folder;
  return folder + "/" + name;
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && !folder.ends_with('/')) folder += '/';
  return folder;
}

// A path as an SFTP command takes it, in double quotes.
std::string Quoted(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// "213 1234" as an FTP reply's final line has it, not "213-" continuing one.
bool IsFinalReply(const std::string& line) {
  return line.size() >= 3 &&
         std::all_of(line.begin(), line.begin() + 3,
                     [](unsigned char c) { return std::isdigit(c) != 0; }) &&
         (line.size() == 3 || line[3] == ' ');
}

void NoBody(void* curl) { curl_easy_setopt(static_cast<CURL*>(curl), CURLOPT_NOBODY, 1L); }

// The size a "213 1234" reply gives, or nullopt for any other reply.
std::optional<std::uint64_t> SizeReply(const std::string& reply) {
  if (!reply.starts_with("213 ") || reply.size() == 4 ||
      reply.find_first_not_of("0123456789", 4) != std::string::npos || reply.size() > 24) {
    return std::nullopt;
  }
  return std::stoull(reply.substr(4));
}

}  // namespace

std::string EscapedPath(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

FtpTarget TargetOf(const std::string& project, const std::string& ftp_host, const std::string& user,
                   const std::string& password, const std::string& folder,
                   const TransportOptions& options) {
  const RemoteAddress address = ParseRemoteAddress(ftp_host);
  FtpTarget target{address.host, user, password, folder, address.protocol, options, project};
  return target;
}

std::string ManifestTarget(const FtpTarget& target) {
  // FTP and FTPS reach the same files; an SFTP login may see other folders.
  const std::string scheme = target.protocol == Protocol::kSftp ? "sftp" : "ftp";
  return scheme + "://" + target.user + "@" + target.host + "/" + target.folder;
}

std::string DescribeTarget(const FtpTarget& target) {
  return std::string(SchemeName(target.protocol)) + "://" + target.host + "/" +
         WithSlash(target.folder);
}

std::unique_ptr<RemoteSite> OpenRemoteSite(const FtpTarget& target, int connections) {
  return std::make_unique<FtpUploader>(target, connections);
}

FtpUploader::FtpUploader(FtpTarget target, int connections)
    : target_(std::move(target)), notes_(static_cast<std::size_t>(std::max(1, connections))) {
  while (target_.folder.ends_with('/')) target_.folder.pop_back();
  pool_ = std::make_unique<TransferPool>(
      connections, [this](void* curl, int slot) { Share(curl, slot); }, target_.host);
}

FtpUploader::~FtpUploader() = default;

bool FtpUploader::Sftp() const { return target_.protocol == Protocol::kSftp; }

std::string FtpUploader::Where() const { return DescribeTarget(target_); }

std::string FtpUploader::SecurityWarning() const {
  return clear_login_ ? ClearTextWarning(target_, ConnectionNotes{}) : std::string();
}

// SFTP paths start at the server's root; "~" is the login folder, as FTP has it.
std::string FtpUploader::Root() const {
  return (Sftp() ? "sftp://" : "ftp://") + target_.host + (Sftp() ? "/~/" : "/");
}

std::string FtpUploader::PathOf(const std::string& name) const {
  return Joined(target_.folder, name);
}

std::string FtpUploader::UrlOf(const std::string& name) const {
  return Root() + EscapedPath(PathOf(name));
}

std::string FtpUploader::FolderUrl(const std::string& folder) const {
  return Root() + WithSlash(EscapedPath(PathOf(folder)));
}

void FtpUploader::Share(void* handle, int slot) {
  CURL* curl = static_cast<CURL*>(handle);
  ConnectionNotes& notes = notes_[static_cast<std::size_t>(slot)];
  notes = ConnectionNotes{};  // what a new connection of this request learns
  if (Sftp()) {
    ApplySftpSecurity(curl, target_, notes);
  } else {
    ApplyFtpSecurity(curl, target_);
  }
  curl_easy_setopt(curl, CURLOPT_USERNAME, target_.user.c_str());
  curl_easy_setopt(curl, CURLOPT_PASSWORD, target_.password.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  // The whole path goes with each command: no walk from folder to folder for every file.
  curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
}

// A login that no 234 (TLS agreed) went before was made in clear text.
void FtpUploader::Heard(const Outcome& outcome) {
  if (Sftp()) return;
  bool tls = false;
  for (const std::string& reply : outcome.replies) {
    if (reply.starts_with("234")) tls = true;
    if (reply.starts_with("230") && !tls) clear_login_ = true;
  }
}

void FtpUploader::Fail(const std::string& what, const Outcome& outcome) const {
  const std::string refused = ExplainSecurityFailure(
      outcome.code, outcome.error, target_, notes_[static_cast<std::size_t>(outcome.slot)]);
  if (!refused.empty()) throw core::QuillError(refused);
  std::string message = what + ": " + outcome.error;
  if (!outcome.LastReply().empty()) message += " (the server said: " + outcome.LastReply() + ")";
  if (outcome.tries > 1) message += "; it went " + std::to_string(outcome.tries) + " times";
  throw core::QuillError(message);
}

void FtpUploader::KnowFolders(const std::set<std::string>& folders) {
  for (const std::string& folder : folders) {
    for (std::string path = PathOf(folder); !path.empty(); path = FolderOf(path)) {
      if (!folders_.insert(path).second) break;
    }
  }
}

// The folders above a file that are not known to be there, the outermost first.
std::vector<std::string> FtpUploader::MissingFolders(const std::string& name) const {
  std::vector<std::string> missing;
  for (std::string path = FolderOf(PathOf(name)); !path.empty() && folders_.count(path) == 0;
       path = FolderOf(path)) {
    missing.insert(missing.begin(), path);
  }
  return missing;
}

// FTP, which no longer walks into each folder, is told to make the folders a batch needs,
// once; SFTP makes what is missing itself, when a file cannot be opened.
void FtpUploader::MakeFolders(const std::vector<const SiteFile*>& files, SendListener& listener) {
  if (Sftp()) return;
  std::set<std::string> folders;
  for (const SiteFile* file : files) {
    for (const std::string& folder : MissingFolders(file->name)) folders.insert(folder);
  }
  if (folders.empty()) return;
  Request request;
  request.url = Root();
  for (const std::string& folder : folders) request.commands.push_back("*MKD " + folder);
  request.options = &NoBody;
  request.done = [this, folders](const Outcome& outcome) {
    Heard(outcome);
    if (outcome.code != CURLE_OK) Fail("Cannot make folders on " + Where(), outcome);
    folders_.insert(folders.begin(), folders.end());
  };
  pool_->Add(std::move(request));
  // Meanwhile the connections the files will need log in; what fails here, the uploads say.
  const std::size_t more = std::min(files.size(), static_cast<std::size_t>(pool_->Connections()));
  for (std::size_t i = 1; i < more; ++i) {
    Request login;
    login.url = Root();
    login.options = &NoBody;
    login.done = [this](const Outcome& outcome) { Heard(outcome); };
    pool_->Add(std::move(login));
  }
  pool_->Run(listener);
}

Request FtpUploader::Upload(const SiteFile& file, SendListener& listener, bool again,
                            bool ask_size) {
  Request request;
  request.url = UrlOf(file.name);
  request.file = &file;
  // The size asked right after the transfer, on its connection, costs one reply; a batch's
  // size check costs a listing at least.
  if (ask_size) request.after.push_back("*SIZE " + PathOf(file.name));
  if (Sftp()) {
    request.options = [](void* curl) {
      curl_easy_setopt(static_cast<CURL*>(curl), CURLOPT_FTP_CREATE_MISSING_DIRS,
                       static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    };
  }
  request.done = [this, &file, &listener, again, ask_size](const Outcome& outcome) {
    Heard(outcome);
    const bool no_folder =
        outcome.code == CURLE_UPLOAD_FAILED && (outcome.response == 550 || outcome.response == 553);
    if (no_folder && !again && !Sftp()) {
      // A folder known from earlier uploads may have gone since: made again, once.
      for (std::string path = FolderOf(PathOf(file.name)); !path.empty(); path = FolderOf(path)) {
        folders_.erase(path);
      }
      Request folders;
      folders.url = Root();
      for (const std::string& path : MissingFolders(file.name)) {
        folders.commands.push_back("*MKD " + path);
      }
      folders.options = &NoBody;
      folders.done = [this, &file, &listener, ask_size](const Outcome&) {
        pool_->Add(Upload(file, listener, true, ask_size));
      };
      pool_->Add(std::move(folders));
      return;
    }
    if (outcome.code != CURLE_OK) Fail("Cannot send " + file.name + " to " + Where(), outcome);
    // The server's final reply came; the bytes that went must also be the whole file.
    if (outcome.uploaded != file.size) {
      throw core::QuillError("Cannot send " + file.name + " to " + Where() + ": " +
                             std::to_string(outcome.uploaded) + " of its " +
                             std::to_string(file.size) +
                             " bytes went (the file changed while it was sent?)");
    }
    listener.Arrived(file, ask_size ? SizeReply(outcome.LastReply()) : std::nullopt);
  };
  return request;
}

void FtpUploader::Send(const std::vector<const SiteFile*>& files, SendListener& listener) {
  MakeFolders(files, listener);
  const bool ask_sizes =
      !Sftp() && files.size() <= 2 * static_cast<std::size_t>(pool_->Connections());
  for (const SiteFile* file : files) pool_->Add(Upload(*file, listener, false, ask_sizes));
  pool_->Run(listener);
}

Request FtpUploader::Listing(const std::string& folder, Entries then) {
  Request request;
  request.url = FolderUrl(folder);
  const bool mlsd = mlsd_ && !Sftp();
  if (mlsd) {
    request.options = [](void* curl) {
      curl_easy_setopt(static_cast<CURL*>(curl), CURLOPT_CUSTOMREQUEST, "MLSD");
    };
  }
  request.done = [this, folder, then, mlsd](const Outcome& outcome) {
    Heard(outcome);
    if (outcome.code == CURLE_OK) {
      folders_.insert(PathOf(folder));
      then(ParseListing(outcome.body, mlsd ? ListingForm::kMlsd : ListingForm::kLong));
      return;
    }
    const long said = outcome.response;
    if (mlsd && (said == 500 || said == 501 || said == 502 || said == 504)) {
      mlsd_ = false;  // a server without MLSD lists with LIST
      pool_->Add(Listing(folder, then));
      return;
    }
    if (outcome.code == CURLE_REMOTE_FILE_NOT_FOUND || (!Sftp() && said == 550)) {
      then({});  // no such folder: nothing in it
      return;
    }
    Fail("Cannot list the folder " + WithSlash(PathOf(folder)) + " on " + Where(), outcome);
  };
  return request;
}

RemoteTree FtpUploader::List(SendListener& listener) {
  RemoteTree tree;
  std::function<void(const std::string&)> visit = [&](const std::string& folder) {
    pool_->Add(Listing(folder, [&, folder](const std::vector<ListedEntry>& entries) {
      for (const ListedEntry& entry : entries) {
        const std::string name = Joined(folder, entry.name);
        if (entry.folder) {
          visit(name);
        } else {
          tree[name] = entry.size;
        }
      }
    }));
  };
  visit("");
  pool_->Run(listener);
  return tree;
}

// SIZE for each name, in a row on one connection, in binary (a server may count lines
// otherwise, or refuse); a reply that is neither a size nor "no such file" leaves the name
// unsure.
Request FtpUploader::SizeCommands(const std::vector<std::string>& names, Sizes& sizes,
                                  std::vector<std::string>& unsure) {
  Request request;
  request.url = Root();
  request.commands.push_back("TYPE I");
  for (const std::string& name : names) request.commands.push_back("*SIZE " + PathOf(name));
  request.options = &NoBody;
  request.done = [this, names, &sizes, &unsure](const Outcome& outcome) {
    Heard(outcome);
    if (outcome.code != CURLE_OK) Fail("Cannot ask " + Where() + " for sizes", outcome);
    std::vector<std::string> finals;
    for (const std::string& reply : outcome.replies) {
      if (IsFinalReply(reply)) finals.push_back(reply);
    }
    // The last replies answer the SIZE commands, one each, in order.
    const std::size_t first = finals.size() >= names.size() ? finals.size() - names.size() : 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string reply = first + i < finals.size() ? finals[first + i] : "";
      if (const std::optional<std::uint64_t> size = SizeReply(reply)) {
        sizes[names[i]] = *size;
      } else if (!reply.starts_with("550")) {
        unsure.push_back(names[i]);
      }
    }
  };
  return request;
}

Request FtpUploader::Stat(const std::string& name, Sizes& sizes) {
  Request request;
  request.url = UrlOf(name);
  request.options = &NoBody;
  request.done = [this, name, &sizes](const Outcome& outcome) {
    if (outcome.code == CURLE_REMOTE_FILE_NOT_FOUND) return;
    if (outcome.code != CURLE_OK || outcome.length < 0) {
      Fail("Cannot ask " + Where() + " for " + name, outcome);
    }
    sizes[name] = static_cast<std::uint64_t>(outcome.length);
  };
  return request;
}

void FtpUploader::ListForSizes(const std::string& folder, const std::vector<std::string>& names,
                               Sizes& sizes) {
  pool_->Add(Listing(folder, [names, &sizes](const std::vector<ListedEntry>& entries) {
    std::map<std::string, std::uint64_t> listed;
    for (const ListedEntry& entry : entries) {
      if (!entry.folder) listed[entry.name] = entry.size;
    }
    for (const std::string& name : names) {
      const auto found = listed.find(LeafOf(name));
      if (found != listed.end()) sizes[name] = found->second;
    }
  }));
}

std::map<std::string, std::uint64_t> FtpUploader::SizesOf(const std::vector<std::string>& names,
                                                          SendListener& listener) {
  // One listing costs about as much as a few SIZE commands on every connection: folders with
  // more names than that are listed.
  const std::size_t few = 2 * static_cast<std::size_t>(pool_->Connections());
  std::map<std::string, std::vector<std::string>> by_folder;
  for (const std::string& name : names) by_folder[FolderOf(name)].push_back(name);
  Sizes sizes;
  std::vector<std::string> one_by_one;
  for (const auto& [folder, in_folder] : by_folder) {
    if (in_folder.size() > few) {
      ListForSizes(folder, in_folder, sizes);
    } else {
      one_by_one.insert(one_by_one.end(), in_folder.begin(), in_folder.end());
    }
  }
  std::vector<std::string> unsure;
  if (Sftp()) {
    for (const std::string& name : one_by_one) pool_->Add(Stat(name, sizes));
  } else if (!one_by_one.empty()) {
    const std::size_t rows = std::min(one_by_one.size(), few / 2);
    std::vector<std::vector<std::string>> shares(rows);
    for (std::size_t i = 0; i < one_by_one.size(); ++i) shares[i % rows].push_back(one_by_one[i]);
    for (const auto& share : shares) pool_->Add(SizeCommands(share, sizes, unsure));
  }
  pool_->Run(listener);
  if (unsure.empty()) return sizes;
  // A server that would not say: its listings tell instead.
  std::map<std::string, std::vector<std::string>> unsure_by_folder;
  for (const std::string& name : unsure) unsure_by_folder[FolderOf(name)].push_back(name);
  for (const auto& [folder, in_folder] : unsure_by_folder) ListForSizes(folder, in_folder, sizes);
  pool_->Run(listener);
  return sizes;
}

void FtpUploader::Remove(const std::vector<std::string>& names,
                         const std::function<void(const std::string&)>& deleted,
                         SendListener& listener) {
  std::map<std::string, Outcome> refused;
  for (const std::string& name : names) {
    Request request;
    request.url = Root();
    // The command takes the raw path; names were checked to hold no line break. libcurl
    // reads "/~/" as the login folder only in a path without quotes, and a name with a space
    // needs them; a relative path means the same folder to every SFTP server.
    const std::string path = PathOf(name);
    request.commands.push_back(Sftp() ? "rm " + Quoted(path.substr(path.find_first_not_of('/')))
                                      : "DELE " + path);
    request.options = &NoBody;
    request.done = [this, name, &deleted, &refused](const Outcome& outcome) {
      Heard(outcome);
      if (outcome.code == CURLE_QUOTE_ERROR) {
        refused.emplace(name, outcome);  // or gone already: asked below
      } else if (outcome.code != CURLE_OK) {
        Fail("Cannot delete " + name + " on " + Where(), outcome);
      } else {
        deleted(name);
      }
    };
    pool_->Add(std::move(request));
  }
  pool_->Run(listener);
  if (refused.empty()) return;
  std::vector<std::string> asked;
  for (const auto& [name, outcome] : refused) asked.push_back(name);
  const Sizes held = SizesOf(asked, listener);
  for (const std::string& name : names) {
    const auto found = refused.find(name);
    if (found == refused.end()) continue;
    if (held.count(name) != 0) Fail("Cannot delete " + name + " on " + Where(), found->second);
    deleted(name);
  }
}

}  // namespace quill::push
