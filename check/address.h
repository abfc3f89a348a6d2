#pragma once

#include <string>
#include <string_view>

namespace quill::check {

// Where a reference leads, as a browser reading the published page would follow it.
struct Target {
  enum class Kind {
    Inside,      // a file or folder of the output folder
    NotChecked,  // a part of the web this project does not build, or no address at all
    External,    // another web site
  };
  Kind kind = Kind::Inside;
  // Inside: the file, or the folder ending in "/", relative to the output folder and
  // percent-decoded ("" is the output folder itself).
  std::string path;
  bool has_fragment = false;
  std::string fragment;  // Inside: what follows "#", as written
  std::string address;   // External: the absolute address, without its fragment
  std::string why;       // NotChecked: why not
};

// Resolves references against the place the output folder is published at. Nothing here
// touches the disk: a reference is only ever looked up among the names a walk of the output
// folder found, so none can reach outside it.
class AddressResolver {
 public:
  // `blog`: the address the output folder is published at (Docs, else Site); `site`: the
  // user's web site. Either may be empty, and either may lack its scheme.
  AddressResolver(std::string_view blog, std::string_view site);

  // `reference` as written in `page` (a file relative to the output folder); `base` is the
  // page's <base href>, empty when it has none.
  Target Resolve(std::string_view reference, std::string_view page,
                 std::string_view base = {}) const;

 private:
  struct Origin {
    std::string scheme;  // "http" or "https"
    std::string host;    // lower case, with a port other than the scheme's own
    std::string path;    // from the server's root, ending in "/"
  };
  static Origin OriginOf(std::string_view address);

  Target ResolveOnce(std::string_view reference, std::string_view folder,
                     std::string_view self) const;
  Target Absolute(std::string_view scheme, std::string_view rest) const;
  Target FromRoot(std::string_view path_and_more) const;

  Origin blog_;
  Origin site_;
};

// Each %XX as the byte it stands for; a "%" not followed by two hexadecimal digits stays.
std::string PercentDecoded(std::string_view text);

}  // namespace quill::check
