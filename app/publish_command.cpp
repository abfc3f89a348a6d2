#include "app/publish_command.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/folders.h"
#include "core/quill_error.h"
#include "project/project_session.h"
#include "publish/process.h"
#include "publish/publish_rules.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "core/windows_text.h"
#else
#include <unistd.h>
#endif

namespace quill::app {
namespace {

int Fail(const std::string& reason) {
  std::fprintf(stderr, "quillsmith-build: %s\n", reason.c_str());
  return 1;
}

// Runs the uploader for the project and says how it ended.
int Upload(const std::string& uploader, const std::string& project) {
  const publish::Command command = publish::UploaderCommand(uploader, project);
  const publish::LaunchResult result = publish::RunAndWait(command.program, command.arguments);
  const std::string failure = publish::UploaderFailure(uploader, result);
  if (!failure.empty()) return Fail(failure);
  if (result.exit_code != 0) {
    return Fail("The uploader " + uploader + " failed (exit status " +
                std::to_string(result.exit_code) +
                "): the site is built, but not completely uploaded; the next run tries again.");
  }
  std::printf("Uploaded with %s\n", uploader.c_str());
  return 0;
}

}  // namespace

std::string ProgramFolder() {
#ifdef _WIN32
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
  if (length == 0 || length >= sizeof path / sizeof path[0]) return {};
  const std::string file = core::Narrow(std::wstring_view(path, length));
  return file.substr(0, file.find_last_of("\\/") + 1);
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return self.parent_path().string() + "/";
#endif
}

int Publish(project::ProjectSession& session, const std::string& uploader, bool dry_run,
            const std::function<void()>& build) {
  const core::ProjectSettings& settings = session.Project();
  const std::string& name = settings.ProjectName;
  if (!core::FolderExists(settings.OutputFolder)) {
    return Fail("The output folder " + settings.OutputFolder + " of \"" + name +
                "\" does not exist (was it moved, is its drive mounted?); nothing was done.");
  }
  const project::ProjectSession::BuildGuard lock(session);
  const bool saved = publish::IsOutputStale(settings);
  const bool due = session.OutputStale();
  const bool upload_on = settings.PostFTP == 1;
  const bool upload = upload_on && (due || session.UploadStale());
  if (!due && !upload) {
    std::printf("Nothing to do: the site of \"%s\" is up to date%s.\n", name.c_str(),
                upload_on ? " and uploaded" : "");
    return 0;
  }
  if (upload && !std::filesystem::exists(uploader)) {
    return Fail("The uploader is not there: " + uploader +
                " (quillpush belongs beside quillsmith-build); nothing was built or uploaded.");
  }
  const char* why = saved ? "entries were saved since the last output"
                          : "an entry that was waiting for its time is due";
  const char* off = "Uploading is switched off for the project (setup, FTP page)";
  if (dry_run) {
    if (due) std::printf("Would build the site of \"%s\": %s.\n", name.c_str(), why);
    if (upload) std::printf("Would upload it with %s\n", uploader.c_str());
    if (!upload_on) std::printf("%s: it would only be built.\n", off);
    return 0;
  }
  if (due) build();
  if (!upload_on) {
    std::printf("%s: built only.\n", off);
    return 0;
  }
  return Upload(uploader, name);
}

}  // namespace quill::app
