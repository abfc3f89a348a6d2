#pragma once

#include <string>
#include <string_view>

#include "core/project_settings.h"
#include "site/page_charset.h"

namespace quill::site {

// The markup the generator writes around what the user wrote, for one style of page: each
// entry, the navigation of entry and archive pages, and the archive's lists. Another style
// (other markup, another character set) is another table of the same kind.
struct PageStyle {
  // The page's character set, and the program's own (UTF-8) text in it.
  PageCharset charset;
  PageEncoder encode;

  // HTML5 pages: an entry's date in a <time> element, and each line of its text a block or a
  // paragraph of its own (WriteEntryText); classic pages keep one line of paragraphs.
  bool html5;

  // An entry with the blog stylesheet present: its lines around the date and the text.
  std::string_view entry_open;
  std::string_view date_open;
  std::string_view date_close;
  std::string_view text_open;
  std::string_view entry_close;
  // An entry without the stylesheet: its date line.
  std::string_view plain_date_open;
  std::string_view plain_date_close;

  // The navigation block: its first and last line, an item around its link, and the mark
  // where there is nothing newer or older.
  std::string_view nav_open;
  std::string_view nav_again_open;  // the first line of the page's later blocks
  std::string_view nav_close;
  std::string_view nav_item_open;
  std::string_view nav_item_close;
  std::string_view nav_none;
  // What a single blog page without comments has instead of a block.
  std::string_view nav_spacer;
  // The captions of its links.
  std::string_view newer_caption;
  std::string_view older_caption;
  std::string_view blog_caption;
  std::string_view archive_caption;

  // Between an entry's title and the template's own title in the page's title; also between
  // an archive line's date and title.
  std::string_view dash;
  std::string_view archive_title;  // the archive pages' title, before the dash

  // The archive: around all of it, a year's heading, a month's heading and list, each line.
  std::string_view archive_open;
  std::string_view archive_close;
  std::string_view year_open;
  std::string_view year_close;
  std::string_view years_open;  // the list of years on the first archive page
  std::string_view years_close;
  std::string_view month_open;
  std::string_view month_close;
  std::string_view list_open;
  std::string_view list_close;
  std::string_view item_open;
  std::string_view item_close;
};

// The classic pages: Windows-1252 text and the markup the blog pages have always had.
extern const PageStyle kClassicStyle;
// HTML5 pages: no id twice on a page, the date as a <time>, no block inside a paragraph.
extern const PageStyle kHtml5Style;

// The style of a project's pages (HTML5 with Html5 "1", else classic), in the character set
// of its template.
PageStyle StyleFor(const core::ProjectSettings& settings, PageCharset charset);

// A later navigation block of a page: the first one with the style's later opening.
std::string LaterNavigation(const PageStyle& style, std::string_view first);

}  // namespace quill::site
