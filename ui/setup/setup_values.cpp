#include "ui/setup/setup_values.h"

#include <algorithm>

#include "core/file_names.h"
#include "core/text.h"
#include "ui/setup/setup_rules.h"

namespace quill::ui {
namespace {

int InList(int stored, int size) { return stored >= 0 && stored < size ? stored : -1; }

}  // namespace

SetupValues SetupValues::Of(const core::ProjectSettings& project) {
  SetupValues values;
  values.title = core::Trim(project.Title);
  values.output_folder = project.OutputFolder;
  values.date_format = InList(project.DateFormat, 4);
  values.time_format = InList(project.TimeFormat, 4);
  values.separator = InList(project.Separator, 3);
  values.print_time = project.PrintTime != 0;
  values.page_size = std::to_string(project.MaxPageSize);
  values.site = core::Trim(project.Site);
  values.editor = core::Trim(project.Editor);
  values.comment_page = project.CommentPage != 0;
  values.include_rss = project.IncludeRSS != 0;
  values.entry_pages = project.EntryPages == 1;
  values.html5 = project.Html5 == 1;
  values.language = project.Language;
  values.hold_future = project.HoldFuture == 1;
  values.docs = core::Trim(project.Docs);
  values.articles = std::to_string(project.Articles);
  values.spell_language = project.SpellLanguage;
  values.file_names = project.FileNames;
  values.use_index = project.UseIndex != 0;
  values.image_width = std::max<int>(0, project.ImageWidth);
  values.post_ftp = project.PostFTP != 0;
  values.ftp_host = project.FtpHost;
  values.ftp_user = project.FtpUser;
  values.ftp_pass = project.FtpPass;
  values.ftp_path = project.FtpPath;
  return values;
}

void SetupValues::ApplyTo(core::ProjectSettings& project) const {
  project.OutputFolder = core::Trim(output_folder);
  project.Template = project.OutputFolder + core::kTemplateFile;
  project.DateFormat = static_cast<std::int16_t>(date_format);
  project.TimeFormat = static_cast<std::int16_t>(time_format);
  project.Title = core::Trim(title);
  project.IncludeRSS = include_rss ? 1 : 0;
  if (entry_pages || project.EntryPages != core::kNotStored)
    project.EntryPages = entry_pages ? 1 : 0;
  if (html5 || project.Html5 != core::kNotStored) project.Html5 = html5 ? 1 : 0;
  project.Language = core::Trim(language);
  if (hold_future || project.HoldFuture != core::kNotStored)
    project.HoldFuture = hold_future ? 1 : 0;
  project.PrintTime = print_time ? 1 : 0;
  project.Site = core::Trim(site);
  project.Docs = core::Trim(docs);
  project.Editor = core::Trim(editor);
  project.Master = project.Editor;
  project.CommentPage = comment_page ? 1 : 0;
  project.MaxPageSize = LeadingNumber(page_size);
  project.Articles = LeadingNumber(articles);
  if (separator >= 0) project.Separator = static_cast<std::int16_t>(separator);
  project.PostFTP = post_ftp ? 1 : 0;
  project.FtpHost = core::Trim(ftp_host);
  project.FtpUser = core::Trim(ftp_user);
  project.FtpPass = core::Trim(ftp_pass);
  project.FtpPath = core::Trim(ftp_path);
  project.UseIndex = use_index ? 1 : 0;
  project.ImageWidth = static_cast<std::int16_t>(image_width);
  project.FileNames = file_names;
  project.SpellLanguage = spell_language;
}

std::string SetupValues::Missing() const { return MissingRequirement(output_folder, title); }

}  // namespace quill::ui
