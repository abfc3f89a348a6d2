#pragma once

#include <string>
#include <vector>

#include "core/project_settings.h"
#include "site/site_output.h"

namespace quill::site {

// The support files an output folder needs, in the order they are written: the template and
// site stylesheet, the icon of HTML5 pages, the comment form, its thank-you page and mail
// script when comments are on, and the blog stylesheet last.
std::vector<std::string> SupportFileNames(bool with_comments, bool html5 = false);

// Writes one support file by its name; false for a name that is no support file.
bool WriteSupportFile(const std::string& name, const core::ProjectSettings& settings,
                      SiteOutput& output);

}  // namespace quill::site
