#include "quillpush/push_job.h"

#include <filesystem>

#include "core/quill_error.h"
#include "core/text.h"
#include "project/project_session.h"
#include "quillpush/ftp_uploader.h"
#include "quillpush/manifest.h"
#include "quillpush/remote_name.h"

namespace quill::push {
namespace {

FtpTarget TargetOfProject(const core::ProjectSettings& project, const TransportOptions& options) {
  FtpTarget target = TargetOf(project.ProjectName, project.FtpHost, core::Trim(project.FtpUser),
                              project.FtpPass, core::Trim(project.FtpPath), options);
  if (target.host.empty()) {
    throw core::QuillError("The project \"" + project.ProjectName +
                           "\" has no FTP host; enter one on the FTP page of its setup.");
  }
  if (project.OutputFolder.empty()) {
    throw core::QuillError("The project \"" + project.ProjectName + "\" has no output folder.");
  }
  for (const std::string* field : {&target.host, &target.user, &target.folder}) {
    if (!UnsendableReason(*field).empty()) {
      throw core::QuillError("The FTP settings of the project \"" + project.ProjectName +
                             "\" hold " + UnsendableReason(*field) + ": \"" + Printable(*field) +
                             "\"; correct them on the FTP page of its setup.");
    }
  }
  return target;
}

// Whether nothing at all stands under the name in the output folder any more.
bool Vanished(const std::string& folder, const std::string& name) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(folder + name, error);
  return status.type() == std::filesystem::file_type::not_found;
}

// Why the file on disk is no longer the one that was listed, or "". A file written while it
// was read may have reached the server neither old nor new, and its recorded checksum is of
// what was there before.
std::string ChangedSinceListed(const SiteFile& file) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file.path, error);
  if (error) return "it is gone (" + error.message() + ")";
  if (size != file.size) {
    return "it had " + std::to_string(file.size) + " bytes, now " + std::to_string(size);
  }
  const auto modified = std::filesystem::last_write_time(file.path, error);
  if (error || modified != file.modified) return "it was written again";
  return {};
}

void Compare(PushPlan& plan, const std::string& folder) {
  for (const SiteFile& file : plan.listing.files) {
    std::string sha = Sha256OfFile(file.path);
    if (plan.manifest->Holds(file.name, file.size, sha)) {
      ++plan.unchanged;
      continue;
    }
    const bool fresh = plan.manifest->Entries().count(file.name) == 0;
    plan.send.push_back({&file, std::move(sha), fresh});
    plan.bytes += file.size;
  }
  for (const auto& [name, entry] : plan.manifest->Entries()) {
    if (Vanished(folder, name)) plan.vanished.push_back(name);
  }
}

std::optional<std::string> Refusal(const PushPlan& plan, const PushOptions& options) {
  std::string names;
  for (const SiteFile& file : plan.listing.files) {
    const std::string reason = UnsendableReason(file.name);
    if (!reason.empty()) names += "\n  " + Printable(file.name) + " (" + reason + ")";
  }
  if (!names.empty()) {
    return "Nothing was sent: the server cannot take the names of these files; rename them "
           "and try again:" +
           names;
  }
  const std::size_t listed = plan.manifest->Entries().size();
  const std::size_t gone = plan.vanished.size();
  if (options.remove_vanished && !options.force && (gone > kDeletionCap || gone * 2 > listed)) {
    return "Nothing was sent: " + std::to_string(gone) + " of the " + std::to_string(listed) +
           " files on the server would be deleted. More than " + std::to_string(kDeletionCap) +
           ", or more than half, is refused unless you really mean it: run quillpush "
           "--delete --force.";
  }
  return std::nullopt;
}

void SendAll(PushPlan& plan, RemoteSite& remote, PushObserver& observer, PushReport& report) {
  for (const PushPlan::Change& change : plan.send) {
    const SiteFile& file = *change.file;
    observer.Sending(file);
    plan.manifest->Forget(file.name);
    const std::uint64_t before = report.bytes;
    remote.Send(file, [&](std::uint64_t sent) { return observer.Progress(before + sent); });
    if (report.sent == 0 && !remote.SecurityWarning().empty()) {
      observer.Warn(remote.SecurityWarning());
    }
    const std::string changed = ChangedSinceListed(file);
    if (!changed.empty()) {
      throw core::QuillError(file.name + " changed while it was sent to " + remote.Where() + " (" +
                             changed + "), so it does not count as sent; it goes again next time.");
    }
    const std::optional<std::uint64_t> held = remote.SizeOf(file.name);
    if (held && *held != file.size) {
      throw core::QuillError("The server holds " + std::to_string(*held) + " bytes of " +
                             file.name + " at " + remote.Where() + " instead of its " +
                             std::to_string(file.size) + "; it will be sent again next time.");
    }
    plan.manifest->Record(file.name, file.size, change.sha256);
    report.bytes += file.size;
    ++report.sent;
    observer.Sent(file);
  }
}

}  // namespace

PushPlan::PushPlan() = default;
PushPlan::~PushPlan() = default;
PushPlan::PushPlan(PushPlan&&) noexcept = default;

PushPlan PlanPush(const core::ProjectSettings& project, const PushOptions& options) {
  PushPlan plan;
  plan.target = TargetOfProject(project, options.transport);
  plan.where = DescribeTarget(plan.target);
  plan.listing = ListSiteFiles(project.OutputFolder, project);
  for (const std::string& link : plan.listing.links) {
    plan.warnings.push_back("Skipped " + Printable(link) +
                            ": it is a symbolic link, and only files inside the output folder "
                            "are sent.");
  }
  // The account belongs to the target: another user may see another folder.
  plan.manifest = std::make_unique<Manifest>(project.OutputFolder + Manifest::kFileName,
                                             ManifestTarget(plan.target));
  for (const std::string& problem : plan.manifest->Problems()) plan.warnings.push_back(problem);
  Compare(plan, project.OutputFolder);
  plan.refusal = Refusal(plan, options);
  return plan;
}

std::vector<std::string> DescribePlan(const PushPlan& plan, const PushOptions& options) {
  std::vector<std::string> lines;
  for (const PushPlan::Change& change : plan.send) {
    lines.push_back(std::string(change.fresh ? "new      " : "changed  ") +
                    Printable(change.file->name) + " (" + std::to_string(change.file->size) +
                    " bytes)");
  }
  for (const std::string& name : plan.vanished) {
    lines.push_back(options.remove_vanished
                        ? "delete   " + name
                        : "gone     " + name + " (stays on the server; --delete deletes it)");
  }
  lines.push_back(std::to_string(plan.send.size()) + " to send (" + std::to_string(plan.bytes) +
                  " bytes) to " + plan.where + ", " +
                  std::to_string(options.remove_vanished ? plan.vanished.size() : 0) +
                  " to delete, " + std::to_string(plan.unchanged) +
                  " unchanged; this was a dry run, nothing was sent.");
  return lines;
}

PushReport CarryOut(PushPlan& plan, RemoteSite& remote, project::ProjectSession& session,
                    PushObserver& observer, const PushOptions& options) {
  if (plan.refusal) throw core::QuillError(*plan.refusal);
  for (const std::string& warning : plan.warnings) observer.Warn(warning);
  PushReport report;
  report.where = remote.Where();
  report.unchanged = plan.unchanged;
  observer.Starting(plan.send.size(), plan.listing.files.size(), plan.bytes);
  SendAll(plan, remote, observer, report);
  if (options.remove_vanished) {
    for (const std::string& name : plan.vanished) {
      // Deleted first, then withdrawn: a file the manifest no longer lists is never touched.
      remote.Remove(name);
      plan.manifest->Forget(name);
      ++report.deleted;
      observer.Deleted(name);
    }
  }
  if (report.sent > 0 || report.deleted > 0) plan.manifest->Compact();
  if (!session.StampUpload()) {
    throw core::QuillError(
        "Everything arrived at " + report.where +
        ", but the upload time could not be recorded: " + session.Settings().LastFailure());
  }
  return report;
}

PushReport Push(project::ProjectSession& session, PushObserver& observer,
                const PushOptions& options) {
  PushPlan plan = PlanPush(session.Project(), options);
  const std::unique_ptr<RemoteSite> remote = OpenRemoteSite(plan.target);
  return CarryOut(plan, *remote, session, observer, options);
}

}  // namespace quill::push
