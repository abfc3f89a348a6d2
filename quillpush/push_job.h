#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quillpush/remote_site.h"
#include "quillpush/site_files.h"
#include "quillpush/transport_security.h"

namespace quill::core {
struct ProjectSettings;
}  // namespace quill::core

namespace quill::project {
class ProjectSession;
}  // namespace quill::project

namespace quill::push {

class Manifest;

// How far an upload is, over all its connections together.
struct UploadProgress {
  std::size_t files = 0;         // to send in this run
  std::size_t files_done = 0;    // of them, arrived whole
  std::uint64_t bytes = 0;       // to send in this run
  std::uint64_t bytes_done = 0;  // sent so far
};

// Hears how an upload goes.
class PushObserver {
 public:
  virtual ~PushObserver() = default;
  // Something the user should know that does not stop the upload: a skipped link, say.
  virtual void Warn(const std::string& text) = 0;
  // What is to be sent: `files` of the site's `total` files, `bytes` in all.
  virtual void Starting(std::size_t files, std::size_t total, std::uint64_t bytes) = 0;
  // How far it is; false cancels the upload.
  virtual bool Progress(const UploadProgress& progress) = 0;
  // A file arrived whole, its size checked, and is recorded as sent.
  virtual void Sent(const SiteFile& file) = 0;
  virtual void Deleted(const std::string& name) = 0;
};

// Connections an upload opens at once unless told otherwise, and the most it opens.
constexpr int kDefaultConnections = 4;
constexpr int kMostConnections = 16;

struct PushOptions {
  bool remove_vanished = false;  // delete on the server what vanished locally
  bool force = false;            // even past the deletion cap
  // Compare what the server lists with the manifest first, and send again what it lacks.
  bool verify = false;
  int connections = 0;  // at once; 0 for the project's FtpConnections, or the default
  TransportOptions transport;
};

// More deletions than this, or than half the files on the server, need PushOptions::force.
constexpr std::size_t kDeletionCap = 100;

// What an upload is going to do, worked out without connecting to anything.
struct PushPlan {
  struct Change {
    const SiteFile* file;
    std::string sha256;
    bool fresh;  // not on the server yet, as far as the manifest knows
  };

  PushPlan();
  ~PushPlan();
  PushPlan(PushPlan&&) noexcept;

  FtpTarget target;
  std::string where;
  SiteListing listing;
  std::vector<Change> send;
  std::vector<std::string> vanished;  // listed in the manifest, gone from the output folder
  std::size_t unchanged = 0;
  std::uint64_t bytes = 0;
  std::vector<std::string> warnings;
  // Why the upload cannot go ahead: names the server cannot take, too many deletions.
  std::optional<std::string> refusal;
  std::unique_ptr<Manifest> manifest;
};

struct PushReport {
  std::size_t sent = 0;
  std::size_t unchanged = 0;
  std::size_t deleted = 0;
  std::uint64_t bytes = 0;
  std::string where;
};

// Compares the open project's output folder with what its manifest says the server holds.
// Throws QuillError when the settings or the folder cannot be used.
PushPlan PlanPush(const core::ProjectSettings& project, const PushOptions& options);

// What a plan would do, one line each, for --dry-run.
std::vector<std::string> DescribePlan(const PushPlan& plan, const PushOptions& options);

// Carries a plan out: with `verify`, first compares the server's listing with the manifest;
// sends the changed files phase by phase (pages after what they link to, see SendPhase),
// checks that each arrived whole, deletes what vanished when asked, and records the upload
// stamps once everything is done. Throws QuillError on any failure, with no stamp written
// and the manifest listing only what the server holds whole.
PushReport CarryOut(PushPlan& plan, RemoteSite& remote, project::ProjectSession& session,
                    PushObserver& observer, const PushOptions& options);

// PlanPush, then CarryOut on the remote site the open project's settings name.
PushReport Push(project::ProjectSession& session, PushObserver& observer,
                const PushOptions& options);

}  // namespace quill::push
