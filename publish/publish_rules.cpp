#include "publish/publish_rules.h"

namespace quill::publish {
namespace {

// Stamps are "YYMMDD" and "HHNNSS" texts, so text order is time order: date first, then
// time.
bool IsLater(const std::string& date, const std::string& time, const std::string& than_date,
             const std::string& than_time) {
  return date > than_date || (date == than_date && time > than_time);
}

// The number of two digits at `at` in `text`, or -1.
int TwoDigitsAt(const std::string& text, std::size_t at) {
  if (text.size() < at + 2) return -1;
  const char a = text[at], b = text[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}

}  // namespace

std::optional<core::Stamp> OutputMoment(const core::ProjectSettings& settings) {
  const std::string& date = settings.OutDate;
  const std::string& time = settings.OutTime;
  if (date.size() != 6 || time.size() != 6) return std::nullopt;
  int parts[6];
  for (std::size_t i = 0; i < 6; ++i) {
    parts[i] = TwoDigitsAt(i < 3 ? date : time, (i % 3) * 2);
    if (parts[i] < 0) return std::nullopt;
  }
  const core::Stamp moment{
      parts[0] + (parts[0] >= 69 ? 1900 : 2000), parts[1], parts[2], parts[3], parts[4], parts[5]};
  if (!moment.IsValid()) return std::nullopt;
  return moment;
}

std::optional<core::Stamp> BuildHorizon(const core::ProjectSettings& settings,
                                        const core::Stamp& now) {
  if (settings.HoldFuture != 1) return std::nullopt;
  return now;
}

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
