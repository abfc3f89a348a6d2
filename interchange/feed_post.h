#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/stamp.h"

namespace quill::interchange {

// The kinds of file an import reads.
enum class FeedFormat { Unknown, WordPress, Rss, Atom };

// One item of an imported file, as the file describes it.
struct FeedPost {
  enum class Kind { Post, Page, Attachment, Other };
  // Drafts and scheduled posts are imported only when asked; private, pending and deleted
  // posts never are.
  enum class Status { Published, Draft, Withheld };

  std::int64_t number = 0;  // 1 for the file's first item
  Kind kind = Kind::Post;
  Status status = Status::Published;
  std::string title;    // markup, on one line
  std::string content;  // markup
  std::optional<core::Stamp> stamp;  // local; none when the item has no usable date
};

}  // namespace quill::interchange
