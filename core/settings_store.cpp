#include "core/settings_store.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>
#include <variant>

#include "core/clock.h"
#include "core/file_names.h"
#include "core/registry.h"
#include "core/text.h"

namespace quill::core {
namespace {

using TextField = std::string ProjectSettings::*;
using IntegerField = std::int16_t ProjectSettings::*;
using ColourField = std::int32_t ProjectSettings::*;

struct Field {
  std::string_view name;
  std::variant<TextField, IntegerField, ColourField> member;
  // A setting older projects lack: saved only once it holds a value other than kNotStored (or,
  // for text, once it is not empty), so saving such a project leaves it without one.
  bool added_later = false;
};

// The stored settings in the order a save writes them.
constexpr std::array<Field, 29> kSavedFields{{
    {"Template", &ProjectSettings::Template},
    {"Title", &ProjectSettings::Title},
    {"DateFormat", &ProjectSettings::DateFormat},
    {"TimeFormat", &ProjectSettings::TimeFormat},
    {"Separator", &ProjectSettings::Separator},
    {"MaxPageSize", &ProjectSettings::MaxPageSize},
    {"IncludeRSS", &ProjectSettings::IncludeRSS},
    {"CommentPage", &ProjectSettings::CommentPage},
    {"Site", &ProjectSettings::Site},
    {"Docs", &ProjectSettings::Docs},
    {"Editor", &ProjectSettings::Editor},
    {"Master", &ProjectSettings::Master},
    {"Articles", &ProjectSettings::Articles},
    {"Shading", &ProjectSettings::Shading},
    {"FontColor", &ProjectSettings::FontColor},
    {"PrintTime", &ProjectSettings::PrintTime},
    {"PostFTP", &ProjectSettings::PostFTP},
    {"FtpHost", &ProjectSettings::FtpHost},
    {"FtpUser", &ProjectSettings::FtpUser},
    {"FtpPass", &ProjectSettings::FtpPass},
    {"FtpPath", &ProjectSettings::FtpPath},
    {"UseIndex", &ProjectSettings::UseIndex},
    {"FileNames", &ProjectSettings::FileNames},
    {"EntryPages", &ProjectSettings::EntryPages, true},
    {"Html5", &ProjectSettings::Html5, true},
    {"Language", &ProjectSettings::Language, true},
    {"HoldFuture", &ProjectSettings::HoldFuture, true},
    {"ImageWidth", &ProjectSettings::ImageWidth},
    {"SpellLanguage", &ProjectSettings::SpellLanguage, true},
}};

// What a project created from now on starts with: the settings added later that change the
// generated site, on.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kNewProjectValues{{
    {"EntryPages", "1"},
    {"Html5", "1"},
    {"Language", "en"},
    {"HoldFuture", "1"},
}};

// Stamps are loaded with the rest but written only by StampSave, StampOutput and the uploader.
constexpr std::array<Field, 6> kStampFields{{
    {"OutDate", &ProjectSettings::OutDate},
    {"OutTime", &ProjectSettings::OutTime},
    {"SavDate", &ProjectSettings::SavDate},
    {"SavTime", &ProjectSettings::SavTime},
    {"FtpDate", &ProjectSettings::FtpDate},
    {"FtpTime", &ProjectSettings::FtpTime},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TwoDigits(int value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
  return buffer;
}

}  // namespace

std::optional<double> ParseStoredNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // Only plain decimal notation: from_chars alone would also take "inf", "nan" and hex.
  std::size_t at = (!text.empty() && text.front() == '-') ? 1 : 0;
  std::size_t digits = 0;
  const auto skip_digits = [&] {
    std::size_t n = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at, ++n;
    return n;
  };
  digits += skip_digits();
  if (at < text.size() && text[at] == '.') {
    ++at;
    digits += skip_digits();
  }
  if (digits == 0) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (skip_digits() == 0) return std::nullopt;
  }
  if (at != text.size()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    return text.front() == '-' ? -std::numeric_limits<double>::max()
                               : std::numeric_limits<double>::max();
  }
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

long long RoundToRange(double value, long long low, long long high) {
  if (value <= static_cast<double>(low)) return low;
  if (value >= static_cast<double>(high)) return high;
  double rounded = std::round(value);  // halves away from zero …
  if (std::fabs(value - std::trunc(value)) == 0.5) {
    rounded = 2.0 * std::round(value / 2.0);  // … so halves go to the even neighbour instead
  }
  return static_cast<long long>(rounded);
}

std::string OutputFolderOf(std::string_view template_path) {
#ifdef _WIN32
  const auto last = template_path.find_last_of("\\/");
#else
  const auto last = template_path.find_last_of('/');
#endif
  if (last == std::string_view::npos) return {};
  return std::string(template_path.substr(0, last + 1));
}

SettingsStore::SettingsStore(Registry& registry, const Clock& clock)
    : registry_(registry), clock_(clock) {}

std::string SettingsStore::ProjectKey(std::string_view project_name) {
  std::string key(kProductKey);
  key += project_name;
  return key;
}

bool SettingsStore::SameProjectKey(std::string_view a, std::string_view b) {
  const auto key = [](std::string_view name) {
    return name.substr(0, name.find_last_not_of('\\') + 1);
  };
  return EqualsIgnoringCase(key(a), key(b));
}

std::string SettingsStore::ListValueName(int index) {
  char name[16];
  std::snprintf(name, sizeof name, "%02d", index);
  return name;
}

std::optional<std::string> SettingsStore::FindProject(std::string_view name) const {
  for (int i = 0; i < kMaxProjects; ++i) {
    const std::string listed = GetUserValue(ListValueName(i));
    if (listed.empty()) break;
    if (EqualsIgnoringCase(listed, name)) return listed;
  }
  if (!name.empty() && !registry_.EnumRegValues(RegRoot::CurrentUser, ProjectKey(name)).empty()) {
    return std::string(name);
  }
  return std::nullopt;
}

std::string SettingsStore::GetUserValue(std::string_view name) const {
  RegValue value = registry_.ReadRegValue(RegRoot::CurrentUser, kProductKey, name);
  return value.type == kRegSz ? std::move(value.text) : std::string();
}

std::string SettingsStore::GetProjectValue(std::string_view name) const {
  // Without a project name the "project key" would be the product key itself.
  if (settings_.ProjectName.empty()) return {};
  RegValue value =
      registry_.ReadRegValue(RegRoot::CurrentUser, ProjectKey(settings_.ProjectName), name);
  return value.type == kRegSz ? std::move(value.text) : std::string();
}

bool SettingsStore::SetUserValue(std::string_view name, std::string_view text) {
  return registry_.WriteRegValue(RegRoot::CurrentUser, kProductKey, name,
                                 RegValue::Text(Trim(text)));
}

bool SettingsStore::SetProjectValue(std::string_view name, std::string_view text) {
  if (settings_.ProjectName.empty()) return false;
  return registry_.WriteRegValue(RegRoot::CurrentUser, ProjectKey(settings_.ProjectName), name,
                                 RegValue::Text(Trim(text)));
}

void SettingsStore::LoadSettings(bool save_first) {
  ++loads_;
  if (save_first) {
    for (const Field& field : kSavedFields) {
      std::visit(
          [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), TextField>) {
              // An empty value of a later setting stays unstored, unless it clears one.
              if (!(field.added_later && (settings_.*member).empty() &&
                    GetProjectValue(field.name).empty())) {
                SetProjectValue(field.name, settings_.*member);
              }
            } else if (!(field.added_later && settings_.*member == kNotStored)) {
              SetProjectValue(field.name, std::to_string(settings_.*member));
            }
          },
          field.member);
    }
  }

  const ProjectSettings defaults;
  const auto load = [&](const Field& field) {
    const std::string stored = GetProjectValue(field.name);
    std::visit(
        [&](auto member) {
          using Member = decltype(member);
          if constexpr (std::is_same_v<Member, TextField>) {
            settings_.*member = Trim(stored);
          } else if constexpr (std::is_same_v<Member, IntegerField>) {
            const auto number = ParseStoredNumber(stored);
            settings_.*member =
                number ? static_cast<std::int16_t>(RoundToRange(*number, INT16_MIN, INT16_MAX))
                       : defaults.*member;
          } else {
            // A colour may also be stored in its unsigned spelling (0x80000012 as
            // 2147483666); both name the same 32 bits.
            auto number = ParseStoredNumber(stored);
            if (number && *number >= 2147483647.5 && *number < 4294967295.5) {
              *number -= 4294967296.0;
            }
            settings_.*member =
                number ? static_cast<std::int32_t>(RoundToRange(*number, INT32_MIN, INT32_MAX))
                       : defaults.*member;
          }
        },
        field.member);
  };
  for (const Field& field : kSavedFields) load(field);
  for (const Field& field : kStampFields) load(field);
  if (settings_.FileNames.empty()) settings_.FileNames = defaults.FileNames;

  settings_.OutputFolder = OutputFolderOf(settings_.Template);
  settings_.DatabasePath = settings_.OutputFolder + kDatabaseFile;
}

void SettingsStore::StartNewProject(std::string_view name) {
  // A key that already holds settings belongs to a project made earlier.
  if (name.empty() || !registry_.EnumRegValues(RegRoot::CurrentUser, ProjectKey(name)).empty()) {
    return;
  }
  for (const auto& [value, text] : kNewProjectValues) {
    registry_.WriteRegValue(RegRoot::CurrentUser, ProjectKey(name), value,
                            RegValue::Text(std::string(text)));
  }
}

bool SettingsStore::StampSave() {
  return WriteStamp("SavDate", settings_.SavDate, "SavTime", settings_.SavTime, clock_.Now());
}

bool SettingsStore::StampOutput() { return StampOutput(clock_.Now()); }

bool SettingsStore::StampOutput(const Stamp& at) {
  return WriteStamp("OutDate", settings_.OutDate, "OutTime", settings_.OutTime, at);
}

bool SettingsStore::StampUpload() {
  return WriteStamp("FtpDate", settings_.FtpDate, "FtpTime", settings_.FtpTime, clock_.Now());
}

bool SettingsStore::WriteStamp(std::string_view date_name, std::string& date,
                               std::string_view time_name, std::string& time, const Stamp& now) {
  date = TwoDigits(now.year) + TwoDigits(now.month) + TwoDigits(now.day);
  time = TwoDigits(now.hour) + TwoDigits(now.minute) + TwoDigits(now.second);
  return SetProjectValue(date_name, date) && SetProjectValue(time_name, time);
}

std::string SettingsStore::LastFailure() const { return registry_.LastFailure(); }

void SettingsStore::DeleteProject(std::string_view name) {
  // An empty name would make the product key itself the project key.
  if (name.empty()) return;

  const std::string key = ProjectKey(name);
  for (const RegValueInfo& value : registry_.EnumRegValues(RegRoot::CurrentUser, key)) {
    registry_.DeleteRegValue(RegRoot::CurrentUser, key, value.name);
  }
  registry_.DeleteRegKey(RegRoot::CurrentUser, key);

  std::vector<std::string> list;
  for (int i = 0; i < kMaxProjects; ++i) {
    RegValue value = registry_.ReadRegValue(RegRoot::CurrentUser, kProductKey, ListValueName(i));
    if (value.type != kRegSz) break;
    list.push_back(std::move(value.text));
  }
  // A name the list does not hold leaves the list as it is; closing a gap that is not there
  // would drop the last project.
  bool gap = false;
  for (const std::string& listed : list) gap = gap || listed == name || listed.empty();
  if (!gap) return;

  // One pass moves every name after the deleted one down a place.
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    if (list[i] == name || list[i].empty()) {
      list[i] = std::move(list[i + 1]);
      list[i + 1].clear();
    }
  }
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    SetUserValue(ListValueName(static_cast<int>(i)), list[i]);
  }
  registry_.DeleteRegValue(RegRoot::CurrentUser, kProductKey,
                           ListValueName(static_cast<int>(list.size()) - 1));
}

}  // namespace quill::core
