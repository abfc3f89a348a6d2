#include "site/blog_pages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
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

// The entry markup of every page. It stays in memory while it is small and moves into an
// anonymous temporary file, which the system removes whatever ends the run, once it grows.
class Spool final : public core::ByteSink {
 public:
  void Write(std::string_view bytes) override {
    if (!file_) {
      memory_ += bytes;
      if (memory_.size() > kMaxInMemory) MoveToFile();
    } else if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) {
      Fail("write");
    }
    size_ += bytes.size();
  }
  std::uint64_t Size() const { return size_; }

  void CopyTo(std::uint64_t from, std::uint64_t to, core::ByteSink& sink) {
    if (!file_) {
      sink.Write(std::string_view(memory_).substr(from, to - from));
      return;
    }
    if (std::fflush(file_.get()) != 0 || !Seek(from, SEEK_SET)) Fail("read");
    std::vector<char> buffer(kChunk);
    for (std::uint64_t left = to - from; left > 0;) {
      const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunk));
      if (std::fread(buffer.data(), 1, want, file_.get()) != want) Fail("read");
      sink.Write(std::string_view(buffer.data(), want));
      left -= want;
    }
    if (!Seek(0, SEEK_END)) Fail("read");
  }

 private:
  static constexpr std::size_t kMaxInMemory = 24u << 20;

  void MoveToFile() {
    file_.reset(std::tmpfile());
    if (!file_) Fail("create");
    if (std::fwrite(memory_.data(), 1, memory_.size(), file_.get()) != memory_.size()) {
      Fail("write");
    }
    memory_ = {};
  }

  bool Seek(std::uint64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(file_.get(), static_cast<long long>(offset), origin) == 0;
#else
    return fseeko(file_.get(), static_cast<off_t>(offset), origin) == 0;
#endif
  }

  [[noreturn]] static void Fail(const char* what) {
    throw QuillError(std::string("Cannot ") + what +
                     " the temporary file of the blog pages: " + std::strerror(errno));
  }

  std::string memory_;
  std::unique_ptr<std::FILE, FileCloser> file_;
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

void WriteEntry(core::Win1252Writer& writer, const core::ProjectSettings& settings,
                const store::Entry& entry, bool styled) {
  const std::string date = FormatEntryStamp(settings, entry.Stamp, true);
  const std::string paragraph = "<p>" + core::ReplaceLineBreaks(entry.Content, "</p><p>") + "</p>";
  if (styled) {
    writer.WriteLine("<div id=\"blog\">");
    writer.WriteLine("<div class=\"date\">" + date + "</div>");
    writer.WriteLine("<div class=\"stuff\">");
    writer.WriteLine(paragraph);
    writer.WriteLine("</div></div>");
  } else {
    writer.WriteLine("<strong>" + date + "</strong>");
    writer.WriteLine(paragraph);
  }
}

}  // namespace

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
  BuildReport report;

  // Pass 1: lay the entries out into pages. A page takes entries until its markup passes
  // the size limit, so it always holds at least one entry and may run over by its last.
  const bool styled = output.Exists(core::kBlogStylesheet);
  const std::int64_t limit = std::int64_t{settings.MaxPageSize} * 1024;
  Spool spool;
  core::Win1252Writer spool_writer(spool);
  std::vector<std::uint64_t> page_starts = {0};
  std::optional<store::EntryStore::ReadBatch> batch(std::in_place, entries);
  entries.MoveLastEntry();
  std::int64_t page_length = 0;
  while (!entries.NoEntry()) {
    const std::uint64_t before = spool_writer.BytesWritten();
    WriteEntry(spool_writer, settings, entries.CurrentEntry, styled);
    const int lines = styled ? 5 : 2;  // their line ends do not count
    page_length += static_cast<std::int64_t>(spool_writer.BytesWritten() - before) - 2 * lines;
    ++report.entries;
    entries.MovePreviousEntry();
    if (!entries.NoEntry() && page_length > limit) {
      page_starts.push_back(spool.Size());
      page_length = 0;
    }
  }
  page_starts.push_back(spool.Size());
  batch.reset();
  const int last = static_cast<int>(page_starts.size()) - 2;

  // Pass 2: pour each page into the template.
  const std::string title = core::ToWin1252(core::OneLine(settings.Title));
  for (int n = 0; n <= last; ++n) {
    const std::string navigation = core::ToWin1252(BuildNavigation(settings, n, last));
    const auto page = output.Create(PageName(settings, n, last));
    core::Win1252Writer writer(*page);
    for (const TemplateLine& line : page_template) {
      switch (line.kind) {
        case LineKind::Title:
          writer.WriteRaw(core::ReplaceAll(line.bytes, kTitlePlaceholder, title) + "\r\n");
          break;
        case LineKind::Navigation:
          writer.WriteRaw(core::ReplaceAll(line.bytes, kNavigationPlaceholder, navigation) +
                          "\r\n");
          break;
        case LineKind::Content:
          spool.CopyTo(page_starts[n], page_starts[n + 1], *page);
          report.bytes += page_starts[n + 1] - page_starts[n];
          break;
        case LineKind::Plain:
          writer.WriteRaw(line.bytes + "\r\n");
          break;
      }
    }
    page->Commit();
    report.bytes += writer.BytesWritten();
    ++report.pages;
  }
  return report;
}

}  // namespace quill::site
