#include "check/address.h"

#include <cctype>
#include <vector>

namespace quill::check {
namespace {

bool IsSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

char LowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerCase(c);
  return lower;
}

// What browsers do to an address before reading it: no leading or trailing spaces or
// control characters, and no tabs or line breaks anywhere.
std::string Cleaned(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  std::string cleaned;
  cleaned.reserve(text.size());
  for (char c : text) {
    if (c != '\t' && c != '\n' && c != '\r') cleaned += c;
  }
  return cleaned;
}

// "http" of "http://…"; empty when the reference has no scheme.
std::string_view SchemeOf(std::string_view text) {
  if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return {};
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') return text.substr(0, i);
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') break;
  }
  return {};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = LowerCase(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// "." and ".." the way browsers read them, percent-encoded dots included.
bool IsDot(std::string_view segment) { return segment == "." || LowerCase(segment) == "%2e"; }
bool IsDotDot(std::string_view segment) {
  const std::string lower = LowerCase(segment);
  return lower == ".." || lower == ".%2e" || lower == "%2e." || lower == "%2e%2e";
}

// The reference's path, query and fragment apart; backslashes in the path read as slashes,
// as browsers read them in web addresses.
struct Pieces {
  std::string path;
  bool has_fragment = false;
  std::string fragment;
};

Pieces Split(std::string_view text) {
  Pieces pieces;
  const std::size_t hash = text.find('#');
  if (hash != std::string_view::npos) {
    pieces.has_fragment = true;
    pieces.fragment = std::string(text.substr(hash + 1));
    text = text.substr(0, hash);
  }
  text = text.substr(0, text.find('?'));
  pieces.path = std::string(text);
  for (char& c : pieces.path) {
    if (c == '\\') c = '/';
  }
  return pieces;
}

// Applies the segments of `path` to `folder` (segments, outermost first). False when the
// path climbs above where `folder` starts.
bool Walk(std::vector<std::string>& folder, std::string_view path, bool& is_folder) {
  is_folder = false;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = path.find('/', at);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view segment = path.substr(at, end - at);
    const bool last = end == path.size();
    if (IsDotDot(segment)) {
      if (folder.empty()) return false;
      folder.pop_back();
      is_folder = last;
    } else if (IsDot(segment)) {
      is_folder = last;
    } else if (last && segment.empty()) {
      is_folder = true;
    } else {
      folder.push_back(PercentDecoded(segment));
    }
    at = end + 1;
  }
  return true;
}

std::string Joined(const std::vector<std::string>& segments, bool is_folder) {
  std::string path;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) path += '/';
    path += segments[i];
  }
  if (is_folder && !path.empty()) path += '/';
  return path;
}

// The folder segments of a path relative to the output folder ("a/b.html" gives "a").
std::vector<std::string> FolderOf(std::string_view file) {
  std::vector<std::string> segments;
  std::size_t at = 0;
  for (std::size_t end; (end = file.find('/', at)) != std::string_view::npos; at = end + 1) {
    segments.emplace_back(file.substr(at, end - at));
  }
  return segments;
}

Target NotChecked(std::string why) {
  Target target;
  target.kind = Target::Kind::NotChecked;
  target.why = std::move(why);
  return target;
}

// The host of an authority in lower case, without user information and without the
// scheme's own port.
std::string HostOf(std::string_view authority, std::string_view scheme) {
  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string host = LowerCase(authority);
  if (!host.empty() && host.back() == '.') host.pop_back();
  const std::string own_port = scheme == "https" ? ":443" : ":80";
  if (host.ends_with(own_port)) host.resize(host.size() - own_port.size());
  if (host.ends_with(':')) host.pop_back();
  return host;
}

}  // namespace

std::string PercentDecoded(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    bytes += text[i];
  }
  return bytes;
}

AddressResolver::Origin AddressResolver::OriginOf(std::string_view address) {
  const std::string text = Cleaned(address);
  if (text.empty()) return {};
  std::string_view rest = text;
  Origin origin;
  const std::size_t colon = rest.find("://");
  if (colon == std::string_view::npos) {
    origin.scheme = "http";
  } else {
    origin.scheme = LowerCase(rest.substr(0, colon));
    rest.remove_prefix(colon + 3);
  }
  const std::size_t slash = rest.find_first_of("/?#");
  origin.host = HostOf(rest.substr(0, slash), origin.scheme);
  std::string path = slash == std::string_view::npos
                         ? "/"
                         : std::string(rest.substr(slash, rest.find_first_of("?#", slash) - slash));
  if (path.empty() || path[0] != '/') path = "/" + path;
  // An address that names a page ("…/blog/index.html") is published from that page's folder.
  const std::size_t leaf = path.rfind('/');
  if (path.find('.', leaf) != std::string::npos) path.resize(leaf + 1);
  if (path.back() != '/') path += '/';
  origin.path = path;
  return origin;
}

AddressResolver::AddressResolver(std::string_view blog, std::string_view site)
    : blog_(OriginOf(blog)), site_(OriginOf(site)) {}

Target AddressResolver::Resolve(std::string_view reference, std::string_view page,
                                std::string_view base) const {
  const std::string cleaned = Cleaned(reference);
  if (base.empty()) return ResolveOnce(cleaned, page.substr(0, page.rfind('/') + 1), page);
  const Target from = Resolve(base, page);
  const bool relative =
      SchemeOf(cleaned).empty() && !cleaned.starts_with('/') && !cleaned.starts_with('\\');
  if (!relative) return ResolveOnce(cleaned, page.substr(0, page.rfind('/') + 1), page);
  if (from.kind != Target::Kind::Inside) {
    return NotChecked("relative to the page's <base href>, which leads outside the blog");
  }
  const std::string& self = from.path;
  return ResolveOnce(cleaned, std::string_view(self).substr(0, self.rfind('/') + 1), self);
}

Target AddressResolver::ResolveOnce(std::string_view reference, std::string_view folder,
                                    std::string_view self) const {
  const std::string scheme = LowerCase(SchemeOf(reference));
  if (!scheme.empty()) {
    if (scheme != "http" && scheme != "https") return NotChecked("a " + scheme + ": address");
    std::string_view rest = reference.substr(scheme.size() + 1);
    const bool slashed = !rest.empty() && (rest[0] == '/' || rest[0] == '\\');
    const bool slashed_twice = slashed && rest.size() > 1 && (rest[1] == '/' || rest[1] == '\\');
    // "https:page.html" and "https:/page.html" on a page of the same scheme are relative.
    if (scheme != blog_.scheme || slashed_twice) return Absolute(scheme, rest);
    reference = rest;
    if (slashed) return FromRoot(reference);
  }
  if (reference.starts_with("//") || reference.starts_with("\\\\") ||
      reference.starts_with("/\\") || reference.starts_with("\\/")) {
    return Absolute(blog_.scheme.empty() ? "https" : blog_.scheme, reference);
  }
  if (reference.starts_with('/') || reference.starts_with('\\')) {
    if (blog_.host.empty()) {
      return NotChecked("starts at the server's root, and the blog's address is not set");
    }
    return FromRoot(reference);
  }

  const Pieces pieces = Split(reference);
  Target target;
  target.has_fragment = pieces.has_fragment;
  target.fragment = pieces.fragment;
  if (pieces.path.empty()) {
    target.path = std::string(self);
    return target;
  }
  std::vector<std::string> segments = FolderOf(folder);
  bool is_folder = false;
  if (!Walk(segments, pieces.path, is_folder)) return NotChecked("above the output folder");
  target.path = Joined(segments, is_folder);
  return target;
}

Target AddressResolver::Absolute(std::string_view scheme, std::string_view rest) const {
  while (!rest.empty() && (rest[0] == '/' || rest[0] == '\\')) rest.remove_prefix(1);
  const std::size_t end = rest.find_first_of("/\\?#");
  const std::string host = HostOf(rest.substr(0, end), scheme);
  const std::string_view after = end == std::string_view::npos ? "" : rest.substr(end);
  const bool ours = !blog_.host.empty() && host == blog_.host;
  const bool site = ours || (!site_.host.empty() && host == site_.host);
  if (!site) {
    Target target;
    target.kind = Target::Kind::External;
    target.address = std::string(scheme) + "://" +
                     std::string(rest.substr(0, std::min(rest.find('#'), rest.size())));
    return target;
  }
  if (!ours)
    return NotChecked("outside the blog, on a part of the site this project does not build");
  return FromRoot(after.empty() ? "/" : after);
}

// A path from the server's root on the blog's own host.
Target AddressResolver::FromRoot(std::string_view path_and_more) const {
  const Pieces pieces = Split(path_and_more);
  std::vector<std::string> segments;
  bool is_folder = false;
  // Browsers never climb above the server's root: extra ".." stay there.
  std::string_view path = pieces.path;
  while (!path.empty() && path[0] == '/') path.remove_prefix(1);
  std::vector<std::string> normal;
  {
    std::size_t at = 0;
    while (at <= path.size()) {
      std::size_t end = path.find('/', at);
      if (end == std::string_view::npos) end = path.size();
      const std::string_view segment = path.substr(at, end - at);
      const bool last = end == path.size();
      if (IsDotDot(segment)) {
        if (!normal.empty()) normal.pop_back();
        is_folder = last;
      } else if (IsDot(segment)) {
        is_folder = last;
      } else if (last && segment.empty()) {
        is_folder = true;
      } else {
        normal.emplace_back(segment);
      }
      at = end + 1;
    }
  }
  // The blog's own folder, segment by segment, must lead the way.
  std::vector<std::string> blog_segments;
  {
    std::string_view blog_path = std::string_view(blog_.path).substr(1);
    std::size_t at = 0;
    for (std::size_t end; (end = blog_path.find('/', at)) != std::string_view::npos; at = end + 1) {
      blog_segments.emplace_back(blog_path.substr(at, end - at));
    }
  }
  if (normal.size() < blog_segments.size()) {
    return NotChecked("outside the blog, on a part of the site this project does not build");
  }
  for (std::size_t i = 0; i < blog_segments.size(); ++i) {
    if (PercentDecoded(normal[i]) != PercentDecoded(blog_segments[i])) {
      return NotChecked("outside the blog, on a part of the site this project does not build");
    }
  }
  for (std::size_t i = blog_segments.size(); i < normal.size(); ++i) {
    segments.push_back(PercentDecoded(normal[i]));
  }
  Target target;
  target.has_fragment = pieces.has_fragment;
  target.fragment = pieces.fragment;
  // The blog's address without its last slash is its folder too: the server adds the slash.
  target.path = Joined(segments, is_folder || segments.empty());
  return target;
}

}  // namespace quill::check
