#pragma once

#include "core/project_settings.h"
#include "site/site_output.h"

namespace quill::site {

// quillsmith.css: the entries, the navigation bar and the picture boxes, in the project's
// shading and font colours.
void WriteBlogStylesheet(const core::ProjectSettings& settings, SiteOutput& output);

// default.css: the layout of the default template's page, header and footer in the
// project's colours.
void WriteSiteStylesheet(const core::ProjectSettings& settings, SiteOutput& output);

}  // namespace quill::site
