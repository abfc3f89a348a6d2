#include "site/entry_site.h"

#include "core/quill_error.h"
#include "core/text.h"
#include "site/archive_pages.h"
#include "site/entry_pages.h"
#include "site/page_frame.h"
#include "site/page_style.h"
#include "site/site_names.h"
#include "site/sitemap.h"
#include "store/entry_store.h"

namespace quill::site {

EntrySite::EntrySite(const core::ProjectSettings& settings, store::EntryStore& entries,
                     SiteOutput& output, const core::Clock& clock)
    : settings_(settings),
      entries_(entries),
      output_(output),
      clock_(clock),
      on_(settings.EntryPages == 1) {
  if (!on_) return;
  if (const std::string clash = EntryPagesNameClash(settings.FileNames, settings.UseIndex == 1);
      !clash.empty()) {
    throw core::QuillError(clash);
  }
}

void EntrySite::WritePages() {
  if (!on_) return;
  made_.emplace(output_);
  const PageFrame frame(settings_.Template, core::OneLine(settings_.Title));
  const PageStyle style = StyleFor(settings_, frame.Charset());
  // The index, the pages and the archive see the entries as one state.
  const store::EntryStore::ReadBatch batch(entries_);
  index_ = EntryIndex::Read(entries_);
  archive_pages_ = ArchivePageNames(index_);
  made_->Expect(index_.Size() + archive_pages_.size());
  for (std::size_t i = 0; i < index_.Size(); ++i) made_->Plan(EntryPageName(index_.At(i)));
  for (const std::string& name : archive_pages_) made_->Plan(name);
  made_->Announce();

  const EntryPagesReport pages =
      WriteEntryPages(settings_, style, frame, entries_, index_, output_, *made_);
  report_.entry_pages = pages.pages;
  report_.written = pages.written;
  WriteArchive(settings_, style, frame, entries_, index_, output_);
  report_.archive_pages = archive_pages_.size();
}

void EntrySite::Finish(int blog_pages) {
  if (settings_.EntryPages == core::kNotStored) return;
  if (!on_) {
    MadeFiles made(output_);
    made.RemoveAll();
    report_.removed = made.Removed();
    return;
  }
  const std::string base = SiteAddress(settings_);
  if (!base.empty()) {
    const std::size_t addresses =
        index_.Size() + archive_pages_.size() + static_cast<std::size_t>(blog_pages);
    for (const std::string& name : SitemapNames(addresses)) made_->Plan(name);
    made_->Announce();
    report_.sitemap_files = WriteSitemap(settings_, index_, archive_pages_, blog_pages,
                                         clock_.UtcOffsetSeconds(), output_)
                                .size();
  }
  made_->Settle();
  report_.removed = made_->Removed();
}

}  // namespace quill::site
