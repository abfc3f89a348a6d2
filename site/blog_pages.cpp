#include "site/blog_pages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "core/file_names.h"
#include "core/quill_error.h"
#include "core/text.h"
#include "core/win1252_writer.h"
#include "site/page_template.h"
#include "site/stamp_format.h"
#include "site/xml_text.h"
#include "store/entry_store.h"

namespace quill::site {
namespace {

using core::QuillError;

constexpr std::size_t kChunk = 1 << 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Counts what would be written, for laying out the pages before any is written.
class CountingSink final : public core::ByteSink {
 public:
  void Write(std::string_view bytes) override { size_ += bytes.size(); }
  std::uint64_t Size() const { return size_; }

 private:
  std::uint64_t size_ = 0;
};

enum class LineKind { Title, Navigation, Content, Plain };

struct TemplateLine {
  std::string bytes;  // without its line end
  LineKind kind;
};

// The template's lines as they stand; a line ends at CR LF or at a bare LF.
std::vector<TemplateLine> ReadTemplate(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    throw QuillError("Cannot read the page template " + path + ": " + std::strerror(errno));
  }
  std::string bytes;
  char buffer[kChunk];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    bytes.append(buffer, n);
  }
  if (std::ferror(file.get())) {
    throw QuillError("Cannot read the page template " + path + ": " + std::strerror(errno));
  }

  std::vector<TemplateLine> lines;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find('\n', at);
    const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
    if (end == std::string::npos) end = bytes.size();
    if (end > at && bytes[end - 1] == '\r') --end;
    std::string line = bytes.substr(at, end - at);
    // One placeholder a line, tested in this order.
    LineKind kind = LineKind::Plain;
    if (line.find(kTitlePlaceholder) != std::string::npos) {
      kind = LineKind::Title;
    } else if (line.find(kNavigationPlaceholder) != std::string::npos) {
      kind = LineKind::Navigation;
    } else if (line.find(kContentPlaceholder) != std::string::npos) {
      kind = LineKind::Content;
    }
    lines.push_back({std::move(line), kind});
    at = next;
  }
  return lines;
}

// The entry's text as one line of paragraphs, each line break closing one and opening the
// next. Written piece by piece, so a long entry is never copied whole.
void WriteParagraphs(core::Win1252Writer& writer, std::string_view text) {
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

// Writes one entry's markup and says how many lines it took.
int WriteEntry(core::Win1252Writer& writer, const core::ProjectSettings& settings,
               const store::EntryStore::NewestFirst& entry, bool styled) {
  const std::string date = FormatEntryStamp(settings, entry.Stamp(), true);
  if (!styled) {
    writer.WriteLine("<strong>" + date + "</strong>");
    WriteParagraphs(writer, entry.Content());
    return 2;
  }
  writer.WriteLine("<div id=\"blog\">");
  writer.WriteLine("<div class=\"date\">" + date + "</div>");
  writer.WriteLine("<div class=\"stuff\">");
  WriteParagraphs(writer, entry.Content());
  writer.WriteLine("</div></div>");
  return 5;
}

// One page's share of the entries, and the size of their markup.
struct PagePlan {
  std::int64_t entries = 0;
  std::uint64_t bytes = 0;
};

// Lays the entries out into pages, from the newest, measuring their markup without keeping
// it. A page takes entries until its markup passes the size limit, so it always holds at
// least one entry and may run over by its last.
std::vector<PagePlan> LayOutPages(const core::ProjectSettings& settings, store::EntryStore& entries,
                                  bool styled) {
  const std::int64_t limit = std::int64_t{settings.MaxPageSize} * 1024;
  CountingSink counter;
  core::Win1252Writer writer(counter);
  std::vector<PagePlan> pages(1);
  std::int64_t page_length = 0;
  for (store::EntryStore::NewestFirst walk(entries); !walk.Done();) {
    const std::uint64_t before = counter.Size();
    const int lines = WriteEntry(writer, settings, walk, styled);
    const std::uint64_t bytes = counter.Size() - before;
    ++pages.back().entries;
    pages.back().bytes += bytes;
    page_length += static_cast<std::int64_t>(bytes) - 2 * lines;  // line ends do not count
    walk.Next();
    if (!walk.Done() && page_length > limit) {
      pages.emplace_back();
      page_length = 0;
    }
  }
  return pages;
}

// The page's own text around its entries: the template with title and navigation in place,
// cut where each content line stands, so a template with k content lines gives k + 1 parts.
std::vector<std::string> PageFrame(const std::vector<TemplateLine>& lines, const std::string& title,
                                   const std::string& navigation) {
  std::vector<std::string> parts(1);
  for (const TemplateLine& line : lines) {
    switch (line.kind) {
      case LineKind::Title:
        parts.back() += core::ReplaceAll(line.bytes, kTitlePlaceholder, title) + "\r\n";
        break;
      case LineKind::Navigation:
        parts.back() += core::ReplaceAll(line.bytes, kNavigationPlaceholder, navigation) + "\r\n";
        break;
      case LineKind::Content:
        parts.emplace_back();
        break;
      case LineKind::Plain:
        parts.back() += line.bytes + "\r\n";
        break;
    }
  }
  return parts;
}

// Writes the page's entries from where the cursor stands and moves past them.
class PageEntries {
 public:
  PageEntries(const core::ProjectSettings& settings, store::EntryStore::NewestFirst& walk,
              bool styled)
      : settings_(settings), walk_(walk), styled_(styled) {}

  void Write(core::ByteSink& sink, std::int64_t count) {
    core::Win1252Writer writer(sink);
    for (std::int64_t i = 0; i < count; ++i, walk_.Next()) {
      WriteEntry(writer, settings_, walk_, styled_);
    }
  }
  void Skip(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) walk_.Next();
  }

 private:
  const core::ProjectSettings& settings_;
  store::EntryStore::NewestFirst& walk_;
  bool styled_;
};

// Writes one page: its frame, and its entries wherever the template has a content line.
// With one such line (the usual template) the entries stream straight into the file; with
// several, the page's markup is made once and repeated.
std::uint64_t WritePage(SiteOutput& output, const std::string& name,
                        const std::vector<std::string>& frame, const PagePlan& plan,
                        PageEntries& entries) {
  const std::size_t content_lines = frame.size() - 1;
  std::uint64_t size = content_lines * plan.bytes;
  for (const std::string& part : frame) size += part.size();
  const auto page = output.CreateSized(name, size);
  page->Write(frame[0]);
  if (content_lines == 0) {
    entries.Skip(plan.entries);
  } else if (content_lines == 1) {
    entries.Write(*page, plan.entries);
    page->Write(frame[1]);
  } else {
    core::StringSink markup;
    entries.Write(markup, plan.entries);
    for (std::size_t i = 1; i < frame.size(); ++i) {
      page->Write(markup.Data());
      page->Write(frame[i]);
    }
  }
  page->Commit();
  return size;
}

}  // namespace

std::vector<std::int64_t> LayOutBlogPages(const core::ProjectSettings& settings,
                                          store::EntryStore& entries, bool styled) {
  const store::EntryStore::ReadBatch batch(entries);
  std::vector<std::int64_t> counts;
  for (const PagePlan& plan : LayOutPages(settings, entries, styled)) counts.push_back(plan.entries);
  return counts;
}

std::string PageName(const core::ProjectSettings& settings, int n, int last) {
  if (n == 0) return settings.UseIndex == 1 ? "index.html" : settings.FileNames + ".html";
  const int digits = last <= 9 ? 1 : last <= 99 ? 2 : 3;
  char number[16];
  std::snprintf(number, sizeof number, "%0*d", digits, n);
  return settings.FileNames + number + ".html";
}

std::string BuildNavigation(const core::ProjectSettings& settings, int n, int last) {
  if (settings.CommentPage != 1 && last == 0) return "&nbsp;<br />";
  const auto link = [](const std::string& target, std::string_view caption) {
    return "<li>[ <a href=\"" + FileAddressText(target) + "\">" + std::string(caption) +
           "</a> ]</li>";
  };
  const std::string_view spacer = "<li>[ ----- ]</li>";
  std::string block = "<div id=\"blogNav\"><ul>";
  const auto add = [&](std::string_view line) {
    block += "\r\n";
    block += line;
  };
  if (n == 0 && last > 0) add(spacer);
  if (n >= 1) add(link(PageName(settings, n - 1, last), "next"));
  if (settings.CommentPage == 1) add(link("comments.html", "comment"));
  if (settings.IncludeRSS == 1) add(link(core::kFeedFile, "RSS"));
  if (n < last) add(link(PageName(settings, n + 1, last), "prev"));
  if (n == last && last > 0) add(spacer);
  add("</ul></div>");
  return block;
}

BuildReport BuildBlogPages(const core::ProjectSettings& settings, store::EntryStore& entries,
                           SiteOutput& output) {
  const std::vector<TemplateLine> page_template = ReadTemplate(settings.Template);
  const bool styled = output.Exists(core::kBlogStylesheet);
  BuildReport report;

  // Pass 1 measures the pages; pass 2 reads the entries again, within the same read
  // transaction, and writes each page straight into its file. Nothing holds more than one
  // entry and one page's frame.
  const store::EntryStore::ReadBatch batch(entries);
  const std::vector<PagePlan> plans = LayOutPages(settings, entries, styled);
  const int last = static_cast<int>(plans.size()) - 1;
  const std::string title = core::ToWin1252(core::OneLine(settings.Title));
  store::EntryStore::NewestFirst walk(entries);
  PageEntries page_entries(settings, walk, styled);
  for (int n = 0; n <= last; ++n) {
    const std::string navigation = core::ToWin1252(BuildNavigation(settings, n, last));
    report.bytes += WritePage(output, PageName(settings, n, last),
                              PageFrame(page_template, title, navigation), plans[n], page_entries);
    report.entries += plans[n].entries;
    ++report.pages;
  }
  return report;
}

}  // namespace quill::site
