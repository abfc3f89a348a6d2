#include "core/clock.h"

#include <ctime>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace quill::core {

Stamp SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  // A leap second (tm_sec 60) is folded into the second before it.
  return Stamp{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
               local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
}

int SystemClock::UtcOffsetSeconds() const { return core::UtcOffsetSeconds(); }

int UtcOffsetSeconds() {
#ifdef _WIN32
  TIME_ZONE_INFORMATION zone{};
  const DWORD state = GetTimeZoneInformation(&zone);
  int offset = -60 * static_cast<int>(zone.Bias);
  if (state == TIME_ZONE_ID_DAYLIGHT && zone.DaylightDate.wMonth != 0) {
    offset -= 60 * static_cast<int>(zone.DaylightBias);
  }
  return offset;
#else
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<int>(local.tm_gmtoff);
#endif
}

}  // namespace quill::core
