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

// Every reply line of the server comes through here; the last one explains a failure, and
// a 234 says the server agreed to TLS.
std::size_t KeepReply(char* buffer, std::size_t size, std::size_t count, void* data) {
  auto* replies = static_cast<Replies*>(data);
  std::string line(buffer, size * count);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (line.starts_with("234")) replies->notes.tls = true;
  if (!line.empty()) replies->last = line;
  return size * count;
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

FtpUploader::FtpUploader(FtpTarget target) : target_(std::move(target)) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  curl_ = curl_easy_init();
  if (curl_ == nullptr) throw core::QuillError("Cannot start the upload client.");
  if (target_.protocol == Protocol::kSftp) {
    ApplySftpSecurity(curl_, target_, notes_);
  } else {
    ApplyFtpSecurity(curl_, target_);
  }
}

FtpUploader::~FtpUploader() {
  curl_easy_cleanup(static_cast<CURL*>(curl_));
  curl_global_cleanup();
}

std::string FtpUploader::Where() const {
  return std::string(SchemeName(target_.protocol)) + "://" + target_.host + "/" +
         WithSlash(target_.folder);
}

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

void FtpUploader::Send(const SiteFile& file, const std::function<bool(std::uint64_t)>& progress) {
  CURL* curl = static_cast<CURL*>(curl_);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen(file.path.c_str(), "rb"),
                                                         &std::fclose);
  if (!source) throw core::QuillError("Cannot read " + file.path);
  Transfer transfer{source.get(), &progress};
  char error[CURL_ERROR_SIZE] = "";
  const std::string url = UrlOf(file.name);
  last_reply_.clear();

  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERNAME, target_.user.c_str());
  curl_easy_setopt(curl, CURLOPT_PASSWORD, target_.password.c_str());
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, &ReadChunk);
  curl_easy_setopt(curl, CURLOPT_READDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(file.size));
  curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS,
                   static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &KeepReply);
  Replies replies{last_reply_, notes_};
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replies);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);

  const CURLcode result = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (result == CURLE_OK) return;
  if (result == CURLE_ABORTED_BY_CALLBACK) throw core::QuillError("The upload was cancelled.");
  const std::string refused = ExplainSecurityFailure(
      result, error[0] != '\0' ? error : curl_easy_strerror(result), target_, notes_);
  if (!refused.empty()) throw core::QuillError(refused);
  std::string message = "Cannot send " + file.name + " to " + Where() + ": " +
                        (error[0] != '\0' ? error : curl_easy_strerror(result));
  if (!last_reply_.empty()) message += " (the server said: " + last_reply_ + ")";
  throw core::QuillError(message);
}

}  // namespace quill::push
