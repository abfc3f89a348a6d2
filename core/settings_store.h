#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/project_settings.h"
#include "core/stamp.h"

namespace quill::core {

class Clock;
class Registry;

// Owns the open project's settings and their home in the registry: the product key with the
// project list ("00" … "99") and "Last", and one sub key per project.
class SettingsStore {
 public:
  static constexpr std::string_view kProductKey = "Software\\Ardentware\\Quillsmith\\";
  static constexpr int kMaxProjects = 100;

  SettingsStore(Registry& registry, const Clock& clock);

  ProjectSettings& Settings() { return settings_; }
  const ProjectSettings& Settings() const { return settings_; }

  // How many loads there have been: whatever was opened from the settings of an earlier
  // load (the entry database) reopens from the new ones.
  std::uint64_t Loads() const { return loads_; }

  // Text of a REG_SZ value of the product key, or of the open project's key; empty when the
  // value is missing or of another type.
  std::string GetUserValue(std::string_view name) const;
  std::string GetProjectValue(std::string_view name) const;
  // Write a REG_SZ value there, without leading and trailing spaces.
  bool SetUserValue(std::string_view name, std::string_view text);
  bool SetProjectValue(std::string_view name, std::string_view text);

  // Writes the settings first when asked, then reads every value of the project key of
  // Settings().ProjectName into Settings(), and counts the load.
  void LoadSettings(bool save_first);
  // Gives a project created from now on the values new projects start with (the settings
  // added later that change the site, on). A project whose key already holds settings is
  // left as it is.
  void StartNewProject(std::string_view name);
  // Record now as the time of the last entry save, or of the last site output; false when
  // the stamp could not be written (LastFailure() says why).
  bool StampSave();
  bool StampOutput();
  // Records `at`, the moment a build saw the entries as they were, as the last output.
  bool StampOutput(const Stamp& at);
  // Record now as the time of the last upload; only the uploader does.
  bool StampUpload();
  // Why the settings' home last failed: the settings file and the reason; empty when
  // nothing failed or the home cannot tell.
  std::string LastFailure() const;
  // Removes the project's key and its name from the project list, closing the gap.
  void DeleteProject(std::string_view name);

  // The name of an existing project as the project list spells it (names compare without
  // regard to case), or `name` itself when its key holds settings without being listed;
  // nullopt when there is no such project.
  std::optional<std::string> FindProject(std::string_view name) const;

  // The project key of a project name.
  static std::string ProjectKey(std::string_view project_name);
  // True when two project names lead to one project key: the registry ignores letter case
  // and trailing backslashes.
  static bool SameProjectKey(std::string_view a, std::string_view b);
  // The value name of place `index` in the project list: "00" … "99".
  static std::string ListValueName(int index);

 private:
  bool WriteStamp(std::string_view date_name, std::string& date, std::string_view time_name,
                  std::string& time, const Stamp& at);

  Registry& registry_;
  const Clock& clock_;
  std::uint64_t loads_ = 0;
  ProjectSettings settings_;
};

// How stored numbers read: blanks around the text are allowed, anything else that is not a
// decimal number (so also an empty text) is nullopt.
std::optional<double> ParseStoredNumber(std::string_view text);
// Rounds to the nearest whole number, halves to even, and clamps into [low, high].
long long RoundToRange(double value, long long low, long long high);
// The folder part of a template path, up to and including its last directory separator.
std::string OutputFolderOf(std::string_view template_path);

}  // namespace quill::core
