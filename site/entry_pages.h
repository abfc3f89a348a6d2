#pragma once

#include <cstddef>

#include "core/project_settings.h"
#include "site/entry_index.h"
#include "site/made_files.h"
#include "site/page_frame.h"
#include "site/page_style.h"
#include "site/site_output.h"

namespace quill::store {
class EntryStore;
}

namespace quill::site {

struct EntryPagesReport {
  std::size_t pages = 0;
  std::size_t written = 0;  // new or changed; the others were left as they stood
};

// Gives every entry of the index a page of its own, named after its stamp (EntryPageName)
// and poured into the project's template as the blog pages are: the template's title text
// led by the entry's title, a navigation block to the newer and older entry, the first blog
// page and the archive, and the entry as the blog pages show it. A page that comes out as
// the record says it did, over a file the record's facts still fit, is not touched; any
// other is replaced whole. Every page is noted in `made`. Reads the entries in one walk.
EntryPagesReport WriteEntryPages(const core::ProjectSettings& settings, const PageStyle& style,
                                 const PageFrame& frame, store::EntryStore& entries,
                                 const EntryIndex& index, SiteOutput& output, MadeFiles& made);

// The text of an entry page's title: the entry's title (its date when it has none to show),
// the style's dash, then the template's own title text.
std::string EntryHeadTitle(const core::ProjectSettings& settings, const PageStyle& style,
                           const core::Stamp& stamp, std::string_view content,
                           std::string_view template_title);

}  // namespace quill::site
