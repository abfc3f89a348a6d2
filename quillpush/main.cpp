// quillpush: sends a Quillsmith project's generated site to its FTP server.

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/clock.h"
#include "core/quill_error.h"
#include "core/registry.h"
#include "core/settings_store.h"
#include "quillpush/progress_window.h"
#include "quillpush/push_job.h"

namespace {

constexpr const char* kUsage =
    "Usage: quillpush [--quiet] PROJECT NAME\n"
    "       quillpush --help\n"
    "\n"
    "Sends the site of a Quillsmith project to the FTP server its settings name: every\n"
    "file of the output folder that is new or changed since the last upload, pages last.\n"
    "All words after the options together name the project, so quillpush My Blog sends\n"
    "the project \"My Blog\". Host, user, password, remote folder and output folder come\n"
    "from the project's settings; the upload time is recorded there once every file has\n"
    "arrived.\n"
    "\n"
    "  --quiet  print nothing but errors\n"
    "  --help   show this text\n"
    "\n"
    "On a desktop it shows its progress in a small window, elsewhere one line per file.\n"
    "The exit status is 0 when everything arrived, 1 when something failed, 2 for a\n"
    "command line it cannot read.\n";

// One line per file, for terminals and scripts.
class ConsoleObserver final : public quill::push::PushObserver {
 public:
  explicit ConsoleObserver(bool quiet) : quiet_(quiet) {}
  void Starting(std::size_t files, std::size_t total, std::uint64_t bytes) override {
    if (!quiet_) {
      std::printf("%zu of %zu files to send (%llu bytes)\n", files, total,
                  static_cast<unsigned long long>(bytes));
    }
  }
  void Sending(const quill::push::SiteFile&) override {}
  bool Progress(std::uint64_t) override { return true; }
  void Sent(const quill::push::SiteFile& file) override {
    if (!quiet_) {
      std::printf("Sent %s (%llu bytes)\n", file.name.c_str(),
                  static_cast<unsigned long long>(file.size));
      std::fflush(stdout);
    }
  }

 private:
  bool quiet_;
};

bool HasDisplay() {
#ifdef _WIN32
  return true;
#else
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  bool quiet = false;
  std::string project;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (project.empty() && (argument == "--help" || argument == "-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (project.empty() && argument == "--quiet") {
      quiet = true;
      continue;
    }
    if (!project.empty()) project += ' ';
    project += argument;
  }
  if (project.empty()) {
    std::fprintf(stderr, "quillpush: name the project to send\n\n%s", kUsage);
    return 2;
  }

  std::unique_ptr<QApplication> application;
  std::unique_ptr<quill::push::ProgressWindow> window;
  if (HasDisplay()) {
    application = std::make_unique<QApplication>(argc, argv);
    window = std::make_unique<quill::push::ProgressWindow>(QString::fromStdString(project));
  }
  ConsoleObserver console(quiet);
  quill::push::PushObserver& observer =
      window ? static_cast<quill::push::PushObserver&>(*window) : console;

  try {
    const auto registry = quill::core::OpenUserRegistry();
    quill::core::SystemClock clock;
    quill::core::SettingsStore settings(*registry, clock);
    const auto found = settings.FindProject(project);
    if (!found) throw quill::core::QuillError("There is no project named \"" + project + "\".");
    settings.Settings().ProjectName = *found;
    settings.LoadSettings(false);
    const quill::push::PushReport report = quill::push::Push(settings, observer);
    if (!quiet && !window) {
      std::printf("Sent %zu files (%llu bytes) to %s; %zu unchanged\n", report.sent,
                  static_cast<unsigned long long>(report.bytes), report.where.c_str(),
                  report.unchanged);
    }
    if (window) window->Done(report);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillpush: %s\n", error.what());
    if (window) window->Fail(QString::fromStdString(error.what()));
    return 1;
  }
  return 0;
}
