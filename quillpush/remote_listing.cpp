#include "quillpush/remote_listing.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace quill::push {
namespace {

constexpr std::array<std::string_view, 12> kMonths{"jan", "feb", "mar", "apr", "may", "jun",
                                                   "jul", "aug", "sep", "oct", "nov", "dec"};

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<std::uint64_t> Number(std::string_view digits) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    return std::nullopt;
  }
  return value;
}

bool IsMonth(std::string_view word) {
  return std::any_of(kMonths.begin(), kMonths.end(),
                     [&](std::string_view month) { return SameLetters(word, month); });
}

// "09:00" or "2026": the last field of an `ls -l` date.
bool IsTimeOrYear(std::string_view word) {
  if (word.size() == 5 && word[2] == ':') {
    return Number(word.substr(0, 2)) && Number(word.substr(3));
  }
  return word.size() == 4 && Number(word);
}

struct Word {
  std::string_view text;
  std::size_t end;  // where it ends in the line
};

std::vector<Word> Words(std::string_view line, std::size_t most) {
  std::vector<Word> words;
  std::size_t at = 0;
  while (words.size() < most) {
    at = line.find_first_not_of(' ', at);
    if (at == std::string_view::npos) break;
    std::size_t end = line.find(' ', at);
    if (end == std::string_view::npos) end = line.size();
    words.push_back({line.substr(at, end - at), end});
    at = end;
  }
  return words;
}

}  // namespace

std::optional<ListedEntry> ParseMlsdLine(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos || space + 1 >= line.size()) return std::nullopt;
  ListedEntry entry;
  entry.name = std::string(line.substr(space + 1));
  std::optional<std::uint64_t> size;
  std::string_view type;
  for (std::string_view facts = line.substr(0, space); !facts.empty();) {
    const std::size_t end = std::min(facts.find(';'), facts.size());
    const std::string_view fact = facts.substr(0, end);
    facts.remove_prefix(std::min(end + 1, facts.size()));
    const std::size_t equals = fact.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = fact.substr(0, equals);
    const std::string_view value = fact.substr(equals + 1);
    if (SameLetters(name, "type")) type = value;
    if (SameLetters(name, "size")) size = Number(value);
  }
  if (SameLetters(type, "dir")) {
    entry.folder = true;
    return entry;
  }
  if (!SameLetters(type, "file") || !size) return std::nullopt;
  entry.size = *size;
  return entry;
}

std::optional<ListedEntry> ParseLongLine(std::string_view line) {
  // Permissions, links, owner and group (some servers leave out one of them), the size, the
  // date in three words, then one space and the name, which may hold spaces of its own.
  const std::vector<Word> words = Words(line, 9);
  if (words.size() < 8 || (words[0].text[0] != '-' && words[0].text[0] != 'd')) {
    return std::nullopt;
  }
  for (std::size_t month = 3; month + 2 < words.size(); ++month) {
    if (!IsMonth(words[month].text) || !Number(words[month + 1].text) ||
        !IsTimeOrYear(words[month + 2].text)) {
      continue;
    }
    const std::optional<std::uint64_t> size = Number(words[month - 1].text);
    const std::size_t start = words[month + 2].end + 1;
    if (!size || start >= line.size()) return std::nullopt;
    ListedEntry entry{std::string(line.substr(start)), words[0].text[0] == 'd', *size};
    return entry;
  }
  return std::nullopt;
}

std::vector<ListedEntry> ParseListing(std::string_view text, ListingForm form) {
  std::vector<ListedEntry> entries;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::optional<ListedEntry> entry =
        form == ListingForm::kMlsd ? ParseMlsdLine(line) : ParseLongLine(line);
    if (entry && entry->name != "." && entry->name != "..") entries.push_back(std::move(*entry));
  }
  return entries;
}

}  // namespace quill::push
