#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/export_files.h"
#include "interchange/time_zone.h"

namespace quill::project {
class ProjectSession;
}

namespace quill::interchange {

struct ExportOptions {
  ExportLayout layout = ExportLayout::Hugo;
  bool force = false;  // files already in the folder may be replaced
};

struct ExportReport {
  ExportLayout layout = ExportLayout::Hugo;
  std::string folder;
  std::int64_t entries = 0;
  std::int64_t files = 0;  // copied into static/
  // Bare names the entries link to that the output folder does not hold.
  std::vector<std::string> missing;
};

// Writes every entry of the open project into `folder` for Hugo or for Zola: a file per
// entry in content/posts/ (front matter, then the entry as the page builder renders it, in
// one <div>), the files the entries link to by bare name in static/ (the links become
// "/name"), the site's configuration and a README.txt. Refuses, before writing anything,
// when one of those files is there already, unless `force`.
//
// Throws core::QuillError naming the file and the reason.
ExportReport ExportEntries(project::ProjectSession& session, const std::string& folder,
                           const ExportOptions& options, const TimeZone& zone);

// "Exported 12 entries for Hugo into /home/ann/hugo-blog/, with 3 files in static/."
std::vector<std::string> DescribeExport(const ExportReport& report);

}  // namespace quill::interchange
