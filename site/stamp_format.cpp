#include "site/stamp_format.h"

#include <array>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/text.h"

namespace quill::site {
namespace {

using core::Stamp;

constexpr std::array<std::string_view, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// A C variadic, not a template, so the compiler checks every caller's format and arguments.
[[gnu::format(printf, 1, 2)]] std::string Printf(const char* format, ...) {
  char buffer[64];
  va_list values;
  va_start(values, format);
  std::vsnprintf(buffer, sizeof buffer, format, values);
  va_end(values);
  return buffer;
}

int Hour12(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }
const char* Meridiem(int hour) { return hour < 12 ? "AM" : "PM"; }

// Matches a full English name or its three-letter form, ignoring case.
template <std::size_t N>
int FindName(const std::array<std::string_view, N>& names, std::string_view word) {
  for (std::size_t i = 0; i < N; ++i) {
    if (core::EqualsIgnoringCase(word, names[i]) ||
        core::EqualsIgnoringCase(word, names[i].substr(0, 3))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

struct Token {
  std::string_view text;
  bool number = false;
};

// Splits into runs of letters and runs of digits; everything else only separates them.
std::vector<Token> Tokenize(std::string_view text) {
  std::vector<Token> tokens;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto c = static_cast<unsigned char>(text[at]);
    const bool digit = std::isdigit(c) != 0;
    if (!digit && std::isalpha(c) == 0) {
      ++at;
      continue;
    }
    const std::size_t start = at;
    while (at < text.size()) {
      const auto d = static_cast<unsigned char>(text[at]);
      if (digit ? std::isdigit(d) == 0 : std::isalpha(d) == 0) break;
      ++at;
    }
    tokens.push_back({text.substr(start, at - start), digit});
  }
  return tokens;
}

int Number(std::string_view digits) {
  if (digits.size() > 6) return -1;
  return std::atoi(std::string(digits).c_str());
}

int ExpandYear(std::string_view digits) {
  const int year = Number(digits);
  if (digits.size() > 2) return year;
  return year < 30 ? 2000 + year : 1900 + year;
}

// Reads any of the date parts, with or without a weekday in front.
bool ReadDate(std::string_view text, Stamp& stamp) {
  if (core::Trim(text).empty()) {  // no date part: the zero date
    stamp.year = 1899, stamp.month = 12, stamp.day = 30;
    return true;
  }
  int month = -1;
  std::vector<std::string_view> numbers;
  for (const Token& token : Tokenize(text)) {
    if (token.number) {
      numbers.push_back(token.text);
    } else if (const int m = FindName(kMonths, token.text); m >= 0 && month < 0) {
      month = m + 1;
    } else if (FindName(kWeekdays, token.text) < 0) {
      return false;
    }
  }
  if (numbers.size() != (month > 0 ? 2u : 3u)) return false;
  if (month > 0) {  // "December 06, 2026" and "06-Dec-26": day, then year
    stamp.month = month;
    stamp.day = Number(numbers[0]);
    stamp.year = ExpandYear(numbers[1]);
  } else {  // "12/6/2026" and "12/06/26": month, day, year
    stamp.month = Number(numbers[0]);
    stamp.day = Number(numbers[1]);
    stamp.year = ExpandYear(numbers[2]);
  }
  return true;
}

// Reads any of the time parts: hours and minutes, maybe seconds, maybe AM or PM.
bool ReadTime(std::string_view text, Stamp& stamp) {
  stamp.hour = stamp.minute = stamp.second = 0;
  const auto tokens = Tokenize(text);
  if (tokens.empty()) return core::Trim(text).empty();
  std::vector<int> numbers;
  int meridiem = 0;  // 1 AM, 2 PM
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].number && meridiem == 0) {
      numbers.push_back(Number(tokens[i].text));
    } else if (!tokens[i].number && i + 1 == tokens.size() &&
               (core::EqualsIgnoringCase(tokens[i].text, "AM") ||
                core::EqualsIgnoringCase(tokens[i].text, "PM"))) {
      meridiem = core::EqualsIgnoringCase(tokens[i].text, "AM") ? 1 : 2;
    } else {
      return false;
    }
  }
  if (numbers.size() < 2 || numbers.size() > 3) return false;
  int hour = numbers[0];
  if (meridiem != 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (meridiem == 2 ? 12 : 0);
  }
  stamp.hour = hour;
  stamp.minute = numbers[1];
  stamp.second = numbers.size() == 3 ? numbers[2] : 0;
  return true;
}

std::optional<Stamp> ReadStamp(std::string_view date, std::string_view time) {
  Stamp stamp;
  if (!ReadDate(date, stamp) || !ReadTime(time, stamp) || !stamp.IsValid()) return std::nullopt;
  return stamp;
}

}  // namespace

std::string_view MonthName(int month) {
  return month >= 1 && month <= 12 ? kMonths[month - 1] : std::string_view();
}

std::string FormatDatePart(int date_format, const Stamp& stamp) {
  switch (date_format) {
    case 0:
      return std::string(kWeekdays[stamp.Weekday()]) + ", " +
             std::string(kMonths[stamp.month - 1]) + Printf(" %02d, %04d", stamp.day, stamp.year);
    case 1:
      return Printf("%02d-%s-%02d", stamp.day,
                    std::string(kMonths[stamp.month - 1].substr(0, 3)).c_str(), stamp.year % 100);
    case 2:
      return Printf("%d/%d/%04d", stamp.month, stamp.day, stamp.year);
    case 3:
      return Printf("%02d/%02d/%02d", stamp.month, stamp.day, stamp.year % 100);
    default:
      return {};
  }
}

std::string FormatTimePart(int time_format, const Stamp& stamp) {
  switch (time_format) {
    case 0:
      return Printf("%d:%02d:%02d %s", Hour12(stamp.hour), stamp.minute, stamp.second,
                    Meridiem(stamp.hour));
    case 1:
      return Printf("%02d:%02d %s", Hour12(stamp.hour), stamp.minute, Meridiem(stamp.hour));
    case 2:
      return Printf("%02d:%02d:%02d", stamp.hour, stamp.minute, stamp.second);
    case 3:
      return Printf("%02d:%02d", stamp.hour, stamp.minute);
    default:
      return {};
  }
}

std::string_view SeparatorText(int separator) {
  switch (separator) {
    case 0:
      return " at ";
    case 1:
      return " @ ";
    case 2:
      return " : ";
    default:
      return {};
  }
}

std::string FormatEntryStamp(const core::ProjectSettings& settings, const Stamp& stamp,
                             bool for_output) {
  std::string text = FormatDatePart(settings.DateFormat, stamp);
  if (for_output && settings.PrintTime == 0) return text;
  text += SeparatorText(settings.Separator);
  text += FormatTimePart(settings.TimeFormat, stamp);
  return text;
}

std::string FormatLongStamp(const core::ProjectSettings& settings, const Stamp& stamp) {
  return FormatDatePart(0, stamp) + std::string(SeparatorText(settings.Separator)) +
         FormatTimePart(0, stamp);
}

std::optional<Stamp> ParseEntryStamp(const core::ProjectSettings& settings, std::string_view text) {
  // The separator's first occurrence splits date from time; no date part holds " at", "@" or
  // a colon, so the first one found is the separator's.
  std::string_view mark;
  switch (settings.Separator) {
    case 0:
      mark = " at";
      break;
    case 1:
      mark = "@";
      break;
    case 2:
      mark = ":";
      break;
    default:
      break;
  }
  if (const auto at = mark.empty() ? std::string_view::npos : text.find(mark);
      at != std::string_view::npos) {
    return ReadStamp(text.substr(0, at), text.substr(at + mark.size()));
  }
  // Without a separator the two parts meet directly: take the place where they meet that
  // reads as a stamp which writes back as the same text.
  for (std::size_t split = 0; split <= text.size(); ++split) {
    auto stamp = ReadStamp(text.substr(0, split), text.substr(split));
    if (stamp && (FormatEntryStamp(settings, *stamp, false) == text ||
                  FormatLongStamp(settings, *stamp) == text)) {
      return stamp;
    }
  }
  return std::nullopt;
}

std::string FormatRfc822Date(const Stamp& stamp, int utc_offset_seconds) {
  const int minutes = std::abs(utc_offset_seconds) / 60;
  return Printf("%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d",
                std::string(kWeekdays[stamp.Weekday()].substr(0, 3)).c_str(), stamp.day,
                std::string(kMonths[stamp.month - 1].substr(0, 3)).c_str(), stamp.year, stamp.hour,
                stamp.minute, stamp.second, utc_offset_seconds < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
}

}  // namespace quill::site
