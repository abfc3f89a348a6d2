#include "site/entry_markup.h"

#include <cstdlib>

#include "core/text.h"
#include "site/feed_text.h"
#include "site/stamp_format.h"
#include "site/xml_text.h"

namespace quill::site {
namespace {

// Whether a title has something to read: a letter or digit, or a character above ASCII that
// is neither punctuation nor a symbol (XmlText has made those references; the references XML
// names itself are all punctuation).
bool HoldsWords(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    if (c != '&') continue;
    const std::size_t end = text.find(';', at);
    if (end == std::string_view::npos) return false;
    if (text[at + 1] == '#') {
      const unsigned long code =
          std::strtoul(std::string(text.substr(at + 2, end - at - 2)).c_str(), nullptr, 10);
      if (code >= 0xC0 && code != 0xD7 && code != 0xF7 && (code < 0x2000 || code > 0x2BFF)) {
        return true;
      }
    }
    at = end;
  }
  return false;
}

constexpr std::string_view kBlockTags[] = {
    "div", "p",  "ul", "ol", "li", "dl",  "blockquote", "h1",     "h2",
    "h3",  "h4", "h5", "h6", "hr", "pre", "table",      "figure", "center",
};

// Whether the line begins (after blanks) with the opening or closing tag of a block.
bool StartsWithBlockTag(std::string_view line) {
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos || line[start] != '<') return false;
  std::size_t at = start + 1;
  if (at < line.size() && line[at] == '/') ++at;
  for (const std::string_view tag : kBlockTags) {
    if (line.size() - at < tag.size() ||
        !core::EqualsIgnoringCase(line.substr(at, tag.size()), tag)) {
      continue;
    }
    const std::size_t end = at + tag.size();
    if (end == line.size()) return true;
    const char next = line[end];
    if (next == '>' || next == '/' || next == ' ' || next == '\t') return true;
  }
  return false;
}

// The stamp as a <time> element's datetime: a local date and time.
std::string DateTimeText(const core::Stamp& stamp) {
  std::string text = stamp.ToText();
  if (text.size() > 10) text[10] = 'T';
  return text;
}

}  // namespace

EntryLines WriteEntryMarkup(core::TextWriter& writer, const core::ProjectSettings& settings,
                            const PageStyle& style, const core::Stamp& stamp,
                            std::string_view content, bool styled, std::string_view link) {
  std::string date = FormatEntryStamp(settings, stamp, true);
  if (style.html5) date = "<time datetime=\"" + DateTimeText(stamp) + "\">" + date + "</time>";
  EntryLines written;
  if (!link.empty()) {
    const std::string opening = "<a href=\"" + FileAddressText(link) + "\">";
    written.link_bytes = opening.size() + 4;
    date = opening + date + "</a>";
  }
  const auto line = [&](std::string_view open, std::string_view text, std::string_view close) {
    std::string bytes(open);
    bytes += text;
    bytes += close;
    writer.WriteLine(bytes);
  };
  if (!styled) {
    line(style.plain_date_open, date, style.plain_date_close);
    written.lines = 1 + WriteEntryText(writer, style, content);
    return written;
  }
  writer.WriteLine(style.entry_open);
  line(style.date_open, date, style.date_close);
  writer.WriteLine(style.text_open);
  written.lines = 4 + WriteEntryText(writer, style, content);
  writer.WriteLine(style.entry_close);
  return written;
}

int WriteEntryText(core::TextWriter& writer, const PageStyle& style, std::string_view text) {
  if (style.html5) return WriteBlockParagraphs(writer, text);
  WriteEntryParagraphs(writer, text);
  return 1;
}

int WriteBlockParagraphs(core::TextWriter& writer, std::string_view text) {
  int lines = 0;
  core::ForEachLine(text, [&](std::string_view line) {
    if (line.find_first_not_of(" \t") == std::string_view::npos) return;
    const bool block = StartsWithBlockTag(line);
    if (!block) writer.WriteText("<p>");
    writer.WriteText(line);
    if (!block) writer.WriteText("</p>");
    writer.EndLine();
    ++lines;
  });
  return lines;
}

void WriteEntryParagraphs(core::TextWriter& writer, std::string_view text) {
  writer.WriteText("<p>");
  bool first = true;
  core::ForEachLine(text, [&](std::string_view line) {
    if (!first) writer.WriteText("</p><p>");
    first = false;
    writer.WriteText(line);
  });
  writer.WriteText("</p>");
  writer.EndLine();
}

std::string EntryDescription(const PageStyle& style, std::string_view content) {
  constexpr std::size_t kLength = 150;
  constexpr std::size_t kDescriptionPiece = 64;  // a long entry is read no further
  if (!style.html5) return {};
  std::string plain;
  PlainTextPieces::ForEach(content, [&](std::string_view piece) {
    for (const char c : piece) {
      const bool blank = c == ' ' || c == '\t';
      if (blank && (plain.empty() || plain.back() == ' ')) continue;
      plain += blank ? ' ' : c;
    }
    return plain.size() <= kLength;
  }, kDescriptionPiece);
  if (plain.size() > kLength) {
    std::size_t cut = plain.rfind(' ', kLength);
    if (cut == std::string::npos || cut == 0) {
      cut = kLength;
      while (cut > 0 && (static_cast<unsigned char>(plain[cut]) & 0xC0) == 0x80) --cut;
    }
    plain.resize(cut);
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    plain += "\u2026";
  } else {
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
  }
  const std::string text = XmlText(plain);
  return HoldsWords(text) ? style.encode(AttributeText(text)) : std::string();
}

std::string EntryTitleText(std::string_view content) {
  std::string title = XmlText(FeedItemTitle(content));
  if (!HoldsWords(title)) title.clear();
  return title;
}

}  // namespace quill::site

namespace quill::site {

std::string SideNavigation(const PageStyle& style, std::string_view newer, std::string_view blog,
                           std::string_view archive, std::string_view older) {
  std::string block(style.nav_open);
  const auto item = [&](std::string_view target, std::string_view caption) {
    block += "\r\n";
    if (target.empty()) {
      block += style.nav_none;
      return;
    }
    block += style.nav_item_open;
    block += "<a href=\"" + FileAddressText(target) + "\">";
    block += caption;
    block += "</a>";
    block += style.nav_item_close;
  };
  item(newer, style.newer_caption);
  item(blog, style.blog_caption);
  if (!archive.empty()) item(archive, style.archive_caption);
  item(older, style.older_caption);
  block += "\r\n";
  block += style.nav_close;
  return block;
}

}  // namespace quill::site
