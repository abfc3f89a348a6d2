#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/project_settings.h"
#include "core/stamp.h"
#include "core/text_writer.h"
#include "site/page_style.h"

namespace quill::site {

// What writing one entry took.
struct EntryLines {
  int lines = 0;
  std::size_t link_bytes = 0;  // of the link around the date, which the page size does not count
};

// Writes one entry as the pages show it: its date line, a link to its own page when `link`
// names one, and its text as one line of paragraphs, each line break closing one and opening
// the next. `styled`: the blog stylesheet is there, and the entry gets its division lines.
EntryLines WriteEntryMarkup(core::TextWriter& writer, const core::ProjectSettings& settings,
                            const PageStyle& style, const core::Stamp& stamp,
                            std::string_view content, bool styled, std::string_view link = {});

// The entry's text as the style writes it: the classic one line of paragraphs
// (WriteEntryParagraphs), or in HTML5 pages WriteBlockParagraphs. Returns the lines written.
int WriteEntryText(core::TextWriter& writer, const PageStyle& style, std::string_view text);

// The entry's text for HTML5 pages, one line of the page for each of its lines: a line that
// begins with a block-level tag (<div, <p, <ul, <ol, <li, <dl, <blockquote, <h1 to <h6, <hr,
// <pre, <table, <figure, <center, or the closing tag of one of these) as it stands, every
// other line as a paragraph; an empty line writes nothing. The user's markup is never
// rewritten. Returns the lines written.
int WriteBlockParagraphs(core::TextWriter& writer, std::string_view text);

// The entry's text as the classic pages show it: one line of paragraphs, each line break closing
// one and opening the next. Written piece by piece, so a long entry is never copied whole; the
// writer decides the encoding (a Windows-1252 page, a UTF-8 file).
void WriteEntryParagraphs(core::TextWriter& writer, std::string_view text);

// The entry's short title (its first sentence or words) as page text: plain ASCII, with
// character references for the rest, so no text breaks the markup around it. Empty when it
// holds no letter or digit (an empty entry, a picture, punctuation alone).
std::string EntryTitleText(std::string_view content);

// The description of an HTML5 entry page: the entry's opening words (its plain text, up to
// about 150 characters, cut between words with "…" when there is more) as an attribute value
// in the style's character set. Empty for classic pages and for an entry without words.
std::string EntryDescription(const PageStyle& style, std::string_view content);

// The navigation block of an entry or an archive page, its lines joined by CR LF: the newer
// page (or the mark where there is none), the first blog page, the archive's first page
// (left out when `archive` is empty), the older page (or the mark).
std::string SideNavigation(const PageStyle& style, std::string_view newer, std::string_view blog,
                           std::string_view archive, std::string_view older);

}  // namespace quill::site
