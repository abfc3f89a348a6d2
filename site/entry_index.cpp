#include "site/entry_index.h"

#include "site/site_names.h"
#include "store/entry_store.h"

namespace quill::site {
namespace {

std::uint64_t Pack(const core::Stamp& s) {
  return (std::uint64_t(s.year) << 26) | (std::uint64_t(s.month) << 22) |
         (std::uint64_t(s.day) << 17) | (std::uint64_t(s.hour) << 12) |
         (std::uint64_t(s.minute) << 6) | std::uint64_t(s.second);
}

}  // namespace

EntryIndex EntryIndex::Read(store::EntryStore& entries) {
  EntryIndex index;
  PageOwners owners;
  for (store::EntryStore::NewestFirst walk(entries); !walk.Done(); walk.Next()) {
    const core::Stamp& stamp = walk.Stamp();
    if (owners.Visit(stamp, walk.Dated()).empty()) continue;
    index.stamps_.push_back(Pack(stamp));
    if (index.years_.empty() || index.years_.back().year != stamp.year) {
      index.years_.push_back({stamp.year, 0});
    }
    ++index.years_.back().count;
  }
  index.stamps_.shrink_to_fit();
  return index;
}

core::Stamp EntryIndex::At(std::size_t i) const {
  const std::uint64_t p = stamps_[i];
  return {static_cast<int>(p >> 26),        static_cast<int>((p >> 22) & 15),
          static_cast<int>((p >> 17) & 31), static_cast<int>((p >> 12) & 31),
          static_cast<int>((p >> 6) & 63),  static_cast<int>(p & 63)};
}

}  // namespace quill::site
