#include "quillpush/push_job.h"

#include "core/quill_error.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "quillpush/ftp_uploader.h"
#include "quillpush/manifest.h"

namespace quill::push {

PushReport Push(core::SettingsStore& settings, PushObserver& observer,
                const TransportOptions& options) {
  const core::ProjectSettings& project = settings.Settings();
  const FtpTarget target =
      TargetOf(project.ProjectName, project.FtpHost, core::Trim(project.FtpUser), project.FtpPass,
               core::Trim(project.FtpPath), options);
  if (target.host.empty()) {
    throw core::QuillError("The project \"" + project.ProjectName +
                           "\" has no FTP host; enter one on the FTP page of its setup.");
  }
  if (project.OutputFolder.empty()) {
    throw core::QuillError("The project \"" + project.ProjectName + "\" has no output folder.");
  }
  const std::vector<SiteFile> files = ListSiteFiles(project.OutputFolder, project);

  FtpUploader uploader(target);
  PushReport report;
  report.where = uploader.Where();
  // The account belongs to the target: another user may see another folder.
  Manifest manifest(project.OutputFolder + Manifest::kFileName, ManifestTarget(target));

  std::vector<std::pair<const SiteFile*, std::string>> changed;
  std::uint64_t bytes = 0;
  for (const SiteFile& file : files) {
    std::string sha = Sha256OfFile(file.path);
    if (manifest.Holds(file.name, file.size, sha)) {
      ++report.unchanged;
    } else {
      changed.emplace_back(&file, std::move(sha));
      bytes += file.size;
    }
  }

  observer.Starting(changed.size(), files.size(), bytes);
  for (const auto& [file, sha] : changed) {
    observer.Sending(*file);
    const std::uint64_t before = report.bytes;
    uploader.Send(*file, [&](std::uint64_t sent) { return observer.Progress(before + sent); });
    if (report.sent == 0 && !uploader.SecurityWarning().empty()) {
      observer.Warn(uploader.SecurityWarning());
    }
    manifest.Record(file->name, file->size, sha);
    report.bytes += file->size;
    ++report.sent;
    observer.Sent(*file);
  }
  if (!changed.empty()) manifest.Compact();
  settings.StampUpload();
  return report;
}

}  // namespace quill::push
