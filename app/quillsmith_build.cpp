// quillsmith-build: generates a project's site, or its missing support files, from the
// command line, for users who publish from scripts or a server.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/clock.h"
#include "core/product.h"
#include "core/quill_error.h"
#include "core/registry.h"
#include "core/settings_store.h"
#include "site/blog_pages.h"
#include "site/rss_feed.h"
#include "site/site_output.h"
#include "site/support_files.h"
#include "store/entry_store.h"

namespace {

using quill::core::QuillError;

constexpr const char* kUsage =
    "Usage: quillsmith-build PROJECT\n"
    "       quillsmith-build --support-files PROJECT\n"
    "       quillsmith-build --help | --version\n"
    "\n"
    "Generates the blog of a Quillsmith project into its output folder, as the editor's\n"
    "Output button does: the blog pages, then rss.xml when the project has its feed on.\n"
    "\n"
    "  --support-files  write the support files missing from the output folder instead:\n"
    "                   template.html, default.css and quillsmith.css, and comments.html,\n"
    "                   message.html and contact.php when the project takes comments\n"
    "  --help           show this text\n"
    "  --version        show the program's version\n"
    "\n"
    "Projects and their settings are the ones the editor keeps. The exit status is 0 on\n"
    "success, 1 when nothing, or not everything, could be written, and 2 on a usage error.\n";

constexpr int kUsageError = 2;

// Everything one run works with; nothing here outlives main().
struct App {
  std::unique_ptr<quill::core::Registry> registry = quill::core::OpenUserRegistry();
  quill::core::SystemClock clock;
  quill::core::SettingsStore settings{*registry, clock};
  quill::store::EntryStore entries{settings};
};

// A settings file that cannot be read is named with the reason, rather than passing for a
// missing project.
void RequireSettings(const App& app) {
  const std::string failure = app.settings.LastFailure();
  if (!failure.empty()) throw QuillError(failure);
}

void OpenProject(App& app, const std::string& wanted) {
  const auto found = app.settings.FindProject(wanted);
  RequireSettings(app);
  if (!found) throw QuillError("There is no project named \"" + wanted + "\".");
  app.settings.Settings().ProjectName = *found;
  app.settings.LoadSettings(false);
  RequireSettings(app);
  if (app.settings.Settings().OutputFolder.empty()) {
    throw QuillError("The project \"" + app.settings.Settings().ProjectName +
                     "\" has no output folder yet; choose one in the editor's setup dialog.");
  }
}

void Build(App& app) {
  const auto started = std::chrono::steady_clock::now();
  const quill::core::ProjectSettings& settings = app.settings.Settings();
  quill::site::DiskOutput output(settings.OutputFolder);
  const quill::site::BuildReport report =
      quill::site::BuildBlogPages(settings, app.entries, output);
  std::uint64_t bytes = report.bytes;
  if (settings.IncludeRSS == 1) {
    bytes += quill::site::WriteRssFeed(settings, app.entries, app.clock, output);
  }
  if (!app.settings.StampOutput()) {
    throw QuillError("The site was built in " + settings.OutputFolder +
                     ", but the output time could not be recorded: " + app.settings.LastFailure());
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
  std::printf("Built %lld entries into %d page%s (%llu bytes) in %.2f s: %s\n",
              static_cast<long long>(report.entries), report.pages, report.pages == 1 ? "" : "s",
              static_cast<unsigned long long>(bytes), seconds.count(),
              settings.OutputFolder.c_str());
}

void WriteSupportFiles(App& app) {
  const quill::core::ProjectSettings& settings = app.settings.Settings();
  quill::site::DiskOutput output(settings.OutputFolder);
  int written = 0;
  for (const std::string& name : quill::site::SupportFileNames(settings.CommentPage == 1)) {
    if (output.Exists(name)) continue;
    quill::site::WriteSupportFile(name, settings, output);
    std::printf("Wrote %s%s\n", settings.OutputFolder.c_str(), name.c_str());
    ++written;
  }
  if (written == 0) {
    std::printf("Every support file is already in %s\n", settings.OutputFolder.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool support_files = false;
  std::string project;
  int projects = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (argument == "--version") {
      std::printf("quillsmith-build %d.%d.%d\n", quill::core::kVersionMajor,
                  quill::core::kVersionMinor, quill::core::kVersionRevision);
      return 0;
    }
    if (argument == "--support-files") {
      support_files = true;
    } else if (argument == "--") {
      for (++i; i < argc; ++i, ++projects) project = argv[i];
    } else if (argument.starts_with("-")) {
      std::fprintf(stderr, "quillsmith-build: unknown option %s\n\n%s", argument.c_str(), kUsage);
      return kUsageError;
    } else {
      project = argument;
      ++projects;
    }
  }
  if (projects != 1) {
    std::fprintf(stderr, "quillsmith-build: name one project\n\n%s", kUsage);
    return kUsageError;
  }

  try {
    App app;
    OpenProject(app, project);
    if (support_files) {
      WriteSupportFiles(app);
    } else {
      Build(app);
    }
  } catch (const QuillError& error) {
    std::fprintf(stderr, "quillsmith-build: %s\n", error.what());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillsmith-build: %s\n", error.what());
    return 1;
  }
  return 0;
}
