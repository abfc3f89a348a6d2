#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/project_settings.h"
#include "site/entry_index.h"
#include "site/site_output.h"

namespace quill::site {

// The address the site is published at: Docs when it is not empty, else Site (the rule of
// the template's feed address); empty when neither is known.
std::string SiteAddress(const core::ProjectSettings& settings);

// A file of the site by its absolute address: `base` and the name with one "/" between them,
// percent-encoded wherever an address needs it (spaces, quotes, characters above ASCII), so
// the address is plain ASCII. A '%' that already starts an escape in `base` stays one.
std::string AbsoluteAddress(std::string_view base, std::string_view name);

// The sitemap's files for that many addresses: sitemap.xml alone, or sitemap.xml as the
// index of sitemap-1.xml, sitemap-2.xml, … of kSitemapAddresses addresses each.
std::vector<std::string> SitemapNames(std::size_t addresses);

// Writes the sitemap (sitemaps.org protocol) when the site's address is known: every entry
// page, oldest first, with its stamp as <lastmod> (local time at `utc_offset_seconds`), then
// every archive page and every blog page (`blog_pages` of them), oldest first, so a new
// entry changes only the last file. Plain ASCII XML. Returns the names it wrote, none when
// the address is not known.
std::vector<std::string> WriteSitemap(const core::ProjectSettings& settings,
                                      const EntryIndex& index,
                                      const std::vector<std::string>& archive_pages, int blog_pages,
                                      int utc_offset_seconds, SiteOutput& output);

}  // namespace quill::site
