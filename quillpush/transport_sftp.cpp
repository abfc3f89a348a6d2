// SFTP's side of the connection's security: the server's host key checked against the
// user's known_hosts before any login, the login method, and the messages for refusals.

#include <curl/curl.h>
#include <openssl/evp.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/quill_error.h"
#include "quillpush/ftp_uploader.h"
#include "quillpush/transport_security.h"

namespace quill::push {
namespace {

constexpr long kConnectSeconds = 20;

// The keys ssh itself tries, best first, when no password is set.
constexpr std::array<const char*, 3> kDefaultKeys{"id_ed25519", "id_ecdsa", "id_rsa"};

std::string RawKey(const curl_khkey* found) {
  if (found->len != 0) return std::string(found->key, found->len);
  // A length of 0 means the key came base64-encoded.
  const std::size_t encoded = std::strlen(found->key);
  std::string raw(encoded, '\0');
  const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(raw.data()),
                                     reinterpret_cast<const unsigned char*>(found->key),
                                     static_cast<int>(encoded));
  std::size_t padding = 0;
  for (std::size_t at = encoded; at > 0 && found->key[at - 1] == '=' && padding < 2; --at) {
    ++padding;  // the decoder counts the padding as bytes
  }
  raw.resize(length < static_cast<int>(padding) ? 0 : static_cast<std::size_t>(length) - padding);
  return raw;
}

void Note(const curl_khkey* found, curl_khmatch match, ConnectionNotes& notes) {
  notes.key_checked = true;
  notes.key = HostKeyFromBlob(RawKey(found));
  notes.key_trusted = match == CURLKHMATCH_OK;
  notes.key_changed = match == CURLKHMATCH_MISMATCH;
}

// Lets the connection go on only with a key known_hosts holds for this host.
int CheckHostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                 void* data) {
  auto& notes = *static_cast<ConnectionNotes*>(data);
  Note(found, match, notes);
  return notes.key_trusted ? CURLKHSTAT_FINE : CURLKHSTAT_REJECT;
}

// Learns the key and ends the connection there, before any login.
int ProbeHostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match,
                 void* data) {
  Note(found, match, *static_cast<ConnectionNotes*>(data));
  return CURLKHSTAT_REJECT;
}

std::string KeyScanLine(const FtpTarget& target, const std::string& file) {
  const int port = HostPort(target.host);
  return "ssh-keyscan " + (port != 0 && port != 22 ? "-p " + std::to_string(port) + " " : "") +
         HostName(target.host) + " >> " + file;
}

}  // namespace

std::string KnownHostsFile(const FtpTarget& target) {
  return target.options.ssh_folder + "/known_hosts";
}

void ApplySftpSecurity(void* handle, const FtpTarget& target, ConnectionNotes& notes) {
  CURL* curl = static_cast<CURL*>(handle);
  curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, KnownHostsFile(target).c_str());
  curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &CheckHostKey);
  curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, &notes);
  if (!target.password.empty()) {
    curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                     static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
    return;
  }
  // No password: the SSH agent's keys, or the user's own default key.
  curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                   static_cast<long>(CURLSSH_AUTH_AGENT | CURLSSH_AUTH_PUBLICKEY));
  for (const char* name : kDefaultKeys) {
    const std::string key = target.options.ssh_folder + "/" + name;
    std::error_code error;
    if (std::filesystem::exists(key, error)) {
      curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, key.c_str());
      break;
    }
  }
}

std::string ExplainSftpFailure(int curl_code, const FtpTarget& target,
                               const ConnectionNotes& notes) {
  const std::string file = KnownHostsFile(target);
  const std::string shown = notes.key.type + " " + notes.key.fingerprint;
  if (notes.key_checked && notes.key_changed) {
    return "WARNING: the SSH host key of " + target.host +
           " has CHANGED since it was recorded in " + file +
           ". Someone may be listening in on the connection, or the server was reinstalled or "
           "moved. quillpush stopped before logging in: the password was not sent.\nThe key it "
           "shows now: " +
           shown +
           "\nOnly if you know the change is genuine, trust the new key with\n  quillpush "
           "--trust-host-key " +
           target.project;
  }
  if (notes.key_checked && !notes.key_trusted) {
    return "The SSH server at " + target.host + " is not known yet: its host key is not in " +
           file +
           ", so quillpush stopped before logging in (the password was not sent).\nIts key: " +
           shown +
           "\nIf that is your server's key (your host publishes it), trust it with\n  quillpush "
           "--trust-host-key " +
           target.project + "\nor record it yourself with\n  " + KeyScanLine(target, file);
  }
  if (curl_code == CURLE_LOGIN_DENIED) {
    return "The SFTP server at " + target.host + " refused the login of \"" + target.user +
           (target.password.empty()
                ? "\" with the SSH agent's keys and the keys in " + target.options.ssh_folder
                : "\" with the password of the project's setup") +
           ".";
  }
  return {};
}

TrustedKey TrustHostKey(const FtpTarget& target) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl) throw core::QuillError("Cannot start the upload client.");
  ConnectionNotes notes;
  char error[CURL_ERROR_SIZE] = "";
  const std::string url = "sftp://" + target.host + "/";
  const std::string file = KnownHostsFile(target);
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_USERNAME, target.user.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_NOBODY, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(curl.get(), CURLOPT_SSH_KNOWNHOSTS, file.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_SSH_KEYFUNCTION, &ProbeHostKey);
  curl_easy_setopt(curl.get(), CURLOPT_SSH_KEYDATA, &notes);
  curl_easy_setopt(curl.get(), CURLOPT_ERRORBUFFER, error);
  const CURLcode result = curl_easy_perform(curl.get());
  curl.reset();
  curl_global_cleanup();
  if (!notes.key_checked) {
    throw core::QuillError("Cannot learn the host key of " + target.host + ": " +
                           (error[0] != '\0' ? error : curl_easy_strerror(result)));
  }
  if (!notes.key_trusted) {
    RecordHostKey(file, KnownHostsName(HostName(target.host), HostPort(target.host)), notes.key);
  }
  return {notes.key, notes.key_trusted, file};
}

}  // namespace quill::push
