// FTP's and FTPS's side of the connection's security: TLS demanded or tried, certificates
// checked, and the messages for the refusals and for a login in clear text.

#include <curl/curl.h>

#include "quillpush/ftp_uploader.h"
#include "quillpush/transport_security.h"

namespace quill::push {

void ApplyFtpSecurity(void* handle, const FtpTarget& target) {
  CURL* curl = static_cast<CURL*>(handle);
  // ftps: explicit TLS or nothing, so the password never crosses in clear text.
  const long tls = target.protocol == Protocol::kFtps ? CURLUSESSL_ALL : CURLUSESSL_TRY;
  curl_easy_setopt(curl, CURLOPT_USE_SSL, tls);
  curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
  // libcurl before 8.10 closes an upload's data connection without reading what a TLS 1.3
  // server sent after the handshake (its session tickets); the close then resets the
  // connection and the server loses the end of the file (curl issue 6149). The size check
  // catches that, but the upload would fail every few files; TLS 1.2 sends nothing of the kind.
  if (curl_version_info(CURLVERSION_NOW)->version_num < 0x080A00) {
    curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                     static_cast<long>(CURL_SSLVERSION_TLSv1_2) |
                         static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
  }
  if (target.options.insecure_tls) {
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  }
}

std::string ExplainSecurityFailure(int curl_code, const std::string& detail,
                                   const FtpTarget& target, const ConnectionNotes& notes) {
  if (target.protocol == Protocol::kSftp) return ExplainSftpFailure(curl_code, target, notes);
  if (curl_code == CURLE_USE_SSL_FAILED) {
    return "The server at " + target.host +
           " does not offer TLS, so quillpush stopped before logging in: the password was not "
           "sent. A host starting with \"ftps:\" needs a server with explicit TLS (AUTH TLS). "
           "To upload without encryption anyway, remove \"ftps:\" from the host in the "
           "project's setup.";
  }
  if (curl_code == CURLE_PEER_FAILED_VERIFICATION) {
    return "The TLS certificate of " + target.host + " cannot be verified (" + detail +
           "), so quillpush stopped before logging in: the password was not sent. If this is "
           "your own server with a self-signed certificate, run\n  quillpush --insecure-tls " +
           target.project +
           "\nto accept it for that one run: the connection is then encrypted, but nothing "
           "proves it reaches your server.";
  }
  return {};
}

std::string ClearTextWarning(const FtpTarget& target, const ConnectionNotes& notes) {
  if (target.protocol != Protocol::kFtp || notes.tls) return {};
  return "The server at " + target.host +
         " offers no TLS: the password (and every file) was sent unencrypted. If the server "
         "can do better, put \"ftps:\" or \"sftp:\" before the host in the project's setup.";
}

}  // namespace quill::push
