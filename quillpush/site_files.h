#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/project_settings.h"

namespace quill::push {

struct SiteFile {
  std::string name;  // relative to the output folder, with "/" between folders
  std::string path;  // on disk
  std::uint64_t size = 0;
  std::filesystem::file_time_type modified;  // when it was listed
};

struct SiteListing {
  std::vector<SiteFile> files;
  std::vector<std::string> links;  // symbolic links, left out, named as files are
};

// The files of the output folder that make up the site, in the order they go up: everything
// that is no page first (pictures, downloads, stylesheets), then the entry pages from the
// oldest, the archive's pages, the numbered blog pages from the oldest to the newest, the
// first page, the feed and the sitemap, so the live site never links to a file that has not
// arrived. The entry database, its journals, the manifest, the
// generator's temp files and hidden files stay home. Symbolic links are never followed, so
// nothing outside the folder is read; names are the walked path itself. Throws QuillError
// when a folder cannot be read.
SiteListing ListSiteFiles(const std::string& folder, const core::ProjectSettings& settings);

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Opens a site file for reading, refusing a symbolic link put in its place since it was
// listed. Throws QuillError naming the file and the reason.
FileHandle OpenSiteFile(const std::string& path);

// The SHA-256 of a site file's content, as 64 lower-case hexadecimal digits.
std::string Sha256OfFile(const std::string& path);

}  // namespace quill::push
