#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "interchange/feed_post.h"
#include "interchange/image_fetcher.h"

namespace quill::interchange {

// What an import did, or with a dry run would do.
struct ImportReport {
  FeedFormat format = FeedFormat::Unknown;
  bool dry_run = false;
  std::int64_t imported = 0;  // entries added or replaced
  std::int64_t replaced = 0;  // of those, replacing an entry of the same date
  std::int64_t moved = 0;     // of those, moved on from a second another post had
  std::int64_t present = 0;   // skipped: an entry of that date was there already
  std::int64_t pages = 0;
  std::int64_t attachments = 0;
  std::int64_t other_items = 0;  // menus, revisions, other kinds of item
  std::int64_t unpublished = 0;  // drafts and scheduled posts not asked for, private ones
  std::int64_t undated = 0;      // no usable date
  std::int64_t old_site_images = 0;  // image addresses left pointing at the old site
  std::int64_t copied_images = 0;
  std::vector<RenamedImage> renamed_images;
  // One line for each post moved on or skipped for its date.
  std::vector<std::string> notes;
};

// "1,204".
std::string CountText(std::int64_t n);

// The report as lines for the user: first "Imported 1,204 entries (3 moved one second,
// 12 skipped as already present); 340 images link to the old site.", then what was skipped
// and why, the pictures copied and renamed, and the notes.
std::vector<std::string> DescribeImport(const ImportReport& report);

}  // namespace quill::interchange
