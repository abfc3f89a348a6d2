#pragma once

#include <string>
#include <vector>

#include <optional>

#include "core/project_settings.h"
#include "core/stamp.h"
#include "publish/process.h"

namespace quill::publish {

// The site needs generating again: an entry was saved after the last output.
bool IsOutputStale(const core::ProjectSettings& settings);

// The moment the last output recorded, read from OutDate and OutTime (a two-digit year from
// 69 on is of the 1900s); nullopt when none is recorded or it cannot be read.
std::optional<core::Stamp> OutputMoment(const core::ProjectSettings& settings);

// The newest stamp a build at `now` publishes: `now` itself when the project keeps entries
// dated in the future waiting (HoldFuture 1); with every entry published at once, none.
std::optional<core::Stamp> BuildHorizon(const core::ProjectSettings& settings,
                                        const core::Stamp& now);

// The published copy is older than the generated site: the last upload came before the last
// output (or there was none since).
bool IsUploadStale(const core::ProjectSettings& settings);

// Whether "Synch" is offered: uploading is on, the uploader was there at start-up, and the
// published copy is stale.
bool IsSynchOffered(const core::ProjectSettings& settings, bool uploader_present);

struct Command {
  std::string program;
  std::vector<std::string> arguments;
};

// How the uploader is started for a project: the program itself, and the project name as
// its one argument, passed as it stands.
Command UploaderCommand(const std::string& uploader_path, const std::string& project_name);

// What the editor says once the uploader `program` is over, or "" when nothing needs saying:
// an uploader that ended by itself has shown its own success or failure, but one that could
// not start, or that a signal ended, had no chance to.
std::string UploaderFailure(const std::string& program, const LaunchResult& result);

// The uploader's file in the application folder (which ends with a separator).
std::string UploaderPath(const std::string& app_folder);

}  // namespace quill::publish
