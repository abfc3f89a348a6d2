#include "core/stamp.h"

#include <charconv>
#include <cstdio>

namespace quill::core {

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

long long DaysFromCivil(int year, int month, int day) {
  // Howard Hinnant's days_from_civil: years start in March so the leap day comes last.
  const long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long year_of_era = y - era * 400;
  const long long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

int Stamp::Weekday() const {
  const long long days = DaysFromCivil(year, month, day);  // 1970-01-01 was a Thursday
  return static_cast<int>(((days % 7 + 7) % 7 + 4) % 7);
}

bool Stamp::IsValid() const {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
         minute <= 59 && second >= 0 && second <= 59;
}

std::string Stamp::ToText() const {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                minute, second);
  return buffer;
}

std::optional<Stamp> Stamp::FromText(std::string_view text) {
  // Fixed layout: 4-2-2 digits, a blank, 2:2:2 digits.
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const auto field = [&](std::size_t at, std::size_t width, int& out) {
    const char* first = text.data() + at;
    const char* last = first + width;
    for (const char* p = first; p != last; ++p) {
      if (*p < '0' || *p > '9') return false;
    }
    return std::from_chars(first, last, out).ec == std::errc{};
  };
  Stamp stamp;
  if (!field(0, 4, stamp.year) || !field(5, 2, stamp.month) || !field(8, 2, stamp.day) ||
      !field(11, 2, stamp.hour) || !field(14, 2, stamp.minute) || !field(17, 2, stamp.second)) {
    return std::nullopt;
  }
  if (!stamp.IsValid()) return std::nullopt;
  return stamp;
}

}  // namespace quill::core
