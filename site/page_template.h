#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/project_settings.h"
#include "site/site_output.h"

namespace quill::site {

// The page template's placeholders.
inline constexpr std::string_view kTitlePlaceholder = "BlogTitle";
inline constexpr std::string_view kNavigationPlaceholder = "BlogTOC";
inline constexpr std::string_view kContentPlaceholder = "BlogContent";

// The two lines the default template and the comment pages start with.
inline constexpr std::string_view kDoctypeLine =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">";
inline constexpr std::string_view kHtmlLine = "<html xmlns=\"http://www.w3.org/1999/xhtml\">";
// The head lines that declare the code page and link the site stylesheet.
inline constexpr std::string_view kCharsetLine =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />";
inline constexpr std::string_view kSiteStylesheetLine =
    "<link rel=\"stylesheet\" href=\"default.css\" type=\"text/css\" />";

// Writes template.html, the default page template, into the output folder: the classic one,
// or with Html5 "1" an HTML5 document in UTF-8.
void WriteDefaultTemplate(const core::ProjectSettings& settings, SiteOutput& output);

// The block that closes every page: six lines joined by CR LF, without a final CR LF.
std::string BuildPageFooter();

// The same for HTML5 pages.
std::string BuildHtml5Footer();

// The first lines of an HTML5 page up to its site stylesheet: doctype, <html lang> (from
// Language, "en" when empty), charset, viewport, title, description and icon.
std::vector<std::string> Html5Head(const core::ProjectSettings& settings, std::string_view title,
                                   std::string_view description);

// favicon.svg: the HTML5 pages' icon, a quill in the project's colours.
void WriteFavicon(const core::ProjectSettings& settings, SiteOutput& output);

// The address the template announces the feed at: Docs (or else Site) followed by
// "/rss.xml", with doubled slashes folded and the scheme's own restored.
std::string FeedAddress(const core::ProjectSettings& settings);

}  // namespace quill::site
