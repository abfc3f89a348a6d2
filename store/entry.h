#pragma once

#include <string>

#include "core/stamp.h"

namespace quill::store {

// One blog entry: its stamp (which also identifies it) and its HTML-flavoured text.
struct Entry {
  core::Stamp Stamp;
  std::string Content;
};

}  // namespace quill::store
