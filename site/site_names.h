#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/stamp.h"

namespace quill::site {

// The files a site gets beside its blog pages when every entry has a page of its own. The
// generator makes these names and no others, so these forms are also what it may remove.
inline constexpr char kArchivePage[] = "archive.html";
inline constexpr char kSitemapFile[] = "sitemap.xml";
// The most addresses one sitemap file may hold; past them sitemap.xml becomes an index of
// sitemap-1.xml, sitemap-2.xml, … .
inline constexpr std::size_t kSitemapAddresses = 50000;

// An entry's page, named after its stamp alone so that editing the text never moves it:
// "2026-12-08-095544.html". The names sort as the stamps do and need no escaping.
std::string EntryPageName(const core::Stamp& stamp);
// The stamp of the entry page of that name; nullopt for any name not of exactly that form.
std::optional<core::Stamp> StampOfEntryPage(std::string_view name);
// The archive page of one year: "archive-2026.html".
std::string ArchivePageName(int year);
// Part n (from 1) of a sitemap too large for one file: "sitemap-2.xml".
std::string SitemapPartName(std::size_t n);

enum class EntrySiteFile { None, EntryPage, ArchivePage, SitemapFile };
// Which of the generator's files a name is, by its exact form: "archive-26.html",
// "2026-12-08-0955.html" or "Sitemap.xml" are none of them.
EntrySiteFile KindOfName(std::string_view name);

// Why blog pages named after `file_names` would take a name the entry pages, the archive or
// the sitemap need (letter case aside, as Windows file names compare), or empty when they
// cannot.
std::string EntryPagesNameClash(std::string_view file_names, bool use_index);

// Decides, as a walk from the newest entry goes, which entries have a page: each entry whose
// stored date reads as a date (a row another program wrote may hold none) and that is older
// than the last entry given one (two such rows may read as the same date). Every walk over
// the same entries decides alike.
class PageOwners {
 public:
  // The entry's page name, or empty when it has none.
  std::string Visit(const core::Stamp& stamp, bool dated);

 private:
  std::optional<core::Stamp> last_;
};

}  // namespace quill::site
