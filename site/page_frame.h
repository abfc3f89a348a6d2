#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_sink.h"
#include "site/page_charset.h"

namespace quill::site {

// The project's page template, read once and cut where its pages differ: at every
// "BlogTOC" (the navigation block), at every line holding "BlogContent" (the page's entries,
// the whole line replaced), around the text of its first <title> element and around the
// content of its first <meta name="description">. Every
// "BlogTitle" is the blog title throughout; every other byte is the template's own. A line
// is one placeholder's only, tested in that order: BlogTitle, BlogTOC, BlogContent.
class PageFrame {
 public:
  // Reads the template; a line ends at CR LF or at a bare LF. `title` is the blog title, in
  // UTF-8; it goes into the page in the set the template declares. Throws QuillError when
  // the template cannot be read.
  PageFrame(const std::string& template_path, std::string_view title);

  // What one page puts into the frame.
  struct Fill {
    std::string_view navigation;
    // Written instead of the title element's text; null keeps the template's own.
    const std::string* head_title = nullptr;
    // The second and later navigation blocks; empty: the first one again.
    std::string_view later_navigation = {};
    // Written instead of the description's content; null keeps the template's own.
    const std::string* description = nullptr;
  };

  // The character set the template declares, which every page poured into it is written in.
  PageCharset Charset() const { return charset_; }
  // How many lines the entries replace.
  std::size_t ContentLines() const { return content_lines_; }
  // The text of the template's first <title> element as its bytes stand (titles replaced);
  // empty when it has none on one stretch of plain lines.
  std::string_view TitleText() const;
  // The size of a page without its entries.
  std::uint64_t Size(const Fill& fill) const;
  // Writes a page: the frame, and `content(sink, i)` at the i-th content line.
  void Write(core::ByteSink& sink, const Fill& fill,
             const std::function<void(core::ByteSink&, std::size_t)>& content) const;

 private:
  enum class Kind { Text, Navigation, HeadTitle, Description, Content };
  struct Piece {
    Kind kind;
    std::string bytes;
  };

  void Add(Kind kind, std::string bytes = {});
  void CutHeadTitle();
  void CutDescription();
  void Split(std::size_t i, Kind kind, std::size_t start, std::size_t end);
  static std::string_view Later(const Fill& fill);
  static std::string_view Filled(const Piece& piece, const Fill& fill);

  PageCharset charset_ = PageCharset::Windows1252;
  std::vector<Piece> pieces_;
  std::size_t content_lines_ = 0;
  std::size_t navigation_blocks_ = 0;
};

}  // namespace quill::site
