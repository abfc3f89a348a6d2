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

// Every reply line of the server comes through here; the last one explains a failure.
std::size_t KeepReply(char* buffer, std::size_t size, std::size_t count, void* data) {
  std::string line(buffer, size * count);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (!line.empty()) *static_cast<std::string*>(data) = line;
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

}  // namespace

FtpUploader::FtpUploader(FtpTarget target) : target_(std::move(target)) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  curl_ = curl_easy_init();
  if (curl_ == nullptr) throw core::QuillError("Cannot start the FTP client.");
}

FtpUploader::~FtpUploader() {
  curl_easy_cleanup(static_cast<CURL*>(curl_));
  curl_global_cleanup();
}

std::string FtpUploader::Where() const {
  std::string folder = target_.folder;
  if (!folder.empty() && !folder.ends_with('/')) folder += '/';
  return "ftp://" + target_.host + "/" + folder;
}

std::string FtpUploader::UrlOf(const std::string& name) const {
  CURL* curl = static_cast<CURL*>(curl_);
  std::string folder = Escaped(curl, target_.folder);
  if (!folder.empty() && !folder.ends_with('/')) folder += '/';
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
  curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &KeepReply);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &last_reply_);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);

  const CURLcode result = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (result == CURLE_OK) return;
  if (result == CURLE_ABORTED_BY_CALLBACK) throw core::QuillError("The upload was cancelled.");
  std::string message = "Cannot send " + file.name + " to " + Where() + ": " +
                        (error[0] != '\0' ? error : curl_easy_strerror(result));
  if (!last_reply_.empty()) message += " (the server said: " + last_reply_ + ")";
  throw core::QuillError(message);
}

}  // namespace quill::push
