#include "quillpush/send_phases.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "core/file_names.h"
#include "site/blog_pages.h"

namespace quill::push {
namespace {

using Settings = core::ProjectSettings;

bool Digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "2026-12-08-095544.html": digits and dashes in that form.
bool IsEntryPage(std::string_view name, const Settings&) {
  constexpr std::string_view kForm = "0000-00-00-000000.html";
  if (name.size() != kForm.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (kForm[i] == '0' ? !Digits(name.substr(i, 1)) : name[i] != kForm[i]) return false;
  }
  return true;
}

bool IsYearPage(std::string_view name, const Settings&) {
  return name.size() == 17 && name.starts_with("archive-") && name.ends_with(".html") &&
         Digits(name.substr(8, 4));
}

bool IsArchive(std::string_view name, const Settings&) { return name == "archive.html"; }

bool IsNumberedPage(std::string_view name, const Settings& settings) {
  const std::string_view base = settings.FileNames;
  return name.size() > base.size() + 5 && name.starts_with(base) && name.ends_with(".html") &&
         Digits(name.substr(base.size(), name.size() - base.size() - 5));
}

bool IsFirstPage(std::string_view name, const Settings& settings) {
  return name == site::PageName(settings, 0, 0);
}

bool IsFeed(std::string_view name, const Settings&) { return name == core::kFeedFile; }

bool IsSitemap(std::string_view name, const Settings&) { return name == "sitemap.xml"; }

bool IsSitemapPart(std::string_view name, const Settings&) {
  return name.starts_with("sitemap") && name.ends_with(".xml") && name.find('/') == name.npos;
}

struct Rule {
  SendPhase phase;
  bool (*matches)(std::string_view, const Settings&);
};

// The first rule a name matches gives its phase; a name none matches is no page.
constexpr std::array<Rule, 8> kRules{{
    {SendPhase::kFirstPage, &IsFirstPage},
    {SendPhase::kFeed, &IsFeed},
    {SendPhase::kSitemap, &IsSitemap},
    {SendPhase::kSitemapParts, &IsSitemapPart},
    {SendPhase::kArchive, &IsArchive},
    {SendPhase::kYearPages, &IsYearPage},
    {SendPhase::kEntryPages, &IsEntryPage},
    {SendPhase::kNumberedPages, &IsNumberedPage},
}};

}  // namespace

SendPhase PhaseOf(std::string_view name, const core::ProjectSettings& settings) {
  for (const Rule& rule : kRules) {
    if (rule.matches(name, settings)) return rule.phase;
  }
  return SendPhase::kOther;
}

std::vector<std::vector<const SiteFile*>> InPhases(const std::vector<const SiteFile*>& files,
                                                   const core::ProjectSettings& settings) {
  std::map<SendPhase, std::vector<const SiteFile*>> phases;
  for (const SiteFile* file : files) phases[PhaseOf(file->name, settings)].push_back(file);
  std::vector<std::vector<const SiteFile*>> ordered;
  for (auto& [phase, in_phase] : phases) ordered.push_back(std::move(in_phase));
  return ordered;
}

}  // namespace quill::push
