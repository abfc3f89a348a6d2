#include "site/made_files.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "site/site_names.h"

namespace quill::site {
namespace {

constexpr std::string_view kHeader =
    "Quillsmith made these files beside the blog pages and removes only these.";

template <typename Number>
bool ReadNumber(std::string_view text, Number& value, int base = 10) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc{} && end == text.data() + text.size();
}

// Splits at single spaces.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t at = 0; at <= line.size();) {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    fields.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  return fields;
}

}  // namespace

std::optional<MadeFiles::Item> MadeFiles::ItemOf(std::string_view name) {
  if (KindOfName(name) == EntrySiteFile::None || name.size() >= sizeof Item::name) {
    return std::nullopt;
  }
  Item item;
  std::memcpy(item.name, name.data(), name.size());
  item.length = static_cast<std::uint8_t>(name.size());
  return item;
}

MadeFiles::MadeFiles(SiteOutput& output) : output_(output) {
  const std::optional<std::string> record = output_.Read(kFileName);
  if (!record) return;
  std::string_view rest(*record);
  // One item a line, and room for a few new names, so the list is not copied as it grows.
  const auto lines = static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n'));
  items_.reserve(lines + lines / 64 + 16);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::vector<std::string_view> fields = Fields(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    std::optional<Item> item = ItemOf(fields[0]);
    if (!item) continue;  // the header, or a name that is none of ours
    item->listed = true;
    item->has_page = fields.size() == 4 && ReadNumber(fields[1], item->page.size) &&
                     ReadNumber(fields[2], item->page.modified) &&
                     ReadNumber(fields[3], item->page.digest, 16);
    items_.push_back(*item);
  }
  std::sort(items_.begin(), items_.end(),
            [](const Item& a, const Item& b) { return a.Name() < b.Name(); });
  items_.erase(std::unique(items_.begin(), items_.end(),
                           [](const Item& a, const Item& b) { return a.Name() == b.Name(); }),
               items_.end());
}

MadeFiles::Item* MadeFiles::Find(std::string_view name) {
  const auto at =
      std::lower_bound(items_.begin(), items_.end(), name,
                       [](const Item& item, std::string_view n) { return item.Name() < n; });
  return at != items_.end() && at->Name() == name ? &*at : nullptr;
}

std::optional<MadeFiles::Page> MadeFiles::Known(std::string_view name) const {
  const Item* item = const_cast<MadeFiles*>(this)->Find(name);
  if (item == nullptr || !item->has_page) return std::nullopt;
  return item->page;
}

MadeFiles::Item* MadeFiles::Mark(std::string_view name) {
  Item* item = Find(name);
  if (item == nullptr) {
    std::optional<Item> added = ItemOf(name);
    if (!added) return nullptr;  // not a name the record keeps
    added_.push_back(*added);
    item = &added_.back();
  }
  item->made = true;
  return item;
}

void MadeFiles::Expect(std::size_t names) {
  if (!items_.empty()) return;  // the names are mostly listed already
  // Room beyond them for the few names a build adds later (the sitemap's files).
  added_.reserve(added_.size() + names + names / 64 + 16);
}

void MadeFiles::Plan(std::string_view name) { Mark(name); }

void MadeFiles::Made(std::string_view name, std::optional<Page> page) {
  Item* item = Mark(name);
  if (item == nullptr) return;
  item->has_page = page.has_value();
  if (page) item->page = *page;
}

void MadeFiles::MergeAdded() {
  if (added_.empty()) return;
  const auto by_name = [](const Item& a, const Item& b) { return a.Name() < b.Name(); };
  std::sort(added_.begin(), added_.end(), by_name);
  // Merged in place: a record of 100,000 pages is about 5 MB, and a second copy of it would
  // double what the build holds at its peak.
  const auto listed = static_cast<std::ptrdiff_t>(items_.size());
  if (items_.empty()) {
    items_.swap(added_);
  } else {
    items_.insert(items_.end(), added_.begin(), added_.end());
    std::inplace_merge(items_.begin(), items_.begin() + listed, items_.end(), by_name);
  }
  // An item the record listed comes before a new one of the same name, and is the one kept.
  items_.erase(std::unique(items_.begin(), items_.end(),
                           [](const Item& a, const Item& b) { return a.Name() == b.Name(); }),
               items_.end());
  added_ = std::vector<Item>();
}

void MadeFiles::Write(bool made_only) {
  const auto file = output_.Create(kFileName);
  std::string chunk(kHeader);
  chunk += '\n';
  for (Item& item : items_) {
    if (made_only && !item.made) continue;
    item.listed = true;
    chunk += item.Name();
    if (item.has_page) {
      char numbers[80];
      const int n = std::snprintf(numbers, sizeof numbers, " %llu %lld %016llx",
                                  static_cast<unsigned long long>(item.page.size),
                                  static_cast<long long>(item.page.modified),
                                  static_cast<unsigned long long>(item.page.digest));
      chunk.append(numbers, static_cast<std::size_t>(n));
    }
    chunk += '\n';
    if (chunk.size() >= (1u << 16)) {
      file->Write(chunk);
      chunk.clear();
    }
  }
  file->Write(chunk);
  file->Commit();
}

void MadeFiles::Announce() {
  if (added_.empty()) return;
  MergeAdded();
  Write(false);
}

void MadeFiles::Settle() {
  MergeAdded();
  for (const Item& item : items_) {
    if (item.listed && !item.made) {
      output_.Remove(std::string(item.Name()));
      ++removed_;
    }
  }
  std::erase_if(items_, [](const Item& item) { return !item.made; });
  Write(true);
}

void MadeFiles::RemoveAll() {
  MergeAdded();
  for (const Item& item : items_) {
    output_.Remove(std::string(item.Name()));
    ++removed_;
  }
  items_.clear();
  output_.Remove(kFileName);
}

}  // namespace quill::site
