#include "interchange/time_zone.h"

#include <algorithm>
#include <ctime>

namespace quill::interchange {
namespace {

constexpr std::int64_t kDay = 86400;

// Howard Hinnant's civil_from_days, the inverse of core::DaysFromCivil.
core::Stamp CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_index = (5 * day_of_year + 2) / 153;
  core::Stamp stamp;
  stamp.day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  stamp.month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  stamp.year = static_cast<int>(year_of_era + era * 400 + (stamp.month <= 2 ? 1 : 0));
  return stamp;
}

}  // namespace

UtcSeconds AsUtc(const core::Stamp& civil) {
  return core::DaysFromCivil(civil.year, civil.month, civil.day) * kDay + civil.hour * 3600 +
         civil.minute * 60 + civil.second;
}

std::optional<core::Stamp> CivilOfUtc(UtcSeconds moment) {
  // Far outside the stamp's years either way, and safe from overflow below.
  if (moment < -100000LL * 365 * kDay || moment > 100000LL * 365 * kDay) return std::nullopt;
  const std::int64_t days = (moment >= 0 ? moment : moment - (kDay - 1)) / kDay;
  const std::int64_t seconds = moment - days * kDay;
  core::Stamp stamp = CivilFromDays(days);
  stamp.hour = static_cast<int>(seconds / 3600);
  stamp.minute = static_cast<int>(seconds / 60 % 60);
  stamp.second = static_cast<int>(seconds % 60);
  if (!stamp.IsValid()) return std::nullopt;
  return stamp;
}

std::optional<core::Stamp> FixedOffsetZone::ToLocal(UtcSeconds moment) const {
  return CivilOfUtc(moment + offset_);
}

std::optional<core::Stamp> SystemTimeZone::ToLocal(UtcSeconds moment) const {
  const auto time = static_cast<std::time_t>(moment);
  if (static_cast<UtcSeconds>(time) != moment) return std::nullopt;
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return std::nullopt;
  // A leap second (tm_sec 60) is folded into the second before it, as the clock does.
  core::Stamp stamp{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
  if (!stamp.IsValid()) return std::nullopt;
  return stamp;
}

int SystemTimeZone::OffsetAt(const core::Stamp& local) const {
  const auto offset_at = [](UtcSeconds moment) {
    const auto time = static_cast<std::time_t>(moment);
    std::tm tm{};
    return localtime_r(&time, &tm) == nullptr ? 0 : static_cast<int>(tm.tm_gmtoff);
  };
  // The stamp read as UTC is off by the offset sought, which is the offset of a day before
  // or of a day after it (no zone changes its clock twice a day). Each fits when the moment
  // it gives has that offset; both fit in the hour a clock turned back, neither in the hour
  // it skipped.
  const UtcSeconds as_utc = AsUtc(local);
  const int before = offset_at(as_utc - kDay);
  const int after = offset_at(as_utc + kDay);
  const bool before_fits = offset_at(as_utc - before) == before;
  const bool after_fits = offset_at(as_utc - after) == after;
  if (before_fits && after_fits) return std::max(before, after);
  if (after_fits) return after;
  return before;
}

}  // namespace quill::interchange
