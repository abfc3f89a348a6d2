#pragma once

#include <string>
#include <string_view>

#include "core/project_settings.h"
#include "core/stamp.h"

namespace quill::interchange {

// The two site generators an export is laid out for.
enum class ExportLayout { Hugo, Zola };

// What the front matter of an exported entry says.
struct PostHeader {
  std::string title;  // plain text
  core::Stamp stamp;
  int utc_offset_seconds = 0;  // of local time on the entry's day
};

// "2019-05-01T10:00:00+02:00"; an offset's odd seconds (local mean time of old dates) drop.
std::string Rfc3339Text(const core::Stamp& stamp, int utc_offset_seconds);
// "2019-05-01-100000.html" for Hugo, "2019-05-01-100000.md" for Zola, which builds pages
// only from Markdown files.
std::string PostFileName(const core::Stamp& stamp, ExportLayout layout);

// Text on one line between double quotes, as YAML and TOML both read it: '"', '\\' and the
// control characters escaped.
std::string QuotedValue(std::string_view text);

// An exported entry's front matter: YAML between "---" lines for Hugo; TOML between "+++"
// lines for Zola, with the file's name as the page's address (Zola would read a date at the
// start of the name as the date and keep only the rest).
std::string FrontMatter(const PostHeader& header, ExportLayout layout);

// The title an exported entry gets: the heading it opens with, else its title as the feed
// gives it; references read, markup gone.
std::string ExportTitle(std::string_view entry);

// The site's configuration file (hugo.toml, config.toml), its name and its text.
std::string ConfigFileName(ExportLayout layout);
std::string ConfigText(const core::ProjectSettings& settings, ExportLayout layout);
// Zola's section of the posts, content/posts/_index.md.
std::string SectionIndexText(const core::ProjectSettings& settings);
// README.txt: what the export put where.
std::string ReadmeText(const core::ProjectSettings& settings, ExportLayout layout);

}  // namespace quill::interchange
