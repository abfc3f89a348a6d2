#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/project_settings.h"
#include "site/page_style.h"
#include "site/site_output.h"

namespace quill::store {
class EntryStore;
}

namespace quill::site {

struct BuildReport {
  std::int64_t entries = 0;
  int pages = 0;
  std::uint64_t bytes = 0;  // written into page files
};

// Lays every entry, newest first, into pages of about MaxPageSize × 1024 characters and pours
// each page into the project's template, replacing BlogTitle, BlogTOC and BlogContent. Pages
// are index.html (or FileNames.html) and then FileNames1.html, FileNames2.html, … .
//
// Reads the template before anything is written; a template that cannot be read or a page
// that cannot be written stops the build with a QuillError, and no page is left half
// written. Leaves the entry cursor past the oldest entry.
BuildReport BuildBlogPages(const core::ProjectSettings& settings, store::EntryStore& entries,
                           SiteOutput& output);

// How many entries each page holds, the newest page first, as BuildBlogPages lays them out
// with the styled entry markup (quillsmith.css present) or the plain one. Reads every entry.
std::vector<std::int64_t> LayOutBlogPages(const core::ProjectSettings& settings,
                                          store::EntryStore& entries, bool styled);

// Page n of the pages 0 … last: the newest page's name, or FileNames, n and ".html", with n
// padded to one, two or three digits by the number of pages.
std::string PageName(const core::ProjectSettings& settings, int n, int last);

// The navigation bar of page n: links to the newer and older pages, the comment form and the
// feed, or a bare spacer for a single page without comments.
std::string BuildNavigation(const core::ProjectSettings& settings, int n, int last);
// The same in a style's markup.
std::string BuildNavigation(const core::ProjectSettings& settings, const PageStyle& style, int n,
                            int last);

}  // namespace quill::site
