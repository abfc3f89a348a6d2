#include "quillpush/site_files.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/atomic_file.h"
#include "core/file_names.h"
#include "core/quill_error.h"
#include "quillpush/manifest.h"
#include "site/blog_pages.h"
#include "site/site_names.h"

namespace quill::push {
namespace {

namespace fs = std::filesystem;

// Files of the output folder itself that are the program's own, not the site's.
bool StaysHome(const std::string& name) {
  const std::string database = core::kDatabaseFile;
  return name == database || name.starts_with(database + "-") || name == Manifest::kFileName;
}

// The order files go up in: everything that is no page, then the entry pages (oldest
// first), the archive's year pages and its first page, the numbered blog pages (`number`
// orders them), the first blog page, the feed, and the sitemap last, its index after its
// parts, so no page that has arrived links one that has not.
enum Rank {
  kOther,
  kEntryPage,
  kYearPage,
  kArchivePage,
  kNumberedPage,
  kFirstPage,
  kFeed,
  kSitemapPart,
  kSitemap
};

Rank RankOf(const std::string& name, const core::ProjectSettings& settings, long& number) {
  if (name == core::kFeedFile) return kFeed;
  if (name == site::PageName(settings, 0, 0)) return kFirstPage;
  switch (site::KindOfName(name)) {
    case site::EntrySiteFile::EntryPage:
      return kEntryPage;
    case site::EntrySiteFile::ArchivePage:
      return name == site::kArchivePage ? kArchivePage : kYearPage;
    case site::EntrySiteFile::SitemapFile:
      return name == site::kSitemapFile ? kSitemap : kSitemapPart;
    case site::EntrySiteFile::None:
      break;
  }
  const std::string& base = settings.FileNames;
  if (name.size() > base.size() + 5 && name.starts_with(base) && name.ends_with(".html")) {
    const std::string digits = name.substr(base.size(), name.size() - base.size() - 5);
    if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      number = std::stol(digits);
      return kNumberedPage;
    }
  }
  return kOther;
}

// Walks one folder. Names are built from the entries' own names as they are walked, never
// from a resolved path, so none can step out of the site.
void Walk(const fs::path& folder, const std::string& prefix, SiteListing& listing) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    const std::string leaf = it->path().filename().string();
    const std::string name = prefix + leaf;
    if (leaf.starts_with('.') || core::IsTempFileName(leaf)) continue;  // hidden, or a temp file
    const fs::file_status status = it->symlink_status(error);
    if (error) break;
    if (fs::is_symlink(status)) {
      listing.links.push_back(name);
    } else if (fs::is_directory(status)) {
      Walk(it->path(), name + "/", listing);
    } else if (fs::is_regular_file(status) && !(prefix.empty() && StaysHome(leaf))) {
      const std::uintmax_t size = it->file_size(error);
      if (error) break;
      const fs::file_time_type modified = it->last_write_time(error);
      if (error) break;
      listing.files.push_back({name, it->path().string(), size, modified});
    }
  }
  if (error) {
    throw core::QuillError("Cannot read the folder " + folder.string() + ": " + error.message());
  }
}

}  // namespace

SiteListing ListSiteFiles(const std::string& folder, const core::ProjectSettings& settings) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    throw core::QuillError("The output folder " + folder + " does not exist.");
  }
  SiteListing listing;
  Walk(folder, "", listing);
  std::stable_sort(listing.files.begin(), listing.files.end(),
                   [&](const SiteFile& a, const SiteFile& b) {
                     long number_a = 0;
                     long number_b = 0;
                     const Rank rank_a = RankOf(a.name, settings, number_a);
                     const Rank rank_b = RankOf(b.name, settings, number_b);
                     if (rank_a != rank_b) return rank_a < rank_b;
                     if (rank_a == kNumberedPage) return number_a > number_b;  // oldest first
                     return a.name < b.name;
                   });
  return listing;
}

FileHandle OpenSiteFile(const std::string& path) {
#ifdef _WIN32
  std::FILE* file = std::fopen(path.c_str(), "rb");
#else
  std::FILE* file = nullptr;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    file = ::fdopen(fd, "rb");
    if (file == nullptr) ::close(fd);
  }
#endif
  if (file == nullptr) {
    const int reason = errno;
    throw core::QuillError("Cannot read " + path + ": " +
                           (reason == ELOOP ? "it is now a symbolic link" : std::strerror(reason)));
  }
  return FileHandle(file, &std::fclose);
}

std::string Sha256OfFile(const std::string& path) {
  const FileHandle file = OpenSiteFile(path);
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr);
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    EVP_DigestUpdate(context.get(), buffer, n);
  }
  if (std::ferror(file.get())) throw core::QuillError("Cannot read " + path);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(context.get(), digest, &length);
  std::string hex;
  char byte[3];
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(byte, sizeof byte, "%02x", digest[i]);
    hex += byte;
  }
  return hex;
}

}  // namespace quill::push
