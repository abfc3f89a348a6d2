#include "quillpush/ftp_uploader.h"

#include <curl/curl.h>

#include <cstdio>
#include <memory>

#include "core/quill_error.h"

namespace quill::push {
namespace {

constexpr long kConnectSeconds = 20;
constexpr long kStallSeconds = 60;

struct Transfer {
  std::FILE* file = nullptr;
  const std::function<bool(std::uint64_t)>* progress = nullptr;
};

std::size_t ReadChunk(char* buffer, std::size_t size, std::size_t count, void* data) {
  return std::fread(buffer, size, count, static_cast<Transfer*>(data)->file);
}

int Progress(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent) {
  const auto* transfer = static_cast<Transfer*>(data);
  return (*transfer->progress)(static_cast<std::uint64_t>(sent)) ? 0 : 1;
}

struct Replies {
  std::string& last;
  ConnectionNotes& notes;
};

// Every reply line of the server comes through here; the last one explains a failure or
// answers a command, and a 234 says the server agreed to TLS.
std::size_t KeepReply(char* buffer, std::size_t size, std::size_t count, void* data) {
  auto* replies = static_cast<Replies*>(data);
  std::string line(buffer, size * count);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (line.starts_with("234")) replies->notes.tls = true;
  if (!line.empty()) replies->last = line;
  return size * count;
}

// The folder part of a remote path, "" for a name in the login folder itself.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Escaped(CURL* curl, const std::string& path) {
  std::string out;
  std::size_t at = 0;
  while (at <= path.size()) {
    const std::size_t slash = path.find('/', at);
    const std::string part =
        path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
    if (!part.empty()) {
      char* escaped = curl_easy_escape(curl, part.c_str(), static_cast<int>(part.size()));
      out += escaped;
      curl_free(escaped);
    }
    if (slash == std::string::npos) break;
    out += '/';
    at = slash + 1;
  }
  return out;
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && !folder.ends_with('/')) folder += '/';
  return folder;
}

// What a request without a body still "downloads" (libcurl's made-up headers) goes nowhere.
std::size_t Discard(char*, std::size_t size, std::size_t count, void*) { return size * count; }

using CurlList = std::unique_ptr<curl_slist, void (*)(curl_slist*)>;

// A path as a remote command takes it, in double quotes for SFTP.
std::string Quoted(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

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

std::unique_ptr<RemoteSite> OpenRemoteSite(const FtpTarget& target) {
  return std::make_unique<FtpUploader>(target);
}

FtpUploader::FtpUploader(FtpTarget target) : target_(std::move(target)) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  curl_ = curl_easy_init();
  if (curl_ == nullptr) throw core::QuillError("Cannot start the upload client.");
}

FtpUploader::~FtpUploader() {
  curl_easy_cleanup(static_cast<CURL*>(curl_));
  curl_global_cleanup();
}

std::string FtpUploader::Where() const { return DescribeTarget(target_); }

std::string FtpUploader::SecurityWarning() const { return ClearTextWarning(target_, notes_); }

std::string FtpUploader::UrlOf(const std::string& name) const {
  CURL* curl = static_cast<CURL*>(curl_);
  const std::string folder = WithSlash(Escaped(curl, target_.folder));
  if (target_.protocol == Protocol::kSftp) {
    // SFTP paths start at the server's root; "~" is the login folder, as FTP has it.
    return "sftp://" + target_.host + "/~/" + folder + Escaped(curl, name);
  }
  return "ftp://" + target_.host + "/" + folder + Escaped(curl, name);
}

void FtpUploader::Prepare(const std::string& url, char* error) {
  CURL* curl = static_cast<CURL*>(curl_);
  // A reset keeps the open connection; only the options of the last request go, so the
  // protocol's own are set again.
  curl_easy_reset(curl);
  if (target_.protocol == Protocol::kSftp) {
    ApplySftpSecurity(curl_, target_, notes_);
  } else {
    ApplyFtpSecurity(curl_, target_);
  }
  last_reply_.clear();
  error[0] = '\0';
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERNAME, target_.user.c_str());
  curl_easy_setopt(curl, CURLOPT_PASSWORD, target_.password.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &KeepReply);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Discard);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  // The whole path goes with each command: no walk from folder to folder for every file.
  curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
}

void FtpUploader::Fail(const std::string& what, int result, const char* error) const {
  const std::string detail =
      error[0] != '\0' ? error : curl_easy_strerror(static_cast<CURLcode>(result));
  const std::string refused = ExplainSecurityFailure(result, detail, target_, notes_);
  if (!refused.empty()) throw core::QuillError(refused);
  std::string message = what + ": " + detail;
  if (!last_reply_.empty()) message += " (the server said: " + last_reply_ + ")";
  throw core::QuillError(message);
}

void FtpUploader::Command(const std::string& url, const std::vector<std::string>& commands,
                          const std::string& what) {
  CURL* curl = static_cast<CURL*>(curl_);
  char error[CURL_ERROR_SIZE];
  Prepare(url, error);
  Replies replies{last_reply_, notes_};
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replies);
  CurlList list(nullptr, &curl_slist_free_all);
  for (const std::string& command : commands) {
    list.reset(curl_slist_append(list.release(), command.c_str()));
  }
  curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(curl, CURLOPT_QUOTE, list.get());
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (result != CURLE_OK) Fail(what, result, error);
}

void FtpUploader::MakeFolders(const std::string& name) {
  // SFTP makes what is missing when a file cannot be opened; FTP, which no longer walks into
  // each folder, is told to make them, once per folder and run, whether or not they exist.
  if (target_.protocol == Protocol::kSftp) return;
  std::vector<std::string> commands;
  for (std::string folder = FolderOf(WithSlash(target_.folder) + name); !folder.empty();
       folder = FolderOf(folder)) {
    if (!folders_.insert(folder).second) break;  // it and the folders above it are there
    commands.insert(commands.begin(), "*MKD " + folder);
  }
  if (commands.empty()) return;
  Command("ftp://" + target_.host + "/", commands,
          "Cannot make the folders of " + name + " on " + Where());
}

void FtpUploader::Send(const SiteFile& file, const std::function<bool(std::uint64_t)>& progress) {
  CURL* curl = static_cast<CURL*>(curl_);
  MakeFolders(file.name);
  const auto source = OpenSiteFile(file.path);
  Transfer transfer{source.get(), &progress};
  char error[CURL_ERROR_SIZE];
  Prepare(UrlOf(file.name), error);
  Replies replies{last_reply_, notes_};
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replies);
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, &ReadChunk);
  curl_easy_setopt(curl, CURLOPT_READDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(file.size));
  curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS,
                   static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);

  const CURLcode result = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (result == CURLE_ABORTED_BY_CALLBACK) throw core::QuillError("The upload was cancelled.");
  if (result != CURLE_OK) Fail("Cannot send " + file.name + " to " + Where(), result, error);
  // The server's final reply came; the bytes that went must also be the whole file.
  curl_off_t sent = -1;
  curl_easy_getinfo(curl, CURLINFO_SIZE_UPLOAD_T, &sent);
  if (sent != static_cast<curl_off_t>(file.size)) {
    throw core::QuillError("Cannot send " + file.name + " to " + Where() + ": " +
                           std::to_string(sent) + " of its " + std::to_string(file.size) +
                           " bytes went (the file changed while it was sent?)");
  }
}

std::optional<std::uint64_t> FtpUploader::SizeOf(const std::string& name) {
  if (target_.protocol != Protocol::kSftp) {
    // SIZE itself, without the TYPE, REST and folder walk a request for the file would add;
    // the binary type first, since a server may count lines otherwise, or refuse.
    Command("ftp://" + target_.host + "/", {"TYPE I", "*SIZE " + WithSlash(target_.folder) + name},
            "Cannot ask " + Where() + " for " + name);
    if (last_reply_.starts_with("213 ")) return std::stoull(last_reply_.substr(4));
    return std::nullopt;
  }
  CURL* curl = static_cast<CURL*>(curl_);
  char error[CURL_ERROR_SIZE];
  Prepare(UrlOf(name), error);
  Replies replies{last_reply_, notes_};
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replies);
  curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (result == CURLE_REMOTE_FILE_NOT_FOUND) return std::nullopt;
  if (result != CURLE_OK) Fail("Cannot ask " + Where() + " for " + name, result, error);
  curl_off_t length = -1;
  curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  if (length < 0) return std::nullopt;
  return static_cast<std::uint64_t>(length);
}

void FtpUploader::Remove(const std::string& name) {
  CURL* curl = static_cast<CURL*>(curl_);
  char error[CURL_ERROR_SIZE];
  const bool sftp = target_.protocol == Protocol::kSftp;
  Prepare(sftp ? "sftp://" + target_.host + "/~/" : "ftp://" + target_.host + "/", error);
  Replies replies{last_reply_, notes_};
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replies);
  // The command takes the raw path; names were checked to hold no line break.
  const std::string path = WithSlash(target_.folder) + name;
  // libcurl reads "/~/" as the login folder only in a path without quotes, and a name with a
  // space needs them; a relative path means the same folder to every SFTP server.
  const std::string command =
      sftp ? "rm " + Quoted(path.substr(path.find_first_not_of('/'))) : "DELE " + path;
  CurlList commands(curl_slist_append(nullptr, command.c_str()), &curl_slist_free_all);
  curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(curl, CURLOPT_QUOTE, commands.get());
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (result == CURLE_OK) return;
  const std::string reply = last_reply_;
  if (result == CURLE_QUOTE_ERROR && !SizeOf(name)) return;  // already gone
  last_reply_ = reply;
  Fail("Cannot delete " + name + " on " + Where(), result, error);
}

}  // namespace quill::push
