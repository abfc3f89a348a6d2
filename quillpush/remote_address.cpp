#include "quillpush/remote_address.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "core/text.h"

namespace quill::push {
namespace {

constexpr std::array<std::pair<std::string_view, Protocol>, 3> kSchemes{{
    {"sftp", Protocol::kSftp},
    {"ftps", Protocol::kFtps},
    {"ftp", Protocol::kFtp},
}};

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

RemoteAddress ParseRemoteAddress(std::string_view ftp_host) {
  std::string text = core::Trim(ftp_host);
  RemoteAddress address;
  for (const auto& [name, protocol] : kSchemes) {
    if (text.size() <= name.size() || text[name.size()] != ':' ||
        !core::EqualsIgnoringCase(std::string_view(text).substr(0, name.size()), name)) {
      continue;
    }
    std::string_view rest = std::string_view(text).substr(name.size() + 1);
    if (AllDigits(rest)) break;  // "sftp:22": a host called sftp and its port
    while (rest.starts_with('/')) rest.remove_prefix(1);
    address.protocol = protocol;
    text = std::string(rest);
    break;
  }
  // A folder typed after the host belongs in the remote folder setting, not here.
  text = text.substr(0, text.find('/'));
  address.host = text;
  return address;
}

std::string_view SchemeName(Protocol protocol) {
  for (const auto& [name, value] : kSchemes) {
    if (value == protocol) return name;
  }
  return "ftp";
}

std::string HostName(const std::string& host) { return host.substr(0, host.rfind(':')); }

int HostPort(const std::string& host) {
  const std::size_t colon = host.rfind(':');
  const std::string_view digits =
      std::string_view(host).substr(colon == std::string::npos ? host.size() : colon + 1);
  if (!AllDigits(digits) || digits.size() > 5) return 0;
  return std::stoi(std::string(digits));
}

}  // namespace quill::push
