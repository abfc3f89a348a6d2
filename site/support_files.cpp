#include "site/support_files.h"

#include "core/file_names.h"
#include "site/comment_pages.h"
#include "site/contact_script.h"
#include "site/page_template.h"
#include "site/stylesheets.h"

namespace quill::site {

std::vector<std::string> SupportFileNames(bool with_comments, bool html5) {
  using namespace core;
  std::vector<std::string> names = {kTemplateFile, kSiteStylesheet};
  if (html5) names.emplace_back(kFavicon);
  if (with_comments) names.insert(names.end(), {kCommentsPage, kMessagePage, kContactScript});
  names.emplace_back(kBlogStylesheet);
  return names;
}

bool WriteSupportFile(const std::string& name, const core::ProjectSettings& settings,
                      SiteOutput& output) {
  using Writer = void (*)(const core::ProjectSettings&, SiteOutput&);
  static constexpr std::pair<std::string_view, Writer> kWriters[] = {
      {core::kTemplateFile, WriteDefaultTemplate},
      {core::kSiteStylesheet, WriteSiteStylesheet},
      {core::kCommentsPage, WriteCommentsPage},
      {core::kMessagePage, WriteMessagePage},
      {core::kContactScript, WriteContactScript},
      {core::kBlogStylesheet, WriteBlogStylesheet},
      {core::kFavicon, WriteFavicon},
  };
  for (const auto& [file_name, writer] : kWriters) {
    if (file_name == name) {
      writer(settings, output);
      return true;
    }
  }
  return false;
}

}  // namespace quill::site
