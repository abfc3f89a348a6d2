#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/project_settings.h"

namespace quill::push {

struct SiteFile {
  std::string name;  // relative to the output folder, with "/" between folders
  std::string path;  // on disk
  std::uint64_t size = 0;
};

// The files of the output folder that make up the site, in the order they go up: everything
// that is no page first (pictures, downloads, stylesheets), then the numbered blog pages from
// the oldest to the newest, then the first page and the feed, so the live site never links
// to a file that has not arrived. The entry database, its journals, the manifest and hidden
// files stay home. Throws QuillError when the folder cannot be read.
std::vector<SiteFile> ListSiteFiles(const std::string& folder,
                                    const core::ProjectSettings& settings);

// The SHA-256 of a file's content, as 64 lower-case hexadecimal digits.
std::string Sha256OfFile(const std::string& path);

}  // namespace quill::push
