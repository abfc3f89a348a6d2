#include "check/page_scan.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "core/text.h"
#include "core/utf8.h"
#include "core/win1252_writer.h"

namespace quill::check {
namespace {

constexpr std::string_view kBlockOpen = "<div id=\"blog\">";
constexpr std::string_view kDateOpen = "<div class=\"date\">";
constexpr std::string_view kTextOpen = "<div class=\"stuff\">";
constexpr std::string_view kBlockClose = "</div></div>";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }


std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from = 0) {
  if (what.empty()) return from <= text.size() ? from : std::string_view::npos;
  const char first = LowerAscii(what[0]);
  for (std::size_t i = from; i + what.size() <= text.size(); ++i) {
    if (LowerAscii(text[i]) == first && core::EqualsIgnoringCase(text.substr(i, what.size()), what)) {
      return i;
    }
  }
  return std::string_view::npos;
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      ++at;
      continue;
    }
    char32_t c;
    const std::size_t length = core::DecodeUtf8(bytes, at, c);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

// The encoding a browser would read the page in: what its start declares (a byte order
// mark, a charset), else UTF-8 when the bytes are valid UTF-8, else Windows-1252 — which is
// also what browsers make of "iso-8859-1" and the other single-byte Western names.
bool ReadsAsUtf8(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return true;
  const std::string_view start = bytes.substr(0, 1024);
  const std::size_t at = FindNoCase(start, "charset=");
  if (at != std::string_view::npos) {
    std::string_view name = start.substr(at + 8);
    while (!name.empty() && (name[0] == '"' || name[0] == '\'' || name[0] == ' ')) {
      name.remove_prefix(1);
    }
    return core::EqualsIgnoringCase(name.substr(0, 5), "utf-8") ||
           core::EqualsIgnoringCase(name.substr(0, 4), "utf8");
  }
  return IsValidUtf8(bytes);
}

// NUL is no character of a page: it is read as U+FFFD, as browsers read it.
bool IsPlainAscii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte != 0 && byte < 0x80;
}

// Straight into UTF-8, ASCII runs copied whole: every page of a classic site comes through
// here.
std::string Win1252ToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t ascii = at;
    while (ascii < bytes.size() && IsPlainAscii(bytes[ascii])) ++ascii;
    utf8.append(bytes.substr(at, ascii - at));
    if (ascii == bytes.size()) break;
    const char32_t c = core::FromWin1252(static_cast<unsigned char>(bytes[ascii]));
    core::AppendUtf8(utf8, c == 0 ? char32_t{0xFFFD} : c);
    at = ascii + 1;
  }
  return utf8;
}

struct Line {
  std::size_t start = 0;
  std::string_view text;  // without its line end
};

std::vector<Line> LinesOf(std::string_view bytes) {
  std::vector<Line> lines;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find('\n', at);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::size_t stop = end;
    if (stop > at && bytes[stop - 1] == '\r') --stop;
    lines.push_back({at, bytes.substr(at, stop - at)});
    at = next;
  }
  return lines;
}

// The date line's text without its markup, and the address its link leads to.
void ReadDateLine(std::string_view line, EntryBlock& block) {
  const std::size_t href = line.find("href=\"");
  if (href != std::string_view::npos) {
    const std::size_t end = line.find('"', href + 6);
    if (end != std::string_view::npos)
      block.link = std::string(line.substr(href + 6, end - href - 6));
  }
  bool in_tag = false;
  for (const char c : line) {
    if (c == '<') {
      in_tag = true;
    } else if (c == '>') {
      in_tag = false;
    } else if (!in_tag) {
      block.date += c;
    }
  }
}

// The lines that hold an entry's text, as the styled and the plain entry markup lay them.
std::vector<EntryBlock> FindEntries(const std::vector<Line>& lines) {
  std::vector<EntryBlock> blocks;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const std::string_view line = lines[k].text;
    EntryBlock block;
    if (line == kBlockOpen && k + 4 < lines.size() && lines[k + 1].text.starts_with(kDateOpen) &&
        lines[k + 2].text == kTextOpen && lines[k + 4].text == kBlockClose) {
      ReadDateLine(lines[k + 1].text, block);
      block.line = static_cast<int>(k + 4);
      k += 4;
    } else if (line.starts_with("<strong>") && line.ends_with("</strong>") &&
               lines[k + 1].text.starts_with("<p>") && lines[k + 1].text.ends_with("</p>")) {
      ReadDateLine(line, block);
      block.line = static_cast<int>(k + 2);
      k += 1;
    } else {
      continue;
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

// Collects what the parser reports of one piece of a page.
struct Collector {
  PageScan* scan = nullptr;
  htmlParserCtxtPtr context = nullptr;
  int entry = -1;
  int line = 0;  // the entry's own line; 0: count the parser's lines

  int CurrentLine() const { return line != 0 ? line : xmlSAX2GetLineNumber(context); }
  void Add(const char* value) { scan->references.push_back({value, CurrentLine(), entry}); }
};

// Names compared as the parser compares them: ASCII letters in either case. Asked several
// times of every attribute, so it answers in place.
bool Is(const xmlChar* name, const char* wanted) {
  if (name == nullptr) return false;
  for (;; ++name, ++wanted) {
    const char c = LowerAscii(static_cast<char>(*name));
    if (c != LowerAscii(*wanted)) return false;
    if (c == '\0') return true;
  }
}

void StartElement(void* data, const xmlChar* name, const xmlChar** attributes) {
  auto& collector = *static_cast<Collector*>(data);
  if (attributes == nullptr) return;
  const bool base = Is(name, "base");
  for (int i = 0; attributes[i] != nullptr; i += 2) {
    const xmlChar* attribute = attributes[i];
    const char* value = reinterpret_cast<const char*>(attributes[i + 1]);
    if (value == nullptr) value = "";
    if (Is(attribute, "id") || (Is(attribute, "name") && Is(name, "a"))) {
      collector.scan->anchors.emplace_back(value);
    } else if (Is(attribute, "href") && base) {
      if (collector.scan->base.empty() && collector.entry < 0) collector.scan->base = value;
    } else if (Is(attribute, "href") || Is(attribute, "src") || Is(attribute, "action")) {
      collector.Add(value);
    } else if (Is(attribute, "srcset")) {
      for (const std::string& address : SrcsetAddresses(value)) collector.Add(address.c_str());
    }
  }
}

void Silent(void*, xmlErrorPtr) {}

// Parses one piece of a page, already in UTF-8.
void Parse(std::string_view utf8, Collector& collector) {
  htmlSAXHandler handler;
  std::memset(&handler, 0, sizeof handler);
  handler.startElement = StartElement;
  handler.initialized = XML_SAX2_MAGIC;
  handler.serror = Silent;
  const auto context = std::unique_ptr<htmlParserCtxt, void (*)(htmlParserCtxtPtr)>(
      htmlCreatePushParserCtxt(&handler, &collector, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8),
      htmlFreeParserCtxt);
  if (!context) return;
  htmlCtxtUseOptions(context.get(), HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                        HTML_PARSE_NONET | HTML_PARSE_NODEFDTD |
                                        HTML_PARSE_IGNORE_ENC);
  collector.context = context.get();
  // The parser takes sizes as int: a page past 2 GB goes in pieces.
  constexpr std::size_t kPiece = 1 << 30;
  do {
    const std::size_t size = std::min(utf8.size(), kPiece);
    htmlParseChunk(context.get(), utf8.data(), static_cast<int>(size), size == utf8.size());
    utf8.remove_prefix(size);
  } while (!utf8.empty());
}

}  // namespace

std::vector<std::string> SrcsetAddresses(std::string_view srcset) {
  const auto space = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
  };
  std::vector<std::string> addresses;
  std::size_t at = 0;
  while (at < srcset.size()) {
    while (at < srcset.size() && (space(srcset[at]) || srcset[at] == ',')) ++at;
    if (at >= srcset.size()) break;
    std::size_t end = at;
    while (end < srcset.size() && !space(srcset[end])) ++end;
    std::string_view address = srcset.substr(at, end - at);
    at = end;
    if (address.ends_with(',')) {
      while (address.ends_with(',')) address.remove_suffix(1);
    } else {
      // Descriptors run to the next comma outside parentheses.
      int depth = 0;
      while (at < srcset.size() && (srcset[at] != ',' || depth > 0)) {
        if (srcset[at] == '(') ++depth;
        if (srcset[at] == ')' && depth > 0) --depth;
        ++at;
      }
    }
    if (!address.empty()) addresses.emplace_back(address);
  }
  return addresses;
}

PageScan ScanPage(std::string_view bytes) {
  std::string converted;
  if (!ReadsAsUtf8(bytes)) {
    converted = Win1252ToUtf8(bytes);
    bytes = converted;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);

  PageScan scan;
  const std::vector<Line> lines = LinesOf(bytes);
  scan.entries = FindEntries(lines);

  // The page without its entries' text, each entry's line left empty so lines keep their
  // numbers.
  std::string frame;
  frame.reserve(bytes.size());
  std::size_t copied = 0;
  for (const EntryBlock& block : scan.entries) {
    const Line& line = lines[static_cast<std::size_t>(block.line - 1)];
    frame.append(bytes.substr(copied, line.start - copied));
    copied = line.start + line.text.size();
  }
  frame.append(bytes.substr(copied));

  Collector collector{&scan};
  Parse(frame, collector);
  for (std::size_t i = 0; i < scan.entries.size(); ++i) {
    const int number = scan.entries[i].line;
    const std::string_view text = lines[static_cast<std::size_t>(number - 1)].text;
    // Text without a single tag holds no reference and no anchor.
    if (text.find('<') == std::string_view::npos) continue;
    Collector entry{&scan, nullptr, static_cast<int>(i), number};
    Parse(text, entry);
  }
  std::stable_sort(scan.references.begin(), scan.references.end(),
                   [](const Reference& a, const Reference& b) { return a.line < b.line; });
  return scan;
}

namespace {

// Collects the addresses of a feed or sitemap.
struct FeedCollector {
  xmlParserCtxtPtr context = nullptr;
  std::vector<Reference> references;
  bool in_address = false;
  std::string text;
  int line = 0;
};

bool IsAddressElement(const xmlChar* name, const xmlChar** attributes) {
  if (Is(name, "link") || Is(name, "loc")) return true;
  if (!Is(name, "guid")) return false;
  for (int i = 0; attributes != nullptr && attributes[i] != nullptr; i += 2) {
    if (Is(attributes[i], "isPermaLink") && attributes[i + 1] != nullptr &&
        Is(attributes[i + 1], "true")) {
      return true;
    }
  }
  return false;
}

void FeedStart(void* data, const xmlChar* name, const xmlChar** attributes) {
  auto& feed = *static_cast<FeedCollector*>(data);
  const int line = xmlSAX2GetLineNumber(feed.context);
  if (Is(name, "enclosure")) {
    for (int i = 0; attributes != nullptr && attributes[i] != nullptr; i += 2) {
      if (Is(attributes[i], "url") && attributes[i + 1] != nullptr) {
        feed.references.push_back({reinterpret_cast<const char*>(attributes[i + 1]), line});
      }
    }
  }
  feed.in_address = IsAddressElement(name, attributes);
  feed.text.clear();
  feed.line = line;
}

void FeedText(void* data, const xmlChar* text, int length) {
  auto& feed = *static_cast<FeedCollector*>(data);
  if (feed.in_address) feed.text.append(reinterpret_cast<const char*>(text), length);
}

void FeedEnd(void* data, const xmlChar*) {
  auto& feed = *static_cast<FeedCollector*>(data);
  if (!feed.in_address) return;
  feed.in_address = false;
  std::string_view address = feed.text;
  while (!address.empty() && std::isspace(static_cast<unsigned char>(address.front()))) {
    address.remove_prefix(1);
  }
  while (!address.empty() && std::isspace(static_cast<unsigned char>(address.back()))) {
    address.remove_suffix(1);
  }
  feed.references.push_back({std::string(address), feed.line});
}

}  // namespace

std::vector<Reference> ScanFeed(std::string_view bytes) {
  xmlSAXHandler handler;
  std::memset(&handler, 0, sizeof handler);
  handler.startElement = FeedStart;
  handler.endElement = FeedEnd;
  handler.characters = FeedText;
  handler.cdataBlock = FeedText;
  handler.initialized = 1;  // the first SAX interface: names as written, errors unheard
  FeedCollector feed;
  const auto context = std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)>(
      xmlCreatePushParserCtxt(&handler, &feed, nullptr, 0, nullptr), xmlFreeParserCtxt);
  if (!context) return {};
  xmlCtxtUseOptions(context.get(),
                    XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  feed.context = context.get();
  constexpr std::size_t kPiece = 1 << 30;
  do {
    const std::size_t size = std::min(bytes.size(), kPiece);
    xmlParseChunk(context.get(), bytes.data(), static_cast<int>(size), size == bytes.size());
    bytes.remove_prefix(size);
  } while (!bytes.empty());
  return std::move(feed.references);
}

}  // namespace quill::check
