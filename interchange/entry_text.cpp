#include "interchange/entry_text.h"

#include "core/text.h"

namespace quill::interchange {
namespace {

constexpr std::string_view kBlank = " \t\r\n";

std::string_view Stripped(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlank) + 1 - first);
}

// Whether the content opens with a heading (of any level) that holds just the title.
bool BeginsWithTitle(std::string_view content, std::string_view title) {
  if (content.size() < 4 || content[0] != '<' || (content[1] != 'h' && content[1] != 'H') ||
      content[2] < '1' || content[2] > '6' || content[3] != '>') {
    return false;
  }
  const std::string_view rest = content.substr(4);
  if (!rest.starts_with(title)) return false;
  const std::string_view end = rest.substr(title.size());
  return end.size() >= 5 && end[0] == '<' && end[1] == '/' && (end[2] == 'h' || end[2] == 'H') &&
         end[3] == content[2] && end[4] == '>';
}

}  // namespace

std::string MarkupOfText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string EntryTextOf(std::string_view title, std::string_view content) {
  title = Stripped(title);
  content = Stripped(content);
  std::string text;
  if (!title.empty() && !BeginsWithTitle(content, title)) {
    text.reserve(title.size() + content.size() + 11);
    text += "<h2>";
    text += title;
    text += "</h2>";
    if (!content.empty()) text += "\n";
  }
  text += content;
  return core::ReplaceLineBreaks(text, "\r\n");
}

}  // namespace quill::interchange
