#include "site/blog_pages.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "core/file_names.h"
#include "core/quill_error.h"
#include "core/text.h"
#include "site/entry_markup.h"
#include "site/page_frame.h"
#include "site/site_names.h"
#include "site/xml_text.h"
#include "store/entry_store.h"

namespace quill::site {
namespace {

// Counts what would be written, for laying out the pages before any is written.
class CountingSink final : public core::ByteSink {
 public:
  void Write(std::string_view bytes) override { size_ += bytes.size(); }
  std::uint64_t Size() const { return size_; }

 private:
  std::uint64_t size_ = 0;
};

// Writes one entry's markup: with entry pages on, its date links the entry's own page.
class EntryWriter {
 public:
  EntryWriter(const core::ProjectSettings& settings, const PageStyle& style, bool styled)
      : settings_(settings), style_(style), styled_(styled), linked_(settings.EntryPages == 1) {}

  EntryLines Write(core::TextWriter& writer, const store::EntryStore::NewestFirst& entry) {
    const std::string link = linked_ ? owners_.Visit(entry.Stamp(), entry.Dated()) : "";
    return WriteEntryMarkup(writer, settings_, style_, entry.Stamp(), entry.Content(), styled_,
                            link);
  }

 private:
  const core::ProjectSettings& settings_;
  const PageStyle& style_;
  bool styled_;
  bool linked_;
  PageOwners owners_;
};

// One page's share of the entries, and the size of their markup.
struct PagePlan {
  std::int64_t entries = 0;
  std::uint64_t bytes = 0;
};

// Lays the entries out into pages, from the newest, measuring their markup without keeping
// it. A page takes entries until its markup passes the size limit, so it always holds at
// least one entry and may run over by its last.
std::vector<PagePlan> LayOutPages(const core::ProjectSettings& settings, const PageStyle& style,
                                  store::EntryStore& entries, bool styled) {
  const std::int64_t limit = std::int64_t{settings.MaxPageSize} * 1024;
  CountingSink counter;
  const auto writer = PageTextWriter(style.charset, counter);
  EntryWriter entry_writer(settings, style, styled);
  std::vector<PagePlan> pages(1);
  std::int64_t page_length = 0;
  for (store::EntryStore::NewestFirst walk(entries); !walk.Done();) {
    const std::uint64_t before = counter.Size();
    const EntryLines written = entry_writer.Write(*writer, walk);
    const std::uint64_t bytes = counter.Size() - before;
    ++pages.back().entries;
    pages.back().bytes += bytes;
    // Line ends do not count, nor a link to the entry's page: the pages keep their entries
    // whether entry pages are on or not.
    page_length += static_cast<std::int64_t>(bytes - written.link_bytes) - 2 * written.lines;
    walk.Next();
    if (!walk.Done() && page_length > limit) {
      pages.emplace_back();
      page_length = 0;
    }
  }
  return pages;
}

// Writes the page's entries from where the cursor stands and moves past them.
class PageEntries {
 public:
  PageEntries(const core::ProjectSettings& settings, const PageStyle& style,
              store::EntryStore::NewestFirst& walk, bool styled)
      : charset_(style.charset), walk_(walk), writer_(settings, style, styled) {}

  void Write(core::ByteSink& sink, std::int64_t count) {
    const auto writer = PageTextWriter(charset_, sink);
    for (std::int64_t i = 0; i < count; ++i, walk_.Next()) writer_.Write(*writer, walk_);
  }
  void Skip(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) walk_.Next();
  }

 private:
  PageCharset charset_;
  store::EntryStore::NewestFirst& walk_;
  EntryWriter writer_;
};

// Writes one page: its frame, and its entries wherever the template has a content line.
// With one such line (the usual template) the entries stream straight into the file; with
// several, the page's markup is made once and repeated.
std::uint64_t WritePage(SiteOutput& output, const std::string& name, const PageFrame& frame,
                        const PageFrame::Fill& fill, const PagePlan& plan, PageEntries& entries) {
  const std::size_t content_lines = frame.ContentLines();
  const std::uint64_t size = frame.Size(fill) + content_lines * plan.bytes;
  const auto page = output.CreateSized(name, size);
  std::optional<core::StringSink> markup;
  if (content_lines == 0) {
    entries.Skip(plan.entries);
  } else if (content_lines > 1) {
    markup.emplace();
    entries.Write(*markup, plan.entries);
  }
  frame.Write(*page, fill, [&](core::ByteSink& sink, std::size_t) {
    if (markup) {
      sink.Write(markup->Data());
    } else {
      entries.Write(sink, plan.entries);
    }
  });
  page->Commit();
  return size;
}

}  // namespace

std::vector<std::int64_t> LayOutBlogPages(const core::ProjectSettings& settings,
                                          store::EntryStore& entries, bool styled) {
  // The pages were laid out in their template's character set; a template that cannot be
  // read now is taken for the classic one.
  PageCharset charset = PageCharset::Windows1252;
  try {
    charset = PageFrame(settings.Template, settings.Title).Charset();
  } catch (const core::QuillError&) {
  }
  const PageStyle style = StyleFor(settings, charset);
  const store::EntryStore::ReadBatch batch(entries);
  std::vector<std::int64_t> counts;
  for (const PagePlan& plan : LayOutPages(settings, style, entries, styled)) {
    counts.push_back(plan.entries);
  }
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
  return BuildNavigation(settings, kClassicStyle, n, last);
}

std::string BuildNavigation(const core::ProjectSettings& settings, const PageStyle& style, int n,
                            int last) {
  if (settings.CommentPage != 1 && last == 0) return std::string(style.nav_spacer);
  const auto link = [&](const std::string& target, std::string_view caption) {
    return std::string(style.nav_item_open) + "<a href=\"" + FileAddressText(target) + "\">" +
           std::string(caption) + "</a>" + std::string(style.nav_item_close);
  };
  std::string block(style.nav_open);
  const auto add = [&](std::string_view line) {
    block += "\r\n";
    block += line;
  };
  if (n == 0 && last > 0) add(style.nav_none);
  if (n >= 1) add(link(PageName(settings, n - 1, last), style.newer_caption));
  if (settings.CommentPage == 1) add(link("comments.html", "comment"));
  if (settings.IncludeRSS == 1) add(link(core::kFeedFile, "RSS"));
  if (n < last) add(link(PageName(settings, n + 1, last), style.older_caption));
  if (n == last && last > 0) add(style.nav_none);
  add(style.nav_close);
  return block;
}

BuildReport BuildBlogPages(const core::ProjectSettings& settings, store::EntryStore& entries,
                           SiteOutput& output) {
  const PageFrame frame(settings.Template, core::OneLine(settings.Title));
  const PageStyle style = StyleFor(settings, frame.Charset());
  const bool styled = output.Exists(core::kBlogStylesheet);
  BuildReport report;

  // Pass 1 measures the pages; pass 2 reads the entries again, within the same read
  // transaction, and writes each page straight into its file. Nothing holds more than one
  // entry and one page's frame.
  const store::EntryStore::ReadBatch batch(entries);
  const std::vector<PagePlan> plans = LayOutPages(settings, style, entries, styled);
  const int last = static_cast<int>(plans.size()) - 1;
  store::EntryStore::NewestFirst walk(entries);
  PageEntries page_entries(settings, style, walk, styled);
  for (int n = 0; n <= last; ++n) {
    const std::string block = BuildNavigation(settings, style, n, last);
    const std::string navigation = style.encode(block);
    const std::string later = style.encode(LaterNavigation(style, block));
    report.bytes += WritePage(output, PageName(settings, n, last), frame,
                              {navigation, nullptr, later}, plans[n], page_entries);
    report.entries += plans[n].entries;
    ++report.pages;
  }
  return report;
}

}  // namespace quill::site
