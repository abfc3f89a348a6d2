#include "interchange/export_files.h"

#include <cstdio>
#include <cstdlib>

#include "core/html_references.h"
#include "core/text.h"
#include "core/utf8_writer.h"
#include "site/feed_text.h"
#include "site/text_digest.h"

namespace quill::interchange {

std::string QuotedValue(std::string_view text) {
  std::string clean;
  core::AppendCleanUtf8(clean, core::OneLine(text));
  std::string out;
  for (const char c : clean) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
      out += code;
    } else {
      out += c;
    }
  }
  return "\"" + out + "\"";
}

namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first));
}

std::string BaseAddress(const core::ProjectSettings& settings) {
  const std::string address = Trimmed(settings.Docs);
  return address.empty() ? "/" : address;
}

}  // namespace

std::string Rfc3339Text(const core::Stamp& stamp, int utc_offset_seconds) {
  const int minutes = std::abs(utc_offset_seconds) / 60;
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", stamp.year,
                stamp.month, stamp.day, stamp.hour, stamp.minute, stamp.second,
                utc_offset_seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return text;
}

std::string PostFileName(const core::Stamp& stamp, ExportLayout layout) {
  char name[40];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d-%02d%02d%02d%s", stamp.year, stamp.month,
                stamp.day, stamp.hour, stamp.minute, stamp.second,
                layout == ExportLayout::Hugo ? ".html" : ".md");
  return name;
}

std::string FrontMatter(const PostHeader& header, ExportLayout layout) {
  const std::string date = Rfc3339Text(header.stamp, header.utc_offset_seconds);
  if (layout == ExportLayout::Hugo) {
    return "---\ntitle: " + QuotedValue(header.title) + "\ndate: " + date + "\ndraft: false\n---\n";
  }
  std::string slug = PostFileName(header.stamp, layout);
  slug.resize(slug.size() - 3);
  return "+++\ntitle = " + QuotedValue(header.title) + "\ndate = " + date +
         "\ndraft = false\nslug = " + QuotedValue(slug) + "\n+++\n";
}

std::string ExportTitle(std::string_view entry) {
  const std::size_t start = entry.find_first_not_of(" \t\r\n");
  if (start != std::string_view::npos) entry.remove_prefix(start);
  if (entry.size() > 4 && entry[0] == '<' && (entry[1] == 'h' || entry[1] == 'H') &&
      entry[2] >= '1' && entry[2] <= '6' && entry[3] == '>') {
    const std::string_view first_line = entry.substr(0, entry.find_first_of("\r\n"));
    const std::string close = std::string("</") + entry[1] + entry[2] + ">";
    if (const std::size_t end = first_line.find(close); end != std::string_view::npos) {
      std::string title =
          Trimmed(core::DecodeReferences(site::StripMarkup(first_line.substr(4, end - 4))));
      if (!title.empty()) return title;
    }
  }
  return Trimmed(core::DecodeReferences(site::FeedItemTitle(entry)));
}

std::string ConfigFileName(ExportLayout layout) {
  return layout == ExportLayout::Hugo ? "hugo.toml" : "config.toml";
}

std::string ConfigText(const core::ProjectSettings& settings, ExportLayout layout) {
  if (layout == ExportLayout::Hugo) {
    // Hugo builds future-dated content only when asked, as the blog did unless it held it back.
    const bool held = settings.HoldFuture == 1;
    return "baseURL = " + QuotedValue(BaseAddress(settings)) +
           "\ntitle = " + QuotedValue(settings.Title) +
           (held ? "\n# The blog kept entries dated in the future off the site until their time."
                   "\nbuildFuture = false\n"
                 : "\n# The blog showed entries dated in the future too.\nbuildFuture = true\n");
  }
  return "base_url = " + QuotedValue(BaseAddress(settings)) +
         "\ntitle = " + QuotedValue(settings.Title) + "\n";
}

std::string SectionIndexText(const core::ProjectSettings& settings) {
  return "+++\ntitle = " + QuotedValue(settings.Title) + "\nsort_by = \"date\"\n+++\n";
}

std::string ReadmeText(const core::ProjectSettings& settings, ExportLayout layout) {
  const bool hugo = layout == ExportLayout::Hugo;
  std::string text = "The entries of the blog \"" + core::OneLine(settings.Title) +
                     "\", exported by Quillsmith for " + (hugo ? "Hugo" : "Zola") + ".\n\n";
  text += hugo ? "content/posts/  one file per entry, named after its date and time\n"
                 "                (YYYY-MM-DD-HHMMSS.html): front matter (title, date, draft)\n"
                 "                between --- lines, then the entry as the blog's pages show it\n"
               : "content/posts/  one file per entry, named after its date and time\n"
                 "                (YYYY-MM-DD-HHMMSS.md): front matter (title, date, draft, slug)\n"
                 "                between +++ lines, then the entry as the blog's pages show it,\n"
                 "                HTML that Markdown passes through untouched;\n"
                 "                _index.md is the section that lists them, newest first\n";
  text +=
      "static/         the pictures and files the entries link to; the site serves them\n"
      "                from its root, so the entries link to them as /name\n";
  text += hugo ? "hugo.toml       the site's address and title\n\n"
                 "Hugo builds the site with a theme: add one, then run \"hugo\" in this folder.\n"
               : "config.toml     the site's address and title\n\n"
                 "Zola builds the site with templates: add a theme, then run \"zola build\" in\n"
                 "this folder.\n";
  return text;
}

}  // namespace quill::interchange
