#pragma once

#include <string_view>

#include "core/project_settings.h"
#include "site/site_output.h"

namespace quill::site {

// The address and follow-up page that mark a mail script nobody configured; no real form
// posts either.
inline constexpr std::string_view kUnsetDestination = "you@your-domain.example";
inline constexpr std::string_view kUnsetFollowup = "http://www.your-domain.example/thank-you.html";

// contact.php: the server-side script behind the comment form. It mails the posted fields to
// the editor's address and sends the visitor on to message.html.
void WriteContactScript(const core::ProjectSettings& settings, SiteOutput& output);

}  // namespace quill::site
