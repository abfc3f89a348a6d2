#include "quillpush/site_files.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/file_names.h"
#include "core/quill_error.h"
#include "quillpush/manifest.h"
#include "site/blog_pages.h"

namespace quill::push {
namespace {

namespace fs = std::filesystem;

bool StaysHome(const std::string& name) {
  const std::string database = core::kDatabaseFile;
  return name == database || name.starts_with(database + "-") || name == Manifest::kFileName ||
         name.ends_with(".tmp") || name.find(".tmp-") != std::string::npos;
}

// 0 for files that are no page, 1 for numbered pages, 2 for the first page, 3 for the feed;
// `number` orders the numbered pages.
int Rank(const std::string& name, const core::ProjectSettings& settings, long& number) {
  if (name == core::kFeedFile) return 3;
  if (name == site::PageName(settings, 0, 0)) return 2;
  const std::string& base = settings.FileNames;
  if (name.size() > base.size() + 5 && name.starts_with(base) && name.ends_with(".html")) {
    const std::string digits = name.substr(base.size(), name.size() - base.size() - 5);
    if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      number = std::stol(digits);
      return 1;
    }
  }
  return 0;
}

}  // namespace

std::vector<SiteFile> ListSiteFiles(const std::string& folder,
                                    const core::ProjectSettings& settings) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    throw core::QuillError("The output folder " + folder + " does not exist.");
  }
  std::vector<SiteFile> files;
  fs::recursive_directory_iterator it(folder, fs::directory_options::none, error);
  if (error)
    throw core::QuillError("Cannot read the output folder " + folder + ": " + error.message());
  for (; it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (error)
      throw core::QuillError("Cannot read the output folder " + folder + ": " + error.message());
    const std::string leaf = it->path().filename().string();
    if (leaf.starts_with('.')) {  // hidden, folders included
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file()) continue;
    const std::string name = fs::relative(it->path(), folder).generic_string();
    if (StaysHome(name)) continue;
    files.push_back({name, it->path().string(), it->file_size()});
  }
  std::stable_sort(files.begin(), files.end(), [&](const SiteFile& a, const SiteFile& b) {
    long number_a = 0;
    long number_b = 0;
    const int rank_a = Rank(a.name, settings, number_a);
    const int rank_b = Rank(b.name, settings, number_b);
    if (rank_a != rank_b) return rank_a < rank_b;
    if (rank_a == 1) return number_a > number_b;  // oldest page first
    return a.name < b.name;
  });
  return files;
}

std::string Sha256OfFile(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw core::QuillError("Cannot read " + path);
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
