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

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// Where the text of the first <title> element starts and ends, or npos for both.
std::pair<std::size_t, std::size_t> TitleSpan(std::string_view bytes) {
  const std::string lower = Lower(bytes);
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
    const std::string lower = Lower(pieces_[i].bytes);
    if (lower.find("<title") == std::string::npos) continue;
    const auto [start, end] = TitleSpan(pieces_[i].bytes);
    if (start == std::string::npos) return;
    std::string bytes = std::move(pieces_[i].bytes);
    const auto at = pieces_.begin() + static_cast<std::ptrdiff_t>(i);
    pieces_.erase(at);
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i),
                   {{Kind::Text, bytes.substr(0, start)},
                    {Kind::HeadTitle, bytes.substr(start, end - start)},
                    {Kind::Text, bytes.substr(end)}});
    return;
  }
}

std::string_view PageFrame::TitleText() const {
  for (const Piece& piece : pieces_) {
    if (piece.kind == Kind::HeadTitle) return piece.bytes;
  }
  return {};
}

std::uint64_t PageFrame::Size(const Fill& fill) const {
  std::uint64_t size = navigation_blocks_ * fill.navigation.size();
  for (const Piece& piece : pieces_) {
    if (piece.kind == Kind::Text) size += piece.bytes.size();
    if (piece.kind == Kind::HeadTitle) {
      size += fill.head_title != nullptr ? fill.head_title->size() : piece.bytes.size();
    }
  }
  return size;
}

void PageFrame::Write(core::ByteSink& sink, const Fill& fill,
                      const std::function<void(core::ByteSink&, std::size_t)>& content) const {
  std::size_t line = 0;
  for (const Piece& piece : pieces_) {
    switch (piece.kind) {
      case Kind::Text:
        sink.Write(piece.bytes);
        break;
      case Kind::Navigation:
        sink.Write(fill.navigation);
        break;
      case Kind::HeadTitle:
        sink.Write(fill.head_title != nullptr ? std::string_view(*fill.head_title)
                                              : std::string_view(piece.bytes));
        break;
      case Kind::Content:
        content(sink, line++);
        break;
    }
  }
}

}  // namespace quill::site
