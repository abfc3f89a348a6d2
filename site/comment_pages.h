#pragma once

#include "core/project_settings.h"
#include "site/site_output.h"

namespace quill::site {

// comments.html: the form visitors fill in; it posts to contact.php.
void WriteCommentsPage(const core::ProjectSettings& settings, SiteOutput& output);

// message.html: where contact.php sends visitors once their message has gone out.
void WriteMessagePage(const core::ProjectSettings& settings, SiteOutput& output);

}  // namespace quill::site
