#pragma once

#include <string>

#include "core/project_settings.h"

namespace quill::ui {

// What the setup dialog edits, as its fields hold it: text as the user typed it, choices as
// positions in their lists. The theme colours are not here: "Apply" gives them to the project
// at once.
struct SetupValues {
  // Basic
  std::string title;
  std::string output_folder;
  int date_format = 0;  // a position in the list, −1 for none
  int time_format = 1;
  int separator = 1;  // −1 when no mark is chosen: the project keeps its own
  bool print_time = true;
  std::string page_size;  // kilobytes
  // Adv
  std::string site;
  std::string editor;
  bool comment_page = false;
  bool include_rss = false;
  bool entry_pages = false;
  bool html5 = false;
  std::string language;  // empty: "en"
  bool hold_future = false;
  std::string docs;
  std::string articles;
  std::string spell_language;  // as stored: a language, "none", or empty for the default
  // Tools
  std::string file_names;
  bool use_index = true;
  int image_width = 1600;  // 0: pictures keep their size
  // FTP
  bool post_ftp = false;
  std::string ftp_host;
  std::string ftp_user;
  std::string ftp_pass;
  std::string ftp_path;

  // The fields as the dialog opens on the project: title, addresses and editor trimmed, the
  // FTP fields as stored, a stored choice outside its list as none.
  static SetupValues Of(const core::ProjectSettings& project);

  // Writes what the dialog saves into the project: text trimmed (the page file name is taken
  // as given), the template in the output folder, numbers read from the start of their
  // fields, the editor's address also as Master. The colours and stamps stay. Entry pages,
  // HTML5 pages and waiting entries left off stay without a stored value in a project that
  // had none.
  void ApplyTo(core::ProjectSettings& project) const;

  // What the Basic page still lacks before another page may show, on the fields as typed (so
  // a title of blanks passes); empty when nothing.
  std::string Missing() const;
};

}  // namespace quill::ui
