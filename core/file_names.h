#pragma once

// The names of the files a project keeps in its output folder, beside the pages.
namespace quill::core {

inline constexpr char kTemplateFile[] = "template.html";     // the page template
inline constexpr char kFeedFile[] = "rss.xml";               // the news feed
inline constexpr char kDatabaseFile[] = "Blog.mdb";          // the entries; never uploaded
inline constexpr char kBuildLockFile[] = "Blog.mdb-lock";    // held while a build runs
inline constexpr char kSiteStylesheet[] = "default.css";     // the site's own style sheet
inline constexpr char kBlogStylesheet[] = "quillsmith.css";  // the entry pages' style sheet
inline constexpr char kCommentsPage[] = "comments.html";
inline constexpr char kMessagePage[] = "message.html";
inline constexpr char kContactScript[] = "contact.php";
inline constexpr char kFavicon[] = "favicon.svg";  // the HTML5 pages' icon

}  // namespace quill::core
