#pragma once

#include <cstdint>
#include <string>

namespace quill::core {

// The value a setting added after the first release holds while the project has none stored:
// such a project was made before the setting existed, and the setting is off for it.
inline constexpr std::int16_t kNotStored = -1;

// Every setting of the open project. Each stored field is named after its registry value and
// starts at the default a missing or unreadable value loads as.
struct ProjectSettings {
  std::string ProjectName;  // the project key's last component

  std::string Template;  // full path of the page template; its folder is the output folder
  std::string Title;     // blog title, also the name of the entries table
  std::int16_t DateFormat = 0;
  std::int16_t TimeFormat = 1;
  std::int16_t Separator = 1;
  std::int16_t MaxPageSize = 25;  // in units of 1024 characters
  std::int16_t IncludeRSS = 0;
  std::int16_t CommentPage = 0;
  std::string Site;
  std::string Docs;  // web address of the published blog
  std::string Editor;
  std::string Master;
  std::int16_t Articles = 10;
  std::int32_t Shading = 14737632;  // 0xE0E0E0
  // The system colour for button text, 0x80000012: a Windows colour with the top bit set.
  std::int32_t FontColor = static_cast<std::int32_t>(0x80000012u);
  std::int16_t PrintTime = 1;
  std::int16_t PostFTP = 0;
  std::string FtpHost;
  std::string FtpUser;
  std::string FtpPass;
  std::string FtpPath;
  std::int16_t UseIndex = 1;
  std::string FileNames = "blog";
  // 1: every entry gets a page of its own, with an archive and a sitemap. kNotStored: off, and
  // nothing of it is looked for in the output folder; any other value: off, and what an
  // earlier build made of it goes.
  std::int16_t EntryPages = kNotStored;
  // 1: HTML5 support files in UTF-8, class markup and phone-ready stylesheets. kNotStored or
  // any other value: the classic pages.
  std::int16_t Html5 = kNotStored;
  // The pages' language (<html lang>, and the feed's in HTML5 projects); empty: "en".
  std::string Language;
  // 1: an entry dated later than the moment of a build stays off the site until a build after
  // its time. Anything else: every entry is published at once.
  std::int16_t HoldFuture = kNotStored;
  // Pictures wider than this many pixels are shrunk as they come into the output folder;
  // 0 (or less) keeps every picture as it is.
  std::int16_t ImageWidth = 1600;
  // The dictionary the editor checks the spelling with ("en_US"); "none": no checking; empty
  // (none stored): the system locale's language, else the first dictionary installed.
  std::string SpellLanguage;

  // "YYMMDD" and "HHNNSS" stamps in local time, compared as text.
  std::string OutDate, OutTime;  // site last generated
  std::string SavDate, SavTime;  // entry last saved or re-dated
  std::string FtpDate, FtpTime;  // site last uploaded; only the uploader writes these

  // Derived at every load.
  std::string OutputFolder;  // Template up to and including its last directory separator
  std::string DatabasePath;  // OutputFolder + "Blog.mdb"
};

}  // namespace quill::core
