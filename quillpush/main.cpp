// quillpush: sends a Quillsmith project's generated site to its FTP server.

#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/clock.h"
#include "core/quill_error.h"
#include "core/registry.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "quillpush/ftp_uploader.h"
#include "quillpush/progress_window.h"
#include "quillpush/push_job.h"

namespace {

constexpr const char* kUsage =
    "Usage: quillpush [--quiet] [--insecure-tls] PROJECT NAME\n"
    "       quillpush --trust-host-key PROJECT NAME\n"
    "       quillpush --help\n"
    "\n"
    "Sends the site of a Quillsmith project to the server its settings name: every\n"
    "file of the output folder that is new or changed since the last upload, pages last.\n"
    "All words after the options together name the project, so quillpush My Blog sends\n"
    "the project \"My Blog\". Host, user, password, remote folder and output folder come\n"
    "from the project's settings; the upload time is recorded there once every file has\n"
    "arrived.\n"
    "\n"
    "The host decides the protocol: \"sftp:myhost\" uploads by SFTP, \"ftps:myhost\" by FTP\n"
    "with TLS required, a bare \"myhost\" by FTP (with TLS when the server offers it).\n"
    "\n"
    "  --quiet           print nothing but errors and warnings\n"
    "  --insecure-tls    accept an ftps: server's certificate without checking who signed\n"
    "                    it (a self-signed one), for this run only\n"
    "  --trust-host-key  show the sftp: server's host key, record it in ~/.ssh/known_hosts\n"
    "                    and upload nothing\n"
    "  --help            show this text\n"
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
  // Warnings concern the user's safety, so even --quiet shows them.
  void Warn(const std::string& message) override {
    std::fprintf(stderr, "quillpush: warning: %s\n", message.c_str());
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

void LoadProject(quill::core::SettingsStore& settings, const std::string& project) {
  const auto found = settings.FindProject(project);
  if (!found) throw quill::core::QuillError("There is no project named \"" + project + "\".");
  settings.Settings().ProjectName = *found;
  settings.LoadSettings(false);
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

}  // namespace

int main(int argc, char** argv) {
  bool quiet = false;
  bool trust = false;
  quill::push::TransportOptions options{false, SshFolder()};
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
    if (project.empty() && argument == "--insecure-tls") {
      options.insecure_tls = true;
      continue;
    }
    if (project.empty() && argument == "--trust-host-key") {
      trust = true;
      continue;
    }
    if (!project.empty()) project += ' ';
    project += argument;
  }
  if (project.empty()) {
    std::fprintf(stderr, "quillpush: name the project to send\n\n%s", kUsage);
    return 2;
  }

  if (trust) {
    try {
      const auto registry = quill::core::OpenUserRegistry();
      quill::core::SystemClock clock;
      quill::core::SettingsStore settings(*registry, clock);
      LoadProject(settings, project);
      TrustHostKey(settings, options.ssh_folder);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "quillpush: %s\n", error.what());
      return 1;
    }
    return 0;
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
    LoadProject(settings, project);
    const quill::push::PushReport report = quill::push::Push(settings, observer, options);
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
