#include "site/page_frame.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/quill_error.h"
#include "core/text.h"
#include "site/page_template.h"

namespace quill::site {
namespace {

using core::QuillError;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string ReadWhole(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    throw QuillError("Cannot read the page template " + path + ": " + std::strerror(errno));
  }
  std::string bytes;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    bytes.append(buffer, n);
  }
  if (std::ferror(file.get())) {
    throw QuillError("Cannot read the page template " + path + ": " + std::strerror(errno));
  }
  return bytes;
}

// Where the text of the first <title> element starts and ends, or npos for both.
std::pair<std::size_t, std::size_t> TitleSpan(std::string_view bytes) {
  const std::string lower = core::AsciiLower(bytes);
  for (std::size_t at = lower.find("<title"); at != std::string::npos;
       at = lower.find("<title", at + 1)) {
    const char after = at + 6 < lower.size() ? lower[at + 6] : '\0';
    if (after != '>' && after != ' ' && after != '\t' && after != '\r' && after != '\n') continue;
    const std::size_t open_end = lower.find('>', at);
    if (open_end == std::string::npos) break;
    const std::size_t close = lower.find("</title", open_end);
    if (close == std::string::npos) break;
    return {open_end + 1, close};
  }
  return {std::string::npos, std::string::npos};
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// Where the value of attribute `name` stands in a lower-case tag (inside its quotes, if any);
// npos for both when the tag has no such attribute.
std::pair<std::size_t, std::size_t> AttributeSpan(std::string_view tag, std::string_view name) {
  for (std::size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
    if (at == 0 || !IsBlank(tag[at - 1])) continue;
    std::size_t i = at + name.size();
    while (i < tag.size() && IsBlank(tag[i])) ++i;
    if (i == tag.size() || tag[i] != '=') continue;
    for (++i; i < tag.size() && IsBlank(tag[i]);) ++i;
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
      const std::size_t close = tag.find(tag[i], i + 1);
      if (close == std::string_view::npos) break;
      return {i + 1, close};
    }
    std::size_t end = i;
    while (end < tag.size() && !IsBlank(tag[end]) && tag[end] != '>') ++end;
    return {i, end};
  }
  return {std::string::npos, std::string::npos};
}

// Where the content of the first <meta name="description"> stands, or npos for both.
std::pair<std::size_t, std::size_t> DescriptionSpan(std::string_view bytes) {
  const std::string lower = core::AsciiLower(bytes);
  for (std::size_t at = lower.find("<meta"); at != std::string::npos;
       at = lower.find("<meta", at + 5)) {
    const std::size_t end = lower.find('>', at);
    if (end == std::string::npos) break;
    const std::string_view tag = std::string_view(lower).substr(at, end - at);
    const auto [name_start, name_end] = AttributeSpan(tag, "name");
    if (name_start == std::string::npos ||
        tag.substr(name_start, name_end - name_start) != "description") {
      continue;
    }
    const auto [start, stop] = AttributeSpan(tag, "content");
    if (start != std::string::npos) return {at + start, at + stop};
  }
  return {std::string::npos, std::string::npos};
}

}  // namespace

PageFrame::PageFrame(const std::string& template_path, std::string_view blog_title) {
  const std::string bytes = ReadWhole(template_path);
  charset_ = DeclaredCharset(bytes);
  const std::string title = EncoderFor(charset_)(blog_title);
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find('\n', at);
    const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (end == std::string::npos) end = bytes.size();
    if (end > at && bytes[end - 1] == '\r') --end;
    const std::string_view line = std::string_view(bytes).substr(at, end - at);
    at = next;
    if (line.find(kTitlePlaceholder) != std::string_view::npos) {
      Add(Kind::Text, core::ReplaceAll(line, kTitlePlaceholder, title) + "\r\n");
    } else if (line.find(kNavigationPlaceholder) != std::string_view::npos) {
      std::size_t from = 0;
      for (std::size_t hit; (hit = line.find(kNavigationPlaceholder, from)) != line.npos;) {
        Add(Kind::Text, std::string(line.substr(from, hit - from)));
        Add(Kind::Navigation);
        from = hit + kNavigationPlaceholder.size();
      }
      Add(Kind::Text, std::string(line.substr(from)) + "\r\n");
    } else if (line.find(kContentPlaceholder) != std::string_view::npos) {
      Add(Kind::Content);
    } else {
      Add(Kind::Text, std::string(line) + "\r\n");
    }
  }
  CutHeadTitle();
  CutDescription();
}

void PageFrame::Add(Kind kind, std::string bytes) {
  if (kind == Kind::Text && !pieces_.empty() && pieces_.back().kind == Kind::Text) {
    pieces_.back().bytes += bytes;
    return;
  }
  if (kind == Kind::Content) ++content_lines_;
  if (kind == Kind::Navigation) ++navigation_blocks_;
  pieces_.push_back({kind, std::move(bytes)});
}

// The first <title> counts only when it opens and closes within one stretch of plain text.
void PageFrame::CutHeadTitle() {
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    if (pieces_[i].kind != Kind::Text) continue;
    const std::string lower = core::AsciiLower(pieces_[i].bytes);
    if (lower.find("<title") == std::string::npos) continue;
    const auto [start, end] = TitleSpan(pieces_[i].bytes);
    if (start == std::string::npos) return;
    Split(i, Kind::HeadTitle, start, end);
    return;
  }
}

// The first description that stands within one stretch of plain text.
void PageFrame::CutDescription() {
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    if (pieces_[i].kind != Kind::Text) continue;
    const auto [start, end] = DescriptionSpan(pieces_[i].bytes);
    if (start == std::string::npos) continue;
    Split(i, Kind::Description, start, end);
    return;
  }
}

// Piece i becomes three: its text before `start`, a piece of `kind` up to `end`, the rest.
void PageFrame::Split(std::size_t i, Kind kind, std::size_t start, std::size_t end) {
  std::string bytes = std::move(pieces_[i].bytes);
  const auto at = pieces_.begin() + static_cast<std::ptrdiff_t>(i);
  pieces_.erase(at);
  pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i),
                 {{Kind::Text, bytes.substr(0, start)},
                  {kind, bytes.substr(start, end - start)},
                  {Kind::Text, bytes.substr(end)}});
}

std::string_view PageFrame::TitleText() const {
  for (const Piece& piece : pieces_) {
    if (piece.kind == Kind::HeadTitle) return piece.bytes;
  }
  return {};
}

std::uint64_t PageFrame::Size(const Fill& fill) const {
  std::uint64_t size = 0;
  if (navigation_blocks_ > 0) {
    size = fill.navigation.size() + (navigation_blocks_ - 1) * Later(fill).size();
  }
  for (const Piece& piece : pieces_) {
    if (piece.kind == Kind::Text) size += piece.bytes.size();
    if (piece.kind == Kind::HeadTitle || piece.kind == Kind::Description) {
      size += Filled(piece, fill).size();
    }
  }
  return size;
}

std::string_view PageFrame::Later(const Fill& fill) {
  return fill.later_navigation.empty() ? fill.navigation : fill.later_navigation;
}

std::string_view PageFrame::Filled(const Piece& piece, const Fill& fill) {
  const std::string* text = piece.kind == Kind::HeadTitle ? fill.head_title : fill.description;
  return text != nullptr ? std::string_view(*text) : std::string_view(piece.bytes);
}

void PageFrame::Write(core::ByteSink& sink, const Fill& fill,
                      const std::function<void(core::ByteSink&, std::size_t)>& content) const {
  std::size_t line = 0;
  std::size_t block = 0;
  for (const Piece& piece : pieces_) {
    switch (piece.kind) {
      case Kind::Text:
        sink.Write(piece.bytes);
        break;
      case Kind::Navigation:
        sink.Write(block++ == 0 ? fill.navigation : Later(fill));
        break;
      case Kind::HeadTitle:
      case Kind::Description:
        sink.Write(Filled(piece, fill));
        break;
      case Kind::Content:
        content(sink, line++);
        break;
    }
  }
}

}  // namespace quill::site
