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
#include "project/project_session.h"
#include "site/site_output.h"
#include "site/support_files.h"

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
  quill::project::ProjectSession session{*registry, clock};
};

void OpenProject(App& app, const std::string& wanted) {
  app.session.Open(wanted);
  if (app.session.Project().OutputFolder.empty()) {
    throw QuillError("The project \"" + app.session.Project().ProjectName +
                     "\" has no output folder yet; choose one in the editor's setup dialog.");
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
}

void WriteSupportFiles(App& app) {
  const quill::core::ProjectSettings& settings = app.session.Project();
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
