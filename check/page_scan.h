#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quill::check {

// A web address found in a page or a feed, as written there (UTF-8, entities read).
struct Reference {
  std::string value;
  int line = 0;    // where it stands, from 1
  int entry = -1;  // the entry block whose text holds it; -1 for the page's own markup
};

// An entry as the generator lays it on a page: its date line, then its text on a line of
// its own.
struct EntryBlock {
  int line = 0;      // the line of the entry's text
  std::string date;  // the date line's text, without its markup
  std::string link;  // where the date line links to, when it does
};

struct PageScan {
  std::vector<Reference> references;  // href, src, srcset, action values, in page order
  std::vector<std::string> anchors;   // the page's id values and the names of its <a name>
  std::string base;                   // the first <base href>, empty when there is none
  std::vector<EntryBlock> entries;
};

// Reads a page with libxml2's HTML parser, which reads broken markup as browsers do. The
// markup the generator wrote around the entries is read as one document and each entry's
// text on its own, so a tag or a quote left open in one entry never hides what follows it.
// The page's encoding is the one it declares (a Windows-1252 page, as the classic template
// writes, is read as browsers read "iso-8859-1").
PageScan ScanPage(std::string_view bytes);

// The addresses of a feed or a sitemap: <link>, <guid isPermaLink="true">, <loc> and
// <enclosure url>. A guid without that attribute is an identifier, not an address.
std::vector<Reference> ScanFeed(std::string_view bytes);

// The addresses of a srcset value ("a.jpg 1x, b.jpg 2x"), as browsers split it.
std::vector<std::string> SrcsetAddresses(std::string_view srcset);

}  // namespace quill::check
