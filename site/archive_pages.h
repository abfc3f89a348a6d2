#pragma once

#include <string>
#include <vector>

#include "core/project_settings.h"
#include "site/entry_index.h"
#include "site/page_frame.h"
#include "site/page_style.h"
#include "site/site_output.h"

namespace quill::store {
class EntryStore;
}

namespace quill::site {

// The archive's pages for an index: archive.html, then each year's page, newest first.
std::vector<std::string> ArchivePageNames(const EntryIndex& index);

// Writes the archive, every entry newest first, grouped by year and month, each line its
// date and title linked to its page: archive.html lists the years with their entry counts
// and holds the newest year's entries, archive-YYYY.html holds each year. Each page is
// poured into the template as the blog pages are, with "Archive", the style's dash and the
// template's own title text as its title. A page that comes out as it stands is not touched.
void WriteArchive(const core::ProjectSettings& settings, const PageStyle& style,
                  const PageFrame& frame, store::EntryStore& entries, const EntryIndex& index,
                  SiteOutput& output);

}  // namespace quill::site
