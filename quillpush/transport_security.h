#pragma once

#include <string>

#include "quillpush/host_keys.h"
#include "quillpush/remote_address.h"

namespace quill::push {

struct FtpTarget;

// How this run may connect, from the command line and the user's environment.
struct TransportOptions {
  bool insecure_tls = false;  // ftps: accept a certificate nobody vouches for, this run only
  std::string ssh_folder;     // sftp: the user's ~/.ssh (known_hosts and default keys)
};

// What a connection learned about the server's security, for the warnings and messages.
struct ConnectionNotes {
  bool tls = false;          // FTP: the server agreed to TLS on the control connection
  bool key_checked = false;  // SFTP: the server's host key was compared with known_hosts
  bool key_trusted = false;  // ... and it was there
  bool key_changed = false;  // ... a different key is recorded for the host
  HostKey key;               // ... the key the server showed
};

// Sets the protocol's own options on a libcurl handle: TLS demands and certificate checks
// for FTP and FTPS; host key checking and login method for SFTP. `notes` must outlive the
// transfers made with the handle.
void ApplyFtpSecurity(void* curl, const FtpTarget& target);
void ApplySftpSecurity(void* curl, const FtpTarget& target, ConnectionNotes& notes);

// The message for a failure the security checks caused ("the host key is unknown", "the
// server offers no TLS", "the certificate cannot be verified"), or "" for any other.
// `detail` is libcurl's own explanation.
std::string ExplainSecurityFailure(int curl_code, const std::string& detail,
                                   const FtpTarget& target, const ConnectionNotes& notes);
std::string ExplainSftpFailure(int curl_code, const FtpTarget& target,
                               const ConnectionNotes& notes);

// The warning for a plain FTP login that went out without TLS, or "" when none is due.
std::string ClearTextWarning(const FtpTarget& target, const ConnectionNotes& notes);

// Connects to the SFTP server only to learn its host key, shows nothing and sends no
// password, and records the key in known_hosts unless it is there already. Returns the key
// and whether it was new. Throws QuillError when the server cannot be reached.
struct TrustedKey {
  HostKey key;
  bool was_known = false;
  std::string file;
};
TrustedKey TrustHostKey(const FtpTarget& target);

std::string KnownHostsFile(const FtpTarget& target);

}  // namespace quill::push
