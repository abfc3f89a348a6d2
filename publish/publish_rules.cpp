#include "publish/publish_rules.h"

namespace quill::publish {
namespace {

// Stamps are "YYMMDD" and "HHNNSS" texts, so text order is time order: date first, then
// time.
bool IsLater(const std::string& date, const std::string& time, const std::string& than_date,
             const std::string& than_time) {
  return date > than_date || (date == than_date && time > than_time);
}

}  // namespace

bool IsOutputStale(const core::ProjectSettings& settings) {
  return IsLater(settings.SavDate, settings.SavTime, settings.OutDate, settings.OutTime);
}

bool IsUploadStale(const core::ProjectSettings& settings) {
  return IsLater(settings.OutDate, settings.OutTime, settings.FtpDate, settings.FtpTime);
}

bool IsSynchOffered(const core::ProjectSettings& settings, bool uploader_present) {
  return settings.PostFTP == 1 && uploader_present && IsUploadStale(settings);
}

Command UploaderCommand(const std::string& uploader_path, const std::string& project_name) {
  return {uploader_path, {project_name}};
}

std::string UploaderFailure(const std::string& program, const LaunchResult& result) {
  if (!result.started) {
    return "The uploader " + program + " could not be started: " + result.error;
  }
  if (result.exit_code >= 0) return {};
  return "The uploader " + program + " " +
         (result.signal != 0 ? "was ended by " + SignalName(result.signal) : "ended abnormally") +
         " before it finished: the site may not be completely uploaded.";
}

std::string UploaderPath(const std::string& app_folder) {
#ifdef _WIN32
  return app_folder + "quillpush.exe";
#else
  return app_folder + "quillpush";
#endif
}

}  // namespace quill::publish
