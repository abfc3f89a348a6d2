#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace quill::core {

// A local civil date and time to the second, with no time zone attached. Entries are keyed
// by it and it orders them; its text form "YYYY-MM-DD HH:MM:SS" is how the entry database
// stores it, so text order and time order agree.
struct Stamp {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 12;
  int minute = 0;
  int second = 0;

  // The stamp of the empty entry: noon on the zero date, 30 December 1899.
  static Stamp Empty() { return {}; }

  std::string ToText() const;
  // Reads the stored text form back; nullopt for anything that is not a valid date and time.
  static std::optional<Stamp> FromText(std::string_view text);

  bool IsValid() const;
  // 0 for Sunday … 6 for Saturday.
  int Weekday() const;

  auto operator<=>(const Stamp&) const = default;
};

int DaysInMonth(int year, int month);
// Days from 1 January 1970 to the given date of the proleptic Gregorian calendar.
long long DaysFromCivil(int year, int month, int day);

}  // namespace quill::core
