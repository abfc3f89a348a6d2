#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/html_references.h"

namespace quill::site {

using core::ReferenceLength;

// User text as the content of an XML element that every strict reader accepts, on one line
// and in plain ASCII: a character above 0x7F becomes a numeric reference, an HTML named
// reference XML does not know becomes its numeric one, a '&' that starts no usable reference
// and every '<' and '>' are escaped, a line break becomes a space and the control characters
// XML forbids are dropped. The reader sees the characters a browser shows for the same text.
std::string XmlText(std::string_view utf8);

// A value written between the double quotes of an attribute: on one line, with '"' as "&quot;".
std::string AttributeText(std::string_view text);

// A file of the output folder as a relative address in an attribute: the characters an
// address would read as something else ('%', '?', '#', '"', space) are percent-encoded.
std::string FileAddressText(std::string_view file_name);

}  // namespace quill::site
