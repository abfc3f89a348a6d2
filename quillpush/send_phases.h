#pragma once

#include <string_view>
#include <vector>

#include "core/project_settings.h"
#include "quillpush/site_files.h"

namespace quill::push {

// The parts of a site in the order they go up. A phase starts only once every file of the
// one before has arrived whole, so no live page links to a file that has not: first all that
// is no page (stylesheets, pictures, files, comment pages), then the entry pages, the
// archive's year pages and its first page, the numbered blog pages, the first blog page, the
// feed, and the sitemap last, its index after its parts.
enum class SendPhase {
  kOther,
  kEntryPages,
  kYearPages,
  kArchive,
  kNumberedPages,
  kFirstPage,
  kFeed,
  kSitemapParts,
  kSitemap,
};

// The phase a file of the output folder goes up in, by its name.
SendPhase PhaseOf(std::string_view name, const core::ProjectSettings& settings);

// The files in their phases, in phase order, leaving out phases without files; each phase
// keeps the order the files were given in.
std::vector<std::vector<const SiteFile*>> InPhases(const std::vector<const SiteFile*>& files,
                                                   const core::ProjectSettings& settings);

}  // namespace quill::push
