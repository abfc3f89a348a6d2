#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/stamp.h"

namespace quill::store {
class EntryStore;
}

namespace quill::site {

// The entries that have a page of their own (PageOwners), newest first, and how many each
// year holds: what the pages' navigation, the archive's list of years and the sitemap need
// before, or without, reading the entries' text. Eight bytes an entry.
class EntryIndex {
 public:
  struct Year {
    int year = 0;
    std::size_t count = 0;
  };

  // One walk over the entries, from the newest.
  static EntryIndex Read(store::EntryStore& entries);

  std::size_t Size() const { return stamps_.size(); }
  // The i-th entry from the newest.
  core::Stamp At(std::size_t i) const;
  // Newest first.
  const std::vector<Year>& Years() const { return years_; }

 private:
  std::vector<std::uint64_t> stamps_;
  std::vector<Year> years_;
};

}  // namespace quill::site
