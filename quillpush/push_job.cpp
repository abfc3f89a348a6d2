#include "quillpush/push_job.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <set>

#include "core/quill_error.h"
#include "core/text.h"
#include "project/project_session.h"
#include "quillpush/ftp_uploader.h"
#include "quillpush/hash_cache.h"
#include "quillpush/manifest.h"
#include "quillpush/remote_name.h"
#include "quillpush/send_phases.h"

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

void Compare(PushPlan& plan, const std::string& folder, HashCache& hashes) {
  for (const SiteFile& file : plan.listing.files) {
    std::string sha = hashes.Sha256Of(file);
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

// The folders of the files the manifest lists: on the server already.
std::set<std::string> FoldersOf(const Manifest& manifest) {
  std::set<std::string> folders;
  for (const auto& [name, entry] : manifest.Entries()) {
    const std::size_t slash = name.rfind('/');
    folders.insert(slash == std::string::npos ? std::string() : name.substr(0, slash));
  }
  return folders;
}

// The warning for files on the server that no upload from here sent.
std::string StrangersWarning(const std::vector<std::string>& names, const std::string& where) {
  constexpr std::size_t kNamed = 10;
  std::string text = std::to_string(names.size()) + (names.size() == 1 ? " file" : " files") +
                     " at " + where +
                     " were not sent by quillpush from here, so they are left alone, also by "
                     "--delete:";
  for (std::size_t i = 0; i < names.size() && i < kNamed; ++i) text += "\n  " + names[i];
  if (names.size() > kNamed) text += "\n  and " + std::to_string(names.size() - kNamed) + " more";
  return text;
}

// One run of a plan against the server: the phases, the checks, the bookkeeping, and what the
// observer hears of it.
class Run final : public SendListener {
 public:
  Run(PushPlan& plan, RemoteSite& remote, PushObserver& observer,
      const core::ProjectSettings& settings)
      : plan_(plan), remote_(remote), observer_(observer), settings_(settings) {}

  bool Progress(std::uint64_t bytes) override {
    return observer_.Progress(
        {plan_.send.size(), arrived_count_, plan_.bytes, done_bytes_ + bytes});
  }
  void Arrived(const SiteFile& file, std::optional<std::uint64_t> held) override {
    arrived_.push_back(&file);
    if (held) held_[file.name] = *held;
    ++arrived_count_;
  }
  void Warn(const std::string& text) override { observer_.Warn(text); }

  void Verify();
  void SendAll(PushReport& report);
  void RemoveVanished(PushReport& report);

 private:
  void Confirm(PushReport& report);
  void SendAgain(const std::set<std::string>& names);

  PushPlan& plan_;
  RemoteSite& remote_;
  PushObserver& observer_;
  const core::ProjectSettings& settings_;
  std::vector<const SiteFile*> arrived_;       // in this phase, not yet confirmed
  std::map<std::string, std::uint64_t> held_;  // sizes the server told with the transfer
  std::size_t arrived_count_ = 0;
  std::uint64_t done_bytes_ = 0;  // of the phases before this one
  bool warned_ = false;
};

// Why a file that arrived does not count as sent, or "".
std::string Unconfirmed(const SiteFile& file, const std::map<std::string, std::uint64_t>& held,
                        const std::string& where) {
  const std::string changed = ChangedSinceListed(file);
  if (!changed.empty()) {
    return file.name + " changed while it was sent to " + where + " (" + changed +
           "), so it does not count as sent; it goes again next time.";
  }
  const auto found = held.find(file.name);
  if (found == held.end()) {
    return "The server does not hold " + file.name + " at " + where +
           " although it took the whole file; it will be sent again next time.";
  }
  if (found->second != file.size) {
    return "The server holds " + std::to_string(found->second) + " bytes of " + file.name + " at " +
           where + " instead of its " + std::to_string(file.size) +
           "; it will be sent again next time.";
  }
  return {};
}

// Records what arrived in the phase once the server's sizes match, and fails on the first
// that does not.
void Run::Confirm(PushReport& report) {
  if (arrived_.empty()) return;
  std::vector<std::string> names;
  for (const SiteFile* file : arrived_) {
    if (held_.count(file->name) == 0) names.push_back(file->name);
  }
  std::map<std::string, std::uint64_t> held =
      names.empty() ? std::map<std::string, std::uint64_t>() : remote_.SizesOf(names, *this);
  held.merge(held_);
  held_.clear();
  std::map<std::string, const std::string*> sha;
  for (const PushPlan::Change& change : plan_.send) sha[change.file->name] = &change.sha256;
  std::string problem;
  for (const SiteFile* file : arrived_) {
    const std::string why = Unconfirmed(*file, held, remote_.Where());
    if (!why.empty()) {
      if (problem.empty()) problem = why;
      continue;
    }
    plan_.manifest->Record(file->name, file->size, *sha[file->name]);
    report.bytes += file->size;
    ++report.sent;
    observer_.Sent(*file);
  }
  arrived_.clear();
  if (!problem.empty()) throw core::QuillError(problem);
}

void Run::SendAll(PushReport& report) {
  remote_.KnowFolders(FoldersOf(*plan_.manifest));
  std::vector<const SiteFile*> files;
  for (const PushPlan::Change& change : plan_.send) files.push_back(change.file);
  for (const std::vector<const SiteFile*>& phase : InPhases(files, settings_)) {
    std::vector<std::string> names;
    std::uint64_t bytes = 0;
    for (const SiteFile* file : phase) {
      names.push_back(file->name);
      bytes += file->size;
    }
    // On disk before the first byte goes: a cut-off upload must never look complete.
    plan_.manifest->Forget(names);
    std::exception_ptr failure;
    try {
      remote_.Send(phase, *this);
    } catch (...) {
      failure = std::current_exception();
    }
    if (!warned_ && !arrived_.empty() && !remote_.SecurityWarning().empty()) {
      warned_ = true;
      observer_.Warn(remote_.SecurityWarning());
    }
    if (failure) {
      // What arrived whole still counts, if the server can still say so.
      try {
        Confirm(report);
      } catch (const std::exception&) {
      }
      std::rethrow_exception(failure);
    }
    Confirm(report);
    done_bytes_ += bytes;
  }
}

// What the manifest claims but the server does not hold as it was sent goes again (or, gone
// from the site, is claimed no more); what the server holds that no upload from here sent is
// named and left alone.
void Run::Verify() {
  const RemoteTree tree = remote_.List(*this);
  std::set<std::string> site;
  for (const SiteFile& file : plan_.listing.files) site.insert(file.name);
  const auto& entries = plan_.manifest->Entries();
  std::vector<std::string> strangers;
  for (const auto& [name, size] : tree) {
    if (site.count(name) == 0 && entries.count(name) == 0) strangers.push_back(Printable(name));
  }
  if (!strangers.empty()) Warn(StrangersWarning(strangers, remote_.Where()));
  std::set<std::string> lost;
  for (const auto& [name, entry] : entries) {
    const auto found = tree.find(name);
    if (found != tree.end() && found->second == entry.size) continue;
    lost.insert(name);
    if (site.count(name) == 0 && found != tree.end()) {
      Warn(Printable(name) + " at " + remote_.Where() + " holds " + std::to_string(found->second) +
           " bytes, not the " + std::to_string(entry.size) +
           " quillpush sent; someone else may have put it there, so it is left alone.");
    }
  }
  plan_.manifest->Forget(std::vector<std::string>(lost.begin(), lost.end()));
  SendAgain(lost);
}

void Run::SendAgain(const std::set<std::string>& names) {
  std::map<const SiteFile*, PushPlan::Change> planned;
  for (const PushPlan::Change& change : plan_.send) planned.emplace(change.file, change);
  std::vector<PushPlan::Change> send;
  for (const SiteFile& file : plan_.listing.files) {
    const auto found = planned.find(&file);
    if (found != planned.end()) {
      send.push_back(found->second);
    } else if (names.count(file.name) != 0) {
      send.push_back({&file, Sha256OfFile(file.path), false});
      plan_.bytes += file.size;
      --plan_.unchanged;
    }
  }
  plan_.send = std::move(send);
  std::erase_if(plan_.vanished, [&](const std::string& name) { return names.count(name) != 0; });
}

void Run::RemoveVanished(PushReport& report) {
  // Deleted first, then withdrawn: a file the manifest no longer lists is never touched.
  remote_.Remove(
      plan_.vanished,
      [&](const std::string& name) {
        plan_.manifest->Forget(name);
        ++report.deleted;
        observer_.Deleted(name);
      },
      *this);
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
  // --verify reads every file again, so a damaged record cannot hide a change from it.
  HashCache hashes(project.OutputFolder + HashCache::kFileName, !options.verify);
  Compare(plan, project.OutputFolder, hashes);
  hashes.Save();
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
  Run run(plan, remote, observer, session.Project());
  if (options.verify) run.Verify();
  report.unchanged = plan.unchanged;
  observer.Starting(plan.send.size(), plan.listing.files.size(), plan.bytes);
  run.SendAll(report);
  if (options.remove_vanished) run.RemoveVanished(report);
  if (report.sent > 0 || report.deleted > 0) plan.manifest->Compact();
  if (!session.StampUpload()) {
    throw core::QuillError(
        "Everything arrived at " + report.where +
        ", but the upload time could not be recorded: " + session.Settings().LastFailure());
  }
  return report;
}

int ConnectionsFor(const PushOptions& options) {
  if (options.connections > 0) return std::min(options.connections, kMostConnections);
  return kDefaultConnections;
}

PushReport Push(project::ProjectSession& session, PushObserver& observer,
                const PushOptions& options) {
  PushPlan plan = PlanPush(session.Project(), options);
  const std::unique_ptr<RemoteSite> remote = OpenRemoteSite(plan.target, ConnectionsFor(options));
  return CarryOut(plan, *remote, session, observer, options);
}

}  // namespace quill::push
