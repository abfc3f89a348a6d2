#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/settings_store.h"
#if QUILL_LINK_CHECK
#include "check/link_check.h"
#endif
#include "site/blog_pages.h"
#include "site/entry_site.h"
#include "site/site_output.h"
#include "store/entry_search.h"
#include "store/entry_store.h"

namespace quill::core {
class Clock;
class FileLock;
class Registry;
}  // namespace quill::core

namespace quill::project {

// What one generation of the site wrote.
struct SiteReport {
  site::BuildReport pages;
  std::uint64_t bytes = 0;  // pages and feed together
  site::EntrySiteReport entry_site;
  // False when the site was written but the output time could not be recorded; the settings'
  // LastFailure() says why.
  bool stamped = false;
};

// The open project: its settings, as the registry holds them, and its entries. The editor,
// quillsmith-build and quillpush each keep one, so opening a project, reloading it and
// generating its site work the same way in all three. Any number of sessions may work side
// by side, each on its own project.
class ProjectSession {
 public:
  // `busy_timeout_ms`: how long an entry operation waits for another program's lock.
  ProjectSession(core::Registry& registry, const core::Clock& clock, int busy_timeout_ms = 5000);
  ~ProjectSession();
  ProjectSession(const ProjectSession&) = delete;
  ProjectSession& operator=(const ProjectSession&) = delete;

  core::SettingsStore& Settings() { return settings_; }
  const core::SettingsStore& Settings() const { return settings_; }
  core::ProjectSettings& Project() { return settings_.Settings(); }
  const core::ProjectSettings& Project() const { return settings_.Settings(); }
  store::EntryStore& Entries() { return entries_; }
  // Finds entries by their words; told of every entry the session's store writes.
  store::EntrySearch& Search() { return search_; }

  // Finds the project by name (letter case aside) and loads its settings. Throws
  // core::QuillError when there is no such project, or when the settings file cannot be
  // read (naming the file and the reason, rather than passing for a missing project).
  void Open(std::string_view name);
  // Makes `name`, as it stands, the open project and loads its settings; for a name the
  // project list has just offered.
  void Load(std::string_view name);
  // Closes the entry database, writes the settings first when asked, and loads them again.
  void Reload(bool save_first = false);
  // Gives the project `name`, about to be created, the values new projects start with.
  void StartNewProject(std::string_view name) { settings_.StartNewProject(name); }

  // Holds the project's build lock, Blog.mdb-lock beside Blog.mdb, for as long as it lives;
  // GenerateSite takes it too, so two builds of one project never run at once, whichever
  // programs start them. Throws core::QuillError at once, without waiting, when another
  // holds it or the lock file cannot be opened. Guards of one session nest. A project whose
  // output folder is not there takes no lock: it has nothing on disk to build.
  class BuildGuard {
   public:
    explicit BuildGuard(ProjectSession& session);
    ~BuildGuard();
    BuildGuard(const BuildGuard&) = delete;
    BuildGuard& operator=(const BuildGuard&) = delete;

   private:
    ProjectSession& session_;
  };

  // Generates the site into `output`: with entry pages on, the entry pages and the archive;
  // the blog pages; the feed when the project has it on; then the sitemap and the removal of
  // what earlier builds made and this one does not (EntrySite). Records the output time only
  // when all of it was written. A failure throws core::QuillError and records nothing.
  // With HoldFuture on, entries dated later than the moment the build starts are left out of
  // every file, and that moment is the output time recorded.
  SiteReport GenerateSite(site::SiteOutput& output);

#if QUILL_LINK_CHECK
  // Checks every reference of the site in the output folder as its blog address (Docs, else
  // Site) publishes it. A problem in an entry's text names the entry's stamp wherever the
  // pages tell it: entry pages and their links do, and the blog pages of a site generated
  // since the last save are laid out again to find it. Throws core::QuillError when the
  // output folder cannot be read.
  check::CheckReport CheckSite(check::CheckOptions options = {});
#endif

  // The site needs generating again: an entry was saved after the last output, or, with
  // HoldFuture on, an entry that waited at the last output has seen its time come since.
  // Throws core::QuillError when the entries cannot be read.
  bool OutputStale();

  // The published copy is older than the generated site.
  bool UploadStale() const;
  // Records now as the time of the last upload; false when it could not be written.
  bool StampUpload() { return settings_.StampUpload(); }

 private:
  void RequireReadableSettings() const;
#if QUILL_LINK_CHECK
  void NameEntryStamps(check::CheckReport& report);
#endif

  const core::Clock& clock_;
  std::unique_ptr<core::FileLock> build_lock_;
  int build_guards_ = 0;
  core::SettingsStore settings_;
  store::EntryStore entries_;
  store::EntrySearch search_;
};

}  // namespace quill::project
