// quillpush: sends a Quillsmith project's generated site to its FTP server.

#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/clock.h"
#include "core/product.h"
#include "core/quill_error.h"
#include "core/registry.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "project/project_session.h"
#include "quillpush/ftp_uploader.h"
#include "quillpush/progress_window.h"
#include "quillpush/push_job.h"

namespace {

using quill::core::QuillError;

constexpr const char* kUsage =
    "Usage: quillpush [--quiet] [--dry-run | --verify] [--delete [--force]]\n"
    "                 [--connections N] [--check [--allow-broken-links]] [--insecure-tls]\n"
    "                 PROJECT NAME\n"
    "       quillpush --trust-host-key PROJECT NAME\n"
    "       quillpush --help | --version\n"
    "\n"
    "Sends the site of a Quillsmith project to the server its settings name: every\n"
    "file of the output folder that is new or changed since the last upload, pages last.\n"
    "All words after the options together name the project, so quillpush My Blog sends\n"
    "the project \"My Blog\". Host, user, password, remote folder and output folder come\n"
    "from the project's settings; the upload time is recorded there once every file has\n"
    "arrived. Symbolic links in the output folder are skipped, with a warning.\n"
    "\n"
    "The host decides the protocol: \"sftp:myhost\" uploads by SFTP, \"ftps:myhost\" by FTP\n"
    "with TLS required, a bare \"myhost\" by FTP (with TLS when the server offers it).\n"
    "\n"
    "  --quiet           print nothing but warnings and errors\n"
    "  --dry-run         list what would be sent and deleted; connect to nothing, change\n"
    "                    nothing\n"
    "  --delete          after the upload, delete on the server the files an earlier upload\n"
    "                    sent that are gone from the output folder\n"
    "  --force           with --delete: delete even more than 100 files, or more than half\n"
    "                    of those on the server\n"
    "  --check           check every link of the site first, and send nothing when a link\n"
    "                    leads nowhere (the problems are listed)\n"
    "  --allow-broken-links  with --check: list the problems, then send the site anyway\n"
    "  --verify          first list what the server holds, send again what it lacks or\n"
    "                    holds in another size, and name the files no upload from here sent\n"
    "                    (they are left alone)\n"
    "  --connections N   send over N connections at once, 1 to 16 (default: the project's\n"
    "                    FtpConnections, or 4)\n"
    "  --insecure-tls    accept an ftps: server's certificate without checking who signed\n"
    "                    it (a self-signed one), for this run only\n"
    "  --trust-host-key  show the sftp: server's host key, record it in ~/.ssh/known_hosts\n"
    "                    and upload nothing\n"
    "  --version         show the version\n"
    "  --help            show this text\n"
    "\n"
    "On a desktop it shows its progress in a small window, elsewhere one line per file.\n"
    "The exit status is 0 when everything arrived, 1 when something failed, 2 for a\n"
    "command line it cannot read.\n";

struct CommandLine {
  bool quiet = false;
  bool dry_run = false;
  bool trust = false;
  bool check = false;
  bool allow_broken_links = false;
  quill::push::PushOptions options;
  std::string project;
};

// One line per file, for terminals and scripts. Warnings go to standard error, even when
// quiet: a skipped file is worth knowing about.
class ConsoleObserver final : public quill::push::PushObserver {
 public:
  explicit ConsoleObserver(bool quiet) : quiet_(quiet) {}
  void Warn(const std::string& text) override {
    std::fprintf(stderr, "quillpush: warning: %s\n", text.c_str());
  }
  void Starting(std::size_t files, std::size_t total, std::uint64_t bytes) override {
    if (!quiet_) {
      std::printf("%zu of %zu files to send (%llu bytes)\n", files, total,
                  static_cast<unsigned long long>(bytes));
    }
  }
  bool Progress(const quill::push::UploadProgress&) override { return true; }
  void Sent(const quill::push::SiteFile& file) override {
    if (!quiet_) {
      std::printf("Sent %s (%llu bytes)\n", file.name.c_str(),
                  static_cast<unsigned long long>(file.size));
      std::fflush(stdout);
    }
  }
  void Deleted(const std::string& name) override {
    if (!quiet_) {
      std::printf("Deleted %s\n", name.c_str());
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

// The user's ~/.ssh, where known_hosts and the default keys are.
std::string SshFolder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    const passwd* entry = getpwuid(getuid());
    home = entry != nullptr ? entry->pw_dir : "";
  }
  return std::string(home) + "/.ssh";
}

void TrustHostKey(quill::core::SettingsStore& settings, const std::string& ssh_folder) {
  const quill::core::ProjectSettings& project = settings.Settings();
  const quill::push::FtpTarget target = quill::push::TargetOf(
      project.ProjectName, project.FtpHost, quill::core::Trim(project.FtpUser), "",
      quill::core::Trim(project.FtpPath), {false, ssh_folder});
  if (target.protocol != quill::push::Protocol::kSftp || target.host.empty()) {
    throw quill::core::QuillError("The project \"" + project.ProjectName +
                                  "\" does not upload by SFTP: its host does not start with "
                                  "\"sftp:\", so it has no SSH host key to trust.");
  }
  const quill::push::TrustedKey trusted = quill::push::TrustHostKey(target);
  std::printf("The host key of %s is %s %s.\n", target.host.c_str(), trusted.key.type.c_str(),
              trusted.key.fingerprint.c_str());
  if (trusted.was_known) {
    std::printf("It is already trusted in %s.\n", trusted.file.c_str());
  } else {
    std::printf("Recorded it in %s; quillpush %s now uploads to that server.\n",
                trusted.file.c_str(), project.ProjectName.c_str());
  }
}

using Setter = void (*)(CommandLine&);

// The options that are plain switches, and what each sets.
constexpr std::array<std::pair<std::string_view, Setter>, 9> kSwitches{{
    {"--quiet", [](CommandLine& line) { line.quiet = true; }},
    {"--check", [](CommandLine& line) { line.check = true; }},
    {"--allow-broken-links", [](CommandLine& line) { line.allow_broken_links = true; }},
    {"--dry-run", [](CommandLine& line) { line.dry_run = true; }},
    {"--delete", [](CommandLine& line) { line.options.remove_vanished = true; }},
    {"--force", [](CommandLine& line) { line.options.force = true; }},
    {"--verify", [](CommandLine& line) { line.options.verify = true; }},
    {"--insecure-tls", [](CommandLine& line) { line.options.transport.insecure_tls = true; }},
    {"--trust-host-key", [](CommandLine& line) { line.trust = true; }},
}};

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "quillpush: %s\n\n%s", problem.c_str(), kUsage);
  return 2;
}

// "--connections N" or "--connections=N"; false when the number is missing or out of range.
bool ReadConnections(const std::string& argument, int& i, int argc, char** argv,
                     CommandLine& line) {
  std::string number = argument.substr(std::min(argument.size(), std::strlen("--connections=")));
  if (argument == "--connections") number = i + 1 < argc ? argv[++i] : "";
  const bool digits = !number.empty() && number.size() <= 2 &&
                      number.find_first_not_of("0123456789") == std::string::npos;
  const int count = digits ? std::stoi(number) : 0;
  line.options.connections = count;
  return count >= 1 && count <= quill::push::kMostConnections;
}

// Reads the options and the project name; returns an exit status when there is nothing
// more to do.
std::optional<int> ReadCommandLine(int argc, char** argv, CommandLine& line) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto found = std::find_if(kSwitches.begin(), kSwitches.end(),
                                    [&](const auto& entry) { return entry.first == argument; });
    if (!line.project.empty()) {
      line.project += ' ' + argument;
    } else if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (argument == "--version") {
      std::printf("quillpush %d.%d.%d\n", quill::core::kVersionMajor, quill::core::kVersionMinor,
                  quill::core::kVersionRevision);
      return 0;
    } else if (found != kSwitches.end()) {
      found->second(line);
    } else if (argument == "--connections" || argument.starts_with("--connections=")) {
      if (!ReadConnections(argument, i, argc, argv, line)) {
        return UsageError("--connections takes a number from 1 to " +
                          std::to_string(quill::push::kMostConnections));
      }
    } else if (argument.starts_with("--")) {
      return UsageError("unknown option " + argument);
    } else {
      line.project = argument;
    }
  }
  if (line.options.force && !line.options.remove_vanished) {
    return UsageError("--force goes with --delete");
  }
  if (line.allow_broken_links && !line.check) {
    return UsageError("--allow-broken-links goes with --check");
  }
  if (line.options.verify && line.dry_run) {
    return UsageError("--verify asks the server, and --dry-run connects to nothing: choose one");
  }
  if (line.project.empty()) return UsageError("name the project to send");
  return std::nullopt;
}

// --check: the site's links, before anything is sent. Throws when links lead nowhere and the
// site is not to go anyway.
void CheckLinks(quill::project::ProjectSession& session, const CommandLine& line,
                quill::push::PushObserver& observer) {
  const quill::check::CheckReport report = session.CheckSite();
  if (report.Problems() == 0) return;
  for (const std::string& text : quill::check::ReportLines(report)) {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  const std::string problems = quill::check::ProblemSummary(report.Problems());
  if (!line.allow_broken_links) {
    throw QuillError(problems + "; nothing was sent (--allow-broken-links sends the site anyway)");
  }
  observer.Warn(problems + "; sending the site anyway");
}

// --dry-run: what would go, printed; the exit status says whether the upload would.
int DryRun(const quill::core::SettingsStore& settings, const CommandLine& line) {
  const quill::push::PushPlan plan = quill::push::PlanPush(settings.Settings(), line.options);
  for (const std::string& warning : plan.warnings) {
    std::fprintf(stderr, "quillpush: warning: %s\n", warning.c_str());
  }
  for (const std::string& text : quill::push::DescribePlan(plan, line.options)) {
    std::printf("%s\n", text.c_str());
  }
  if (!plan.refusal) return 0;
  std::fprintf(stderr, "quillpush: %s\n", plan.refusal->c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(argc, argv, line)) return *status;

  line.options.transport.ssh_folder = SshFolder();
  if (line.trust) {
    try {
      const auto registry = quill::core::OpenUserRegistry();
      quill::core::SystemClock clock;
      quill::project::ProjectSession session(*registry, clock);
      session.Open(line.project);
      TrustHostKey(session.Settings(), line.options.transport.ssh_folder);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "quillpush: %s\n", error.what());
      return 1;
    }
    return 0;
  }

  std::unique_ptr<QApplication> application;
  std::unique_ptr<quill::push::ProgressWindow> window;
  if (HasDisplay() && !line.dry_run) {
    application = std::make_unique<QApplication>(argc, argv);
    window = std::make_unique<quill::push::ProgressWindow>(QString::fromStdString(line.project));
  }
  ConsoleObserver console(line.quiet);
  quill::push::PushObserver& observer =
      window ? static_cast<quill::push::PushObserver&>(*window) : console;

  try {
    const auto registry = quill::core::OpenUserRegistry();
    quill::core::SystemClock clock;
    quill::project::ProjectSession session(*registry, clock);
    session.Open(line.project);
    if (line.check) CheckLinks(session, line, observer);
    if (line.dry_run) return DryRun(session.Settings(), line);
    const quill::push::PushReport report = quill::push::Push(session, observer, line.options);
    if (!line.quiet && !window) {
      std::printf("Sent %zu files (%llu bytes) to %s; %zu unchanged", report.sent,
                  static_cast<unsigned long long>(report.bytes), report.where.c_str(),
                  report.unchanged);
      if (line.options.remove_vanished) std::printf("; %zu deleted", report.deleted);
      std::printf("\n");
    }
    if (window) window->Done(report);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillpush: %s\n", error.what());
    if (window) window->Fail(QString::fromStdString(error.what()));
    return 1;
  }
  return 0;
}
