#include "site/support_files.h"

#include "site/comment_pages.h"
#include "site/contact_script.h"
#include "site/page_template.h"
#include "site/stylesheets.h"

namespace quill::site {

std::vector<std::string> SupportFileNames(bool with_comments) {
  std::vector<std::string> names = {"template.html", "default.css"};
  if (with_comments) names.insert(names.end(), {"comments.html", "message.html", "contact.php"});
  names.emplace_back("quillsmith.css");
  return names;
}

bool WriteSupportFile(const std::string& name, const core::ProjectSettings& settings,
                      SiteOutput& output) {
  using Writer = void (*)(const core::ProjectSettings&, SiteOutput&);
  static constexpr std::pair<std::string_view, Writer> kWriters[] = {
      {"template.html", WriteDefaultTemplate}, {"default.css", WriteSiteStylesheet},
      {"comments.html", WriteCommentsPage},    {"message.html", WriteMessagePage},
      {"contact.php", WriteContactScript},     {"quillsmith.css", WriteBlogStylesheet},
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
