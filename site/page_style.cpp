#include "site/page_style.h"

#include "core/win1252_writer.h"

namespace quill::site {

const PageStyle kClassicStyle = {
    .charset = PageCharset::Windows1252,
    .encode = &core::ToWin1252,
    .html5 = false,
    .entry_open = "<div id=\"blog\">",
    .date_open = "<div class=\"date\">",
    .date_close = "</div>",
    .text_open = "<div class=\"stuff\">",
    .entry_close = "</div></div>",
    .plain_date_open = "<strong>",
    .plain_date_close = "</strong>",
    .nav_open = "<div id=\"blogNav\"><ul>",
    .nav_again_open = "<div id=\"blogNav\"><ul>",
    .nav_close = "</ul></div>",
    .nav_item_open = "<li>[ ",
    .nav_item_close = " ]</li>",
    .nav_none = "<li>[ ----- ]</li>",
    .nav_spacer = "&nbsp;<br />",
    .newer_caption = "next",
    .older_caption = "prev",
    .blog_caption = "blog",
    .archive_caption = "archive",
    .dash = " \u2013 ",
    .archive_title = "Archive",
    .archive_open = "<div id=\"archive\">",
    .archive_close = "</div>",
    .year_open = "<h2>",
    .year_close = "</h2>",
    .years_open = "<ul class=\"years\">",
    .years_close = "</ul>",
    .month_open = "<h3>",
    .month_close = "</h3>",
    .list_open = "<ul>",
    .list_close = "</ul>",
    .item_open = "<li>",
    .item_close = "</li>",
};

// The classic markup but for what HTML5 pages change: entries take a class instead of the
// repeated id, later navigation blocks no id, and void tags lose their slash.
const PageStyle kHtml5Style = [] {
  PageStyle style = kClassicStyle;
  style.html5 = true;
  style.entry_open = "<div class=\"blog\">";
  style.nav_open = "<div id=\"blogNav\" class=\"blogNav\"><ul>";
  style.nav_again_open = "<div class=\"blogNav\"><ul>";
  style.nav_spacer = "&nbsp;<br>";
  return style;
}();

PageStyle StyleFor(const core::ProjectSettings& settings, PageCharset charset) {
  PageStyle style = settings.Html5 == 1 ? kHtml5Style : kClassicStyle;
  style.charset = charset;
  style.encode = EncoderFor(charset);
  return style;
}

std::string LaterNavigation(const PageStyle& style, std::string_view first) {
  if (!first.starts_with(style.nav_open)) return std::string(first);
  std::string later(style.nav_again_open);
  later += first.substr(style.nav_open.size());
  return later;
}

}  // namespace quill::site
