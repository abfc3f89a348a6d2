// The project session's part in checking the links of its site.

#include <filesystem>
#include <map>

#include "core/file_names.h"
#include "core/text.h"
#include "project/project_session.h"
#include "publish/publish_rules.h"
#include "site/blog_pages.h"
#include "site/stamp_format.h"

namespace quill::project {

check::CheckReport ProjectSession::CheckSite(check::CheckOptions options) {
  const core::ProjectSettings& settings = Project();
  options.blog_address = core::Trim(settings.Docs).empty() ? settings.Site : settings.Docs;
  options.site_address = settings.Site;
  check::CheckReport report = check::CheckSite(settings.OutputFolder, options);
  NameEntryStamps(report);
  return report;
}

// Finds the stamps of the entries whose text holds a problem on a blog page, by laying the
// pages out again: the k-th entry of page n is the entry that many places from the newest.
// Each is taken only when the page shows the date that entry has, so a page from another
// state of the entries names no entry rather than the wrong one.
void ProjectSession::NameEntryStamps(check::CheckReport& report) {
  const core::ProjectSettings& settings = Project();
  std::vector<check::Finding*> unnamed;
  for (check::Finding& finding : report.findings) {
    if (finding.entry >= 0 && finding.entry_stamp.empty()) unnamed.push_back(&finding);
  }
  if (unnamed.empty() || publish::IsOutputStale(settings)) return;

  // The pages hold the entries whose time had come at the last output.
  const auto output = publish::OutputMoment(settings);
  const store::EntryStore::Horizon horizon(
      entries_, output ? publish::BuildHorizon(settings, *output) : std::nullopt);
  std::error_code error;
  const bool styled = std::filesystem::exists(settings.OutputFolder + core::kBlogStylesheet, error);
  const std::vector<std::int64_t> counts = site::LayOutBlogPages(settings, entries_, styled);
  const int last = static_cast<int>(counts.size()) - 1;
  std::map<std::string, std::int64_t> first_of_page;
  std::int64_t before = 0;
  for (int n = 0; n <= last; ++n) {
    first_of_page[site::PageName(settings, n, last)] = before;
    before += counts[static_cast<std::size_t>(n)];
  }
  std::multimap<std::int64_t, check::Finding*> wanted;
  for (check::Finding* finding : unnamed) {
    const auto page = first_of_page.find(finding->page);
    if (page != first_of_page.end()) wanted.emplace(page->second + finding->entry, finding);
  }
  if (wanted.empty()) return;

  const store::EntryStore::ReadBatch batch(entries_);
  store::EntryStore::NewestFirst walk(entries_);
  std::int64_t at = 0;
  for (auto it = wanted.begin(); it != wanted.end() && !walk.Done(); walk.Next(), ++at) {
    for (; it != wanted.end() && it->first == at; ++it) {
      check::Finding& finding = *it->second;
      if (site::FormatEntryStamp(settings, walk.Stamp(), true) == finding.entry_date) {
        finding.entry_stamp = walk.Stamp().ToText();
      }
    }
  }
}

}  // namespace quill::project
