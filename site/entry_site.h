#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "core/clock.h"
#include "core/project_settings.h"
#include "site/entry_index.h"
#include "site/made_files.h"
#include "site/site_output.h"

namespace quill::store {
class EntryStore;
}

namespace quill::site {

struct EntrySiteReport {
  std::size_t entry_pages = 0;
  std::size_t written = 0;  // entry pages new or changed
  std::size_t archive_pages = 0;
  std::size_t sitemap_files = 0;
  std::size_t removed = 0;  // files of earlier builds that went
};

// What a site gets beside its blog pages and feed when EntryPages is 1 — a page per entry,
// the archive, the sitemap — and the tidying when it is stored as anything else: then the
// files earlier builds made of it go. With no EntryPages value stored, it does nothing and
// looks at nothing.
class EntrySite {
 public:
  // Refuses (QuillError, before anything is written) page file names that would give a name
  // the entry pages, the archive or the sitemap need.
  EntrySite(const core::ProjectSettings& settings, store::EntryStore& entries, SiteOutput& output,
            const core::Clock& clock);

  // The entry pages and the archive; before the blog pages, which link them.
  void WritePages();
  // The sitemap, given how many blog pages there are; then every file an earlier build made
  // and this one did not goes, and the record is written. With the setting off, everything
  // earlier builds made goes instead.
  void Finish(int blog_pages);

  const EntrySiteReport& Report() const { return report_; }

 private:
  const core::ProjectSettings& settings_;
  store::EntryStore& entries_;
  SiteOutput& output_;
  const core::Clock& clock_;
  bool on_;
  EntryIndex index_;
  std::vector<std::string> archive_pages_;
  std::optional<MadeFiles> made_;
  EntrySiteReport report_;
};

}  // namespace quill::site
