#include "project/project_session.h"

#include "core/file_lock.h"
#include "core/file_names.h"
#include "core/folders.h"
#include "core/quill_error.h"
#include "publish/publish_rules.h"
#include "site/rss_feed.h"

namespace quill::project {

ProjectSession::ProjectSession(core::Registry& registry, const core::Clock& clock,
                               int busy_timeout_ms)
    : clock_(clock),
      settings_(registry, clock),
      entries_(settings_, busy_timeout_ms),
      search_(settings_, busy_timeout_ms) {
  entries_.SetWriteListener(
      [this](std::uint32_t counter_before, const std::vector<std::string>& dates) {
        search_.NoteWrite(counter_before, dates);
      });
}

void ProjectSession::RequireReadableSettings() const {
  const std::string failure = settings_.LastFailure();
  if (!failure.empty()) throw core::QuillError(failure);
}

void ProjectSession::Open(std::string_view name) {
  const auto found = settings_.FindProject(name);
  RequireReadableSettings();
  if (!found) throw core::QuillError("There is no project named \"" + std::string(name) + "\".");
  Load(*found);
  RequireReadableSettings();
}

void ProjectSession::Load(std::string_view name) {
  Project().ProjectName = std::string(name);
  Reload(false);
}

void ProjectSession::Reload(bool save_first) {
  entries_.CloseBlogDatabase();
  search_.Close();
  settings_.LoadSettings(save_first);
}

ProjectSession::~ProjectSession() = default;

ProjectSession::BuildGuard::BuildGuard(ProjectSession& session) : session_(session) {
  // Without its folder a project has neither entries nor a site on disk to keep apart.
  const std::string& folder = session_.Project().OutputFolder;
  if (session_.build_guards_ == 0 && !folder.empty() && core::FolderExists(folder)) {
    const std::string path = session_.Project().OutputFolder + core::kBuildLockFile;
    session_.build_lock_ = core::FileLock::TryLock(path);
    if (!session_.build_lock_) {
      throw core::QuillError("Another build of \"" + session_.Project().ProjectName +
                             "\" is running (it holds " + path +
                             "); try again once it has finished.");
    }
  }
  ++session_.build_guards_;
}

ProjectSession::BuildGuard::~BuildGuard() {
  if (--session_.build_guards_ == 0) session_.build_lock_.reset();  // unlocks, if it locked
}

SiteReport ProjectSession::GenerateSite(site::SiteOutput& output) {
  const BuildGuard lock(*this);
  const core::ProjectSettings& settings = Project();
  const core::Stamp now = clock_.Now();
  const store::EntryStore::Horizon horizon(entries_, publish::BuildHorizon(settings, now));
  SiteReport report;
  site::EntrySite entry_site(settings, entries_, output, clock_);
  entry_site.WritePages();
  report.pages = site::BuildBlogPages(settings, entries_, output);
  report.bytes = report.pages.bytes;
  if (settings.IncludeRSS == 1) {
    report.bytes += site::WriteRssFeed(settings, entries_, clock_, output);
  }
  entry_site.Finish(report.pages.pages);
  report.entry_site = entry_site.Report();
  report.stamped = settings_.StampOutput(now);
  return report;
}

bool ProjectSession::OutputStale() {
  const core::ProjectSettings& settings = Project();
  if (publish::IsOutputStale(settings)) return true;
  const auto output = publish::OutputMoment(settings);
  if (settings.HoldFuture != 1 || !output) return false;
  return entries_.HasEntryBetween(*output, clock_.Now());
}

bool ProjectSession::UploadStale() const { return publish::IsUploadStale(Project()); }

}  // namespace quill::project
