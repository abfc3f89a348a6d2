#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quill::interchange {

// One attribute value of a tag in an entry's markup: the tag's and the attribute's names in
// lower case, and the value with its character references read.
struct MarkupLink {
  std::string_view tag;
  std::string_view attribute;
  std::string value;
};

// Walks the tags of the markup (comments, text and end tags pass untouched) and hands each
// attribute value to `replace`; where it returns a value, that value takes the old one's
// place, between double quotes, with '&' and '"' as entities. Markup cut off inside a tag is
// left as it stands from there.
std::string RewriteLinks(std::string_view markup,
                         const std::function<std::optional<std::string>(const MarkupLink&)>& replace);

// The same walk for reading only.
void ForEachLink(std::string_view markup, const std::function<void(const MarkupLink&)>& visit);

// An address's "%XX" escapes read as the bytes they stand for.
std::string PercentDecoded(std::string_view text);

}  // namespace quill::interchange
