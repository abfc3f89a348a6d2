#include "interchange/image_fetcher.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

#include "core/quill_error.h"
#include "interchange/markup_links.h"

namespace quill::interchange {
namespace fs = std::filesystem;
namespace {

// The folders and file name of the address's path, after its site; nothing for an address
// that could lead outside the folder or names no file.
std::optional<std::vector<std::string>> PathParts(std::string_view address) {
  if (address.starts_with("data:")) return std::nullopt;
  address = address.substr(0, address.find_first_of("?#"));
  if (const std::size_t scheme = address.find("://"); scheme != std::string_view::npos) {
    address = address.substr(scheme + 3);
    address = address.substr(std::min(address.find('/'), address.size()));
  } else if (address.starts_with("//")) {
    address = address.substr(2);
    address = address.substr(std::min(address.find('/'), address.size()));
  }
  const std::string path = PercentDecoded(address);
  std::vector<std::string> parts;
  for (std::size_t at = 0; at <= path.size();) {
    const std::size_t end = std::min(path.find('/', at), path.size());
    std::string part = path.substr(at, end - at);
    at = end + 1;
    if (part.empty()) continue;
    if (part == "." || part == ".." || part.find('\\') != std::string::npos) return std::nullopt;
    for (const char c : part) {
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    }
    parts.push_back(std::move(part));
  }
  if (parts.empty()) return std::nullopt;
  return parts;
}

bool SameBytes(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (fs::file_size(a, error) != fs::file_size(b, error) || error) return false;
  std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
  char x[1 << 14], y[1 << 14];
  while (first && second) {
    first.read(x, sizeof x);
    second.read(y, sizeof y);
    if (first.gcount() != second.gcount() ||
        !std::equal(x, x + first.gcount(), y)) {
      return false;
    }
  }
  return first.eof() && second.eof();
}

std::string Joined(const std::vector<std::string>& parts, std::size_t from, std::size_t to,
                   char between) {
  std::string joined;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from) joined += between;
    joined += parts[i];
  }
  return joined;
}

// "photo.jpg", 2 -> "photo-2.jpg".
std::string Numbered(const std::string& name, int n) {
  const std::size_t dot = name.rfind('.');
  const std::size_t cut = dot == std::string::npos || dot == 0 ? name.size() : dot;
  return name.substr(0, cut) + "-" + std::to_string(n) + name.substr(cut);
}

}  // namespace

ImageFetcher::ImageFetcher(std::string uploads, std::string output, bool dry_run)
    : uploads_(std::move(uploads)), output_(std::move(output)), dry_run_(dry_run) {
  std::error_code error;
  if (!fs::is_directory(uploads_, error)) {
    throw core::QuillError("The picture folder " + uploads_.string() + " is not a folder.");
  }
}

ImageFetcher::~ImageFetcher() {
  std::error_code ignored;
  for (const Copy& copy : copies_) fs::remove(copy.placed ? copy.target : copy.temp, ignored);
}

std::optional<std::string> ImageFetcher::Fetch(std::string_view address) {
  const auto parts = PathParts(address);
  if (!parts) return std::nullopt;
  // The longest end of the path the folder holds: ".../wp-content/uploads/2019/05/photo.jpg"
  // is "2019/05/photo.jpg" in a copy of the uploads folder.
  for (std::size_t from = 0; from < parts->size(); ++from) {
    const fs::path source = uploads_ / Joined(*parts, from, parts->size(), '/');
    std::error_code error;
    if (!fs::is_regular_file(source, error)) continue;
    const std::vector<std::string> found(parts->begin() + static_cast<std::ptrdiff_t>(from),
                                         parts->end());
    return NameFor(source, found);
  }
  return std::nullopt;
}

ImageFetcher::Fit ImageFetcher::FitOf(const std::string& name, const fs::path& source) const {
  if (sources_.contains(name)) return Fit::Taken;
  std::error_code error;
  const fs::path there = output_ / name;
  if (!fs::exists(fs::symlink_status(there, error))) return Fit::Free;
  return fs::is_regular_file(there, error) && SameBytes(source, there) ? Fit::Same : Fit::Taken;
}

std::optional<std::string> ImageFetcher::NameFor(const fs::path& source,
                                                 const std::vector<std::string>& parts) {
  if (const auto known = names_.find(source.string()); known != names_.end()) return known->second;
  const std::string& own = parts.back();
  const std::string flat =
      parts.size() == 1 ? own : Joined(parts, 0, parts.size() - 1, '-') + "-" + own;
  std::string name = own;
  Fit fit = FitOf(name, source);
  if (fit == Fit::Taken && flat != own) fit = FitOf(name = flat, source);
  for (int n = 2; fit == Fit::Taken; ++n) fit = FitOf(name = Numbered(flat, n), source);
  if (fit == Fit::Free) CopyIn(source, name);
  if (name != own) renamed_.push_back({Joined(parts, 0, parts.size(), '/'), name});
  names_[source.string()] = name;
  sources_[name] = source.string();
  return name;
}

void ImageFetcher::CopyIn(const fs::path& source, const std::string& name) {
  ++copied_;
  if (dry_run_) return;
  std::random_device random;
  char tag[16];
  std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(random()));
  Copy copy{output_ / ("." + name + ".import-" + tag), output_ / name};
  std::error_code error;
  fs::copy_file(source, copy.temp, error);
  if (error) {
    fs::remove(copy.temp, error);
    throw core::QuillError("Cannot copy the picture " + source.string() + " into " +
                           output_.string() + ": " + error.message());
  }
  copies_.push_back(std::move(copy));
}

void ImageFetcher::Place() {
  for (Copy& copy : copies_) {
    std::error_code error;
    if (fs::exists(fs::symlink_status(copy.target, error))) {
      throw core::QuillError("Cannot place the picture " + copy.target.string() +
                             ": a file of that name has appeared meanwhile.");
    }
    fs::rename(copy.temp, copy.target, error);
    if (error) {
      throw core::QuillError("Cannot place the picture " + copy.target.string() + ": " +
                             error.message());
    }
    copy.placed = true;
  }
}

void ImageFetcher::Keep() { copies_.clear(); }

}  // namespace quill::interchange
