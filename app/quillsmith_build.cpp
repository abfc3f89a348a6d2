// quillsmith-build: generates a project's site, or its missing support files, or finds its
// entries by their words, from the command line, for users who publish from scripts or a
// server; imports entries from other blogs' files and exports them for other site generators.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/interchange_commands.h"
#include "app/publish_command.h"
#include "core/clock.h"
#include "core/draft_store.h"
#include "core/product.h"
#include "core/quill_error.h"
#include "core/registry.h"
#include "project/project_session.h"
#include "publish/publish_rules.h"
#include "site/site_output.h"
#include "site/support_files.h"
#include "site/text_digest.h"
#include "store/entry_search.h"

namespace {

using quill::core::QuillError;

constexpr const char* kUsageForms =
    "Usage: quillsmith-build PROJECT\n"
    "       quillsmith-build --check [--external] PROJECT\n"
    "       quillsmith-build --check-only [--external] PROJECT\n"
    "       quillsmith-build --support-files PROJECT\n"
    "       quillsmith-build --search WORDS PROJECT\n"
    "       quillsmith-build --publish [--dry-run] PROJECT\n";
constexpr const char* kUsageOptions =
    "       quillsmith-build --help | --version\n"
    "\n"
    "Generates the blog of a Quillsmith project into its output folder, as the editor's\n"
    "Output button does: the blog pages, then rss.xml when the project has its feed on,\n"
    "and each entry's page, the archive and the sitemap when it has entry pages on.\n"
    "\n"
    "  --support-files  write the support files missing from the output folder instead:\n"
    "                   template.html, default.css and quillsmith.css, and comments.html,\n"
    "                   message.html and contact.php when the project takes comments\n"
    "  --check          then check every link of the site: the pages, the feed and the\n"
    "                   sitemap, as a browser follows them on the published site\n"
    "  --check-only     check the site as it is in the output folder, without building\n"
    "  --external       with a check: also fetch each address on other web sites (eight at\n"
    "                   a time, 10 s each; results are kept for a day)\n"
    "  --search WORDS   list the entries whose text holds every one of the words, as\n"
    "                   whole words, letter case and accents aside, markup left out:\n"
    "                   stamp, a tab and title, newest first; the exit status is then 0\n"
    "                   when some were found, 1 when none, 2 on an error\n"
    "  --publish        build the site when it is out of date (entries saved since the\n"
    "                   last output, or an entry waiting for its time now due), then\n"
    "                   upload it with the quillpush beside this program when uploading\n"
    "                   is on; a run while another build holds the project exits at once\n"
    "  --dry-run        with --publish: say what it would do, do nothing\n";
constexpr const char* kUsageEnd =
    "  --help           show this text\n"
    "  --version        show the program's version\n"
    "\n"
    "Projects and their settings are the ones the editor keeps. The exit status is 0 on\n"
    "success, 1 when nothing, or not everything, could be written or when the check found\n"
    "links that lead nowhere, and 2 on a usage error.\n";

constexpr int kUsageError = 2;
// A search's exit status, as grep's: found, found nothing, failed.
constexpr int kFound = 0;
constexpr int kNoneFound = 1;
constexpr int kSearchFailed = 2;

void PrintUsage(std::FILE* out) {
  const quill::app::InterchangeUsage interchange = quill::app::InterchangeUsageText();
  std::fputs(kUsageForms, out);
  std::fputs(interchange.forms, out);
  std::fputs(kUsageOptions, out);
  std::fputs(interchange.options, out);
  std::fputs(kUsageEnd, out);
}

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "quillsmith-build: %s\n\n", problem.c_str());
  PrintUsage(stderr);
  return kUsageError;
}

// What the command line asks for.
struct Request {
  bool support_files = false;
  bool build = true;
  bool check = false;
  bool external = false;
  bool publish = false;
  std::optional<std::string> search;
  quill::app::InterchangeRequest interchange;
  std::string project;
};

// Everything one run works with; nothing here outlives main().
struct App {
  std::unique_ptr<quill::core::Registry> registry = quill::core::OpenUserRegistry();
  quill::core::SystemClock clock;
  quill::project::ProjectSession session{*registry, clock};
};

void OpenProject(App& app, const std::string& wanted) {
  app.session.Open(wanted);
  if (app.session.Project().OutputFolder.empty()) {
    throw QuillError("The project \"" + app.session.Project().ProjectName +
                     "\" has no output folder yet; choose one in the editor's setup dialog.");
  }
}

const char* Plural(std::size_t n) { return n == 1 ? "" : "s"; }

// The entry pages, archive and sitemap, when the project has them, and what went.
void PrintEntrySite(const quill::core::ProjectSettings& settings,
                    const quill::site::EntrySiteReport& report) {
  if (settings.EntryPages == 1) {
    std::printf(
        "  and %zu entry page%s (%zu new or changed), %zu archive page%s, %zu sitemap "
        "file%s\n",
        report.entry_pages, Plural(report.entry_pages), report.written, report.archive_pages,
        Plural(report.archive_pages), report.sitemap_files, Plural(report.sitemap_files));
  }
  if (report.removed > 0) {
    std::printf("  removed %zu file%s an earlier build made\n", report.removed,
                Plural(report.removed));
  }
}

void Build(App& app) {
  const auto started = std::chrono::steady_clock::now();
  const quill::core::ProjectSettings& settings = app.session.Project();
  quill::site::DiskOutput output(settings.OutputFolder);
  const quill::project::SiteReport report = app.session.GenerateSite(output);
  if (!report.stamped) {
    throw QuillError(
        "The site was built in " + settings.OutputFolder +
        ", but the output time could not be recorded: " + app.session.Settings().LastFailure());
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
  std::printf("Built %lld entries into %d page%s (%llu bytes) in %.2f s: %s\n",
              static_cast<long long>(report.pages.entries), report.pages.pages,
              report.pages.pages == 1 ? "" : "s", static_cast<unsigned long long>(report.bytes),
              seconds.count(), settings.OutputFolder.c_str());
  PrintEntrySite(settings, report.entry_site);
}

#if QUILL_LINK_CHECK
// Prints the check's report; false when it found links that lead nowhere.
bool CheckLinks(App& app, bool external) {
  quill::check::CheckOptions options;
  options.external = external;
  const std::string state =
      quill::core::DefaultStateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
  std::error_code ignored;  // without the folder, results are only not kept
  std::filesystem::create_directories(state, ignored);
  options.fetch.cache_file = state + "link-check.tsv";
  options.fetch.now = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
  const quill::check::CheckReport report = app.session.CheckSite(options);
  for (const std::string& line : quill::check::ReportLines(report)) {
    std::printf("%s\n", line.c_str());
  }
  return report.Problems() == 0;
}
#endif

void WriteSupportFiles(App& app) {
  const quill::core::ProjectSettings& settings = app.session.Project();
  // A new project's folder may not be there yet; the support files start it.
  quill::site::DiskOutput output(settings.OutputFolder, quill::site::MissingFolder::Create);
  int written = 0;
  for (const std::string& name :
       quill::site::SupportFileNames(settings.CommentPage == 1, settings.Html5 == 1)) {
    if (output.Exists(name)) continue;
    quill::site::WriteSupportFile(name, settings, output);
    std::printf("Wrote %s%s\n", settings.OutputFolder.c_str(), name.c_str());
    ++written;
  }
  if (written == 0) {
    std::printf("Every support file is already in %s\n", settings.OutputFolder.c_str());
  }
}

int Search(App& app, const std::string& words) {
  const std::vector<quill::core::Stamp> found = app.session.Search().Find(words);
  // (Reading the entries would make a database where there is none.)
  if (found.empty()) return kNoneFound;
  quill::store::EntryStore& entries = app.session.Entries();
  int listed = 0;
  const quill::store::EntryStore::ReadBatch batch(entries);
  for (const quill::core::Stamp& stamp : found) {
    entries.SeekEntry(stamp);
    if (entries.NoEntry()) continue;
    const std::string title =
        quill::site::ExtractEntryTitle(quill::site::StripMarkup(entries.CurrentEntry.Content));
    std::printf("%s\t%s\n", stamp.ToText().c_str(), title.c_str());
    ++listed;
  }
  return listed > 0 ? kFound : kNoneFound;
}

// What is wrong with a command line that names `projects` projects; nullptr when nothing.
const char* Misuse(const Request& request, int projects) {
  if (projects != 1) return "name one project";
  if (request.support_files && request.check) return "--support-files builds no site to check";
  if (request.external && !request.check) return "--external goes with --check";
  if (request.check && request.interchange.Any()) {
    return "--check goes without --import and --export";
  }
  if (request.search && (request.support_files || request.check || request.interchange.Any())) {
    return "--search goes alone";
  }
  if (request.publish &&
      (request.support_files || request.check || request.search || request.interchange.Any())) {
    return "--publish goes alone, or with --dry-run";
  }
  if (request.interchange.dry_run && !request.publish && !request.interchange.Any()) {
    return "--dry-run goes with --publish or --import";
  }
  if (request.search && !quill::store::EntrySearch::HasWords(*request.search)) {
    return "the words to --search hold no letter or digit: no word to look for";
  }
  return nullptr;
}

// Reads the command line; returns an exit status when there is nothing more to do.
std::optional<int> ReadCommandLine(int argc, char** argv, Request& request) {
  int projects = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      PrintUsage(stdout);
      return 0;
    }
    if (argument == "--version") {
      std::printf("quillsmith-build %d.%d.%d\n", quill::core::kVersionMajor,
                  quill::core::kVersionMinor, quill::core::kVersionRevision);
      return 0;
    }
    if (argument == "--support-files") {
      request.support_files = true;
    } else if (argument == "--check" || argument == "--check-only") {
      request.check = true;
      request.build = request.build && argument == "--check";
    } else if (argument == "--external") {
      request.external = true;
    } else if (argument == "--publish") {
      request.publish = true;
    } else if (argument == "--dry-run") {
      request.interchange.dry_run = true;  // for --publish, or for --import
    } else if (argument == "--search") {
      if (i + 1 == argc) return UsageError("--search needs the words to look for");
      request.search = argv[++i];
    } else if (const auto taken =
                   quill::app::TakeInterchangeOption(argc, argv, i, request.interchange);
               taken != quill::app::Taken::No) {
      if (taken == quill::app::Taken::ValueMissing) return UsageError(argument + " needs a value");
    } else if (argument == "--") {
      for (++i; i < argc; ++i, ++projects) request.project = argv[i];
    } else if (argument.starts_with("-")) {
      return UsageError("unknown option " + argument);
    } else {
      request.project = argument;
      ++projects;
    }
  }
  if (const char* wrong = Misuse(request, projects)) return UsageError(wrong);
  quill::app::InterchangeRequest interchange = request.interchange;
  if (request.publish) interchange.dry_run = false;  // --publish's own
  const std::string problem = quill::app::InterchangeProblem(interchange, request.support_files);
  if (!problem.empty()) return UsageError(problem);
#if !QUILL_LINK_CHECK
  if (request.check) {
    std::fprintf(stderr, "quillsmith-build: this build has no link checker\n");
    return kUsageError;
  }
#endif
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  Request request;
  if (const std::optional<int> status = ReadCommandLine(argc, argv, request)) return *status;
  try {
    App app;
    OpenProject(app, request.project);
    if (request.search) return Search(app, *request.search);
    if (request.support_files) {
      WriteSupportFiles(app);
      return 0;
    }
    if (request.interchange.Any()) {
      quill::app::RunInterchange(app.session, request.interchange);
      return 0;
    }
    if (request.publish) {
      const std::string uploader = quill::publish::UploaderPath(quill::app::ProgramFolder());
      return quill::app::Publish(app.session, uploader, request.interchange.dry_run,
                                 [&] { Build(app); });
    }
    if (request.build) Build(app);
#if QUILL_LINK_CHECK
    if (request.check && !CheckLinks(app, request.external)) return 1;
#endif
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillsmith-build: %s\n", error.what());
    return request.search ? kSearchFailed : 1;
  }
  return 0;
}
