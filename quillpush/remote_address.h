#pragma once

#include <string>
#include <string_view>

namespace quill::push {

enum class Protocol { kFtp, kFtps, kSftp };

// Where the project's FtpHost setting points: the protocol its scheme names (none means
// FTP) and the host with the port that may follow it ("myhost:2121").
struct RemoteAddress {
  Protocol protocol = Protocol::kFtp;
  std::string host;  // host name or address with an optional ":port"
};

// Reads "sftp://host:port" as typed and "sftp:host:port" as the setup dialog stores it
// (it drops every "/"); the same for "ftps" and "ftp". The scheme ignores case. A bare
// "sftp:22" is the host "sftp" on port 22, not a scheme.
RemoteAddress ParseRemoteAddress(std::string_view ftp_host);

// "sftp", "ftps" or "ftp": how the protocol is named in addresses and messages.
std::string_view SchemeName(Protocol protocol);

// The host's name without the port, and the port it names (0 when none is given).
std::string HostName(const std::string& host);
int HostPort(const std::string& host);

}  // namespace quill::push
