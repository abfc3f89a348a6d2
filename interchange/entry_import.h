#pragma once

#include <string>

#include "interchange/import_report.h"
#include "interchange/time_zone.h"

namespace quill::project {
class ProjectSession;
}

namespace quill::interchange {

struct ImportOptions {
  bool drafts = false;   // WordPress drafts and scheduled posts too
  bool replace = false;  // an entry of the same date is replaced, not kept
  bool dry_run = false;  // count only; change nothing
  std::string images;    // a local copy of the old blog's uploads folder; empty: none
};

// Brings the posts of a WordPress export, an RSS 2.0 feed or an Atom 1.0 feed (a local file)
// into the open project's entries, streaming the file. Every post becomes an entry, in one
// transaction: an import that stops half-way, for bad XML or a full disk, changes nothing
// and says where it stopped. Two posts of the same second: the later moves one second on; a
// post whose second is already an entry of the project is skipped, or with `replace`
// replaces it. The project's output folder is made when it is missing.
//
// Throws core::QuillError naming the file, what went wrong and where.
ImportReport ImportEntries(project::ProjectSession& session, const std::string& path,
                           const ImportOptions& options, const TimeZone& zone);

}  // namespace quill::interchange
