#include "interchange/feed_date.h"

#include <array>
#include <cctype>
#include <charconv>
#include <string>
#include <vector>

#include "core/text.h"

namespace quill::interchange {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number that `text` holds in full, of 1 to `max_digits` digits.
std::optional<int> Number(std::string_view text, std::size_t max_digits) {
  if (text.empty() || text.size() > max_digits) return std::nullopt;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// A civil date and time whose fields are in range; a leap second is read as the one before.
bool Settle(core::Stamp& civil) {
  if (civil.second == 60) civil.second = 59;
  return civil.month >= 1 && civil.month <= 12 && civil.day >= 1 &&
         civil.day <= core::DaysInMonth(civil.year, civil.month) && civil.hour >= 0 &&
         civil.hour <= 23 && civil.minute >= 0 && civil.minute <= 59 && civil.second >= 0 &&
         civil.second <= 59;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; };
  while (at < text.size()) {
    while (at < text.size() && blank(text[at])) ++at;
    const std::size_t start = at;
    while (at < text.size() && !blank(text[at])) ++at;
    if (at > start) words.push_back(text.substr(start, at - start));
  }
  return words;
}

std::optional<int> MonthNamed(std::string_view word) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
  if (word.size() < 3) return std::nullopt;
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (core::EqualsIgnoringCase(word.substr(0, 3), kMonths[i])) return static_cast<int>(i) + 1;
  }
  return std::nullopt;
}

// "+0200", "-05:00", "GMT", "EST", …; a letter zone mail does not define counts as UTC.
std::optional<int> ZoneOffset(std::string_view zone) {
  if (zone.size() >= 5 && (zone[0] == '+' || zone[0] == '-')) {
    std::string digits;
    for (char c : zone.substr(1)) {
      if (c != ':') digits += c;
    }
    const auto hours = Number(std::string_view(digits).substr(0, 2), 2);
    const auto minutes = digits.size() == 4 ? Number(std::string_view(digits).substr(2), 2)
                                            : std::nullopt;
    if (!hours || !minutes || *minutes > 59) return std::nullopt;
    const int offset = *hours * 3600 + *minutes * 60;
    return zone[0] == '-' ? -offset : offset;
  }
  static constexpr std::pair<std::string_view, int> kNames[] = {
      {"EST", -5}, {"EDT", -4}, {"CST", -6}, {"CDT", -5},
      {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}};
  for (const auto& [name, hours] : kNames) {
    if (core::EqualsIgnoringCase(zone, name)) return hours * 3600;
  }
  for (char c : zone) {
    if (!std::isalpha(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return 0;
}

// "HH:MM" or "HH:MM:SS" into the stamp.
bool ReadTime(std::string_view text, core::Stamp& civil) {
  if (text.size() != 5 && text.size() != 8) return false;
  const auto hour = Number(text.substr(0, 2), 2);
  const auto minute = Number(text.substr(3, 2), 2);
  const auto second = text.size() == 8 ? Number(text.substr(6, 2), 2) : std::optional<int>(0);
  if (text[2] != ':' || (text.size() == 8 && text[5] != ':') || !hour || !minute || !second) {
    return false;
  }
  civil.hour = *hour, civil.minute = *minute, civil.second = *second;
  return true;
}

}  // namespace

std::optional<FeedDate> ParseRfc822Date(std::string_view text) {
  std::vector<std::string_view> words = Words(text);
  // The day's name, when given, says nothing the date does not.
  if (!words.empty() && !words.front().empty() && std::isalpha(static_cast<unsigned char>(words.front()[0]))) {
    words.erase(words.begin());
  }
  if (words.size() < 4 || words.size() > 5) return std::nullopt;
  FeedDate date;
  const auto day = Number(words[0], 2);
  const auto month = MonthNamed(words[1]);
  auto year = Number(words[2], 4);
  if (!day || !month || !year || (words[2].size() != 2 && words[2].size() != 4)) return std::nullopt;
  if (words[2].size() == 2) *year += *year < 50 ? 2000 : 1900;
  date.civil = {*year, *month, *day, 0, 0, 0};
  if (!ReadTime(words[3], date.civil) || !Settle(date.civil)) return std::nullopt;
  if (words.size() == 5) {
    date.offset_seconds = ZoneOffset(words[4]);
    if (!date.offset_seconds) return std::nullopt;
  }
  return date;
}

std::optional<FeedDate> ParseRfc3339Date(std::string_view text) {
  text = std::string_view(text).substr(0, text.find_last_not_of(" \t\r\n") + 1);
  text.remove_prefix(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = Number(text.substr(0, 4), 4);
  const auto month = Number(text.substr(5, 2), 2);
  const auto day = Number(text.substr(8, 2), 2);
  if (!year || !month || !day) return std::nullopt;
  FeedDate date;
  date.civil = {*year, *month, *day, 0, 0, 0};
  if (text.size() > 10) {
    if (text[10] != 'T' && text[10] != 't' && text[10] != ' ') return std::nullopt;
    std::string_view rest = text.substr(11);
    const std::size_t zone = rest.find_first_of("Zz+-");
    std::string_view time = rest.substr(0, zone);
    if (const std::size_t dot = time.find('.'); dot != std::string_view::npos) {
      for (char c : time.substr(dot + 1)) {
        if (!IsDigit(c)) return std::nullopt;
      }
      time = time.substr(0, dot);
    }
    if (!ReadTime(time, date.civil)) return std::nullopt;
    if (zone != std::string_view::npos) {
      const std::string_view offset = rest.substr(zone);
      if (offset == "Z" || offset == "z") {
        date.offset_seconds = 0;
      } else {
        date.offset_seconds = ZoneOffset(offset);
        if (!date.offset_seconds) return std::nullopt;
      }
    }
  }
  if (!Settle(date.civil)) return std::nullopt;
  return date;
}

std::optional<core::Stamp> LocalStamp(const FeedDate& date, const TimeZone& zone) {
  if (!date.offset_seconds) {
    if (!date.civil.IsValid()) return std::nullopt;
    return date.civil;
  }
  return zone.ToLocal(AsUtc(date.civil) - *date.offset_seconds);
}

}  // namespace quill::interchange
