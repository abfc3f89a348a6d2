#include "site/site_names.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/text.h"

namespace quill::site {
namespace {

constexpr std::string_view kEntryPageForm = "0000-00-00-000000.html";
constexpr std::string_view kYearPrefix = "archive-";

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the text has the entry page form's digits and dashes up to its length.
bool FollowsEntryPageForm(std::string_view text) {
  if (text.size() > kEntryPageForm.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kEntryPageForm[i] == '0' ? !digit : text[i] != kEntryPageForm[i]) return false;
  }
  return true;
}

}  // namespace

std::string EntryPageName(const core::Stamp& stamp) {
  const auto in = [](int value, int top) { return value >= 0 && value <= top; };
  if (in(stamp.year, 9999) && in(stamp.month, 99) && in(stamp.day, 99) && in(stamp.hour, 99) &&
      in(stamp.minute, 99) && in(stamp.second, 99)) {
    // Every page of a build is named, often several times: digits set by hand.
    std::string name(kEntryPageForm);
    const auto put = [&](std::size_t at, int value, int digits) {
      for (std::size_t i = at + static_cast<std::size_t>(digits); i-- > at; value /= 10) {
        name[i] = static_cast<char>('0' + value % 10);
      }
    };
    put(0, stamp.year, 4);
    put(5, stamp.month, 2);
    put(8, stamp.day, 2);
    put(11, stamp.hour, 2);
    put(13, stamp.minute, 2);
    put(15, stamp.second, 2);
    return name;
  }
  char name[48];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d-%02d%02d%02d.html", stamp.year, stamp.month,
                stamp.day, stamp.hour, stamp.minute, stamp.second);
  return name;
}

std::optional<core::Stamp> StampOfEntryPage(std::string_view name) {
  if (name.size() != kEntryPageForm.size() || !FollowsEntryPageForm(name)) return std::nullopt;
  std::string text(name.substr(0, 10));
  text += ' ';
  text += name.substr(11, 2);
  text += ':';
  text += name.substr(13, 2);
  text += ':';
  text += name.substr(15, 2);
  return core::Stamp::FromText(text);
}

std::string ArchivePageName(int year) {
  char name[32];
  std::snprintf(name, sizeof name, "archive-%04d.html", year);
  return name;
}

std::string SitemapPartName(std::size_t n) { return "sitemap-" + std::to_string(n) + ".xml"; }

EntrySiteFile KindOfName(std::string_view name) {
  if (StampOfEntryPage(name)) return EntrySiteFile::EntryPage;
  if (name == kArchivePage) return EntrySiteFile::ArchivePage;
  if (name.size() == kYearPrefix.size() + 9 && name.starts_with(kYearPrefix) &&
      name.ends_with(".html")) {
    const std::string_view year = name.substr(kYearPrefix.size(), 4);
    // Years a stamp can hold, each written one way only.
    if (AllDigits(year) && year >= "0100") return EntrySiteFile::ArchivePage;
  }
  if (name == kSitemapFile) return EntrySiteFile::SitemapFile;
  constexpr std::string_view kPart = "sitemap-";
  if (name.size() > kPart.size() + 4 && name.starts_with(kPart) && name.ends_with(".xml")) {
    const std::string_view n = name.substr(kPart.size(), name.size() - kPart.size() - 4);
    if (AllDigits(n) && n.front() != '0' && n.size() <= 9) return EntrySiteFile::SitemapFile;
  }
  return EntrySiteFile::None;
}

std::string EntryPagesNameClash(std::string_view file_names, bool use_index) {
  const std::string base = core::AsciiLower(file_names);
  const std::string quoted = "the page file name \"" + std::string(file_names) + "\"";
  const auto refusal = [&](const std::string& pages, const char* whose) {
    return "With every entry on a page of its own, " + quoted + " would give blog pages " + pages +
           ", the name" + whose + "; choose another page file name.";
  };
  if (!use_index) {
    const std::string first = base + ".html";
    switch (KindOfName(first)) {
      case EntrySiteFile::EntryPage:
        return refusal(std::string(file_names) + ".html", " of an entry's page");
      case EntrySiteFile::ArchivePage:
        return refusal(std::string(file_names) + ".html", " of an archive page");
      default:
        break;
    }
  }
  // The numbered pages add digits: they reach the archive's year pages from "archive-" with up
  // to three digits, and entry pages from a stamp's name cut within its last six digits.
  const std::string_view after_year_prefix =
      std::string_view(base).substr(std::min(base.size(), kYearPrefix.size()));
  if (base.starts_with(kYearPrefix) && after_year_prefix.size() <= 3 &&
      AllDigits(after_year_prefix)) {
    return refusal("such as " + std::string(file_names) +
                       std::string(4 - after_year_prefix.size(), '1') + ".html",
                   " of a year's archive page");
  }
  if (base.size() >= 11 && base.size() < 17 && FollowsEntryPageForm(base)) {
    return refusal(
        "such as " + std::string(file_names) + std::string(17 - base.size(), '1') + ".html",
        " of an entry's page");
  }
  return {};
}

std::string PageOwners::Visit(const core::Stamp& stamp, bool dated) {
  if (!dated || (last_ && !(stamp < *last_))) return {};
  last_ = stamp;
  return EntryPageName(stamp);
}

}  // namespace quill::site
