#include "site/archive_pages.h"

#include <optional>

#include "site/blog_pages.h"
#include "site/entry_markup.h"
#include "site/site_names.h"
#include "site/stamp_format.h"
#include "store/entry_store.h"

namespace quill::site {
namespace {

// A walk over the entries that have pages, from the newest.
class OwnerWalk {
 public:
  explicit OwnerWalk(store::EntryStore& entries) : walk_(entries) { Settle(); }

  bool InYear(int year) const { return !walk_.Done() && walk_.Stamp().year == year; }
  const store::EntryStore::NewestFirst& Entry() const { return walk_; }
  const std::string& Name() const { return name_; }
  void Next() {
    walk_.Next();
    Settle();
  }

 private:
  // Stays on the next entry that has a page.
  void Settle() {
    for (; !walk_.Done(); walk_.Next()) {
      name_ = owners_.Visit(walk_.Stamp(), walk_.Dated());
      if (!name_.empty()) return;
    }
  }

  store::EntryStore::NewestFirst walk_;
  PageOwners owners_;
  std::string name_;
};

class ArchiveWriter {
 public:
  ArchiveWriter(const core::ProjectSettings& settings, const PageStyle& style,
                const PageFrame& frame, SiteOutput& output)
      : settings_(settings), style_(style), frame_(frame), output_(output) {
    title_ = style.encode(std::string(style.archive_title) + std::string(style.dash));
    title_ += frame.TitleText();
  }

  // The first page: the list of years, then the newest year's entries.
  void WriteFirst(const EntryIndex& index, OwnerWalk& walk) {
    const auto& years = index.Years();
    const std::string older = years.size() > 1 ? ArchivePageName(years[1].year) : "";
    Write(kArchivePage, SideNavigation(style_, "", Blog(), "", older), [&](auto& writer) {
      writer.WriteLine(style_.years_open);
      for (const EntryIndex::Year& year : years) {
        writer.WriteLine(std::string(style_.item_open) + "<a href=\"" + ArchivePageName(year.year) +
                         "\">" + std::to_string(year.year) + "</a> (" + std::to_string(year.count) +
                         ")" + std::string(style_.item_close));
      }
      writer.WriteLine(style_.years_close);
      if (!years.empty()) YearBody(writer, walk, years[0].year);
    });
  }

  // Year i of the index (0 the newest) from where the walk stands.
  void WriteYear(const EntryIndex& index, std::size_t i, OwnerWalk& walk) {
    const auto& years = index.Years();
    const std::string newer = i > 0 ? ArchivePageName(years[i - 1].year) : "";
    const std::string older = i + 1 < years.size() ? ArchivePageName(years[i + 1].year) : "";
    Write(ArchivePageName(years[i].year),
          SideNavigation(style_, newer, Blog(), kArchivePage, older),
          [&](auto& writer) { YearBody(writer, walk, years[i].year); });
  }

 private:
  std::string Blog() const { return PageName(settings_, 0, 0); }

  // A page whose entries come from the walk, which can pass them only once: a template with
  // several content lines gets them made once and repeated, one without any skips them.
  template <typename Body>
  void Write(const std::string& name, const std::string& navigation, Body body) {
    const std::string encoded = style_.encode(navigation);
    std::optional<core::StringSink> made;
    if (frame_.ContentLines() != 1) {
      made.emplace();
      const auto writer = PageTextWriter(style_.charset, *made);
      Framed(*writer, body);
    }
    const auto file = output_.Create(name);
    const std::string later = LaterNavigation(style_, encoded);
    frame_.Write(*file, {encoded, &title_, later}, [&](core::ByteSink& sink, std::size_t) {
      if (made) {
        sink.Write(made->Data());
        return;
      }
      const auto writer = PageTextWriter(style_.charset, sink);
      Framed(*writer, body);
    });
    file->Commit();
  }

  template <typename Body>
  void Framed(core::TextWriter& writer, Body& body) {
    writer.WriteLine(style_.archive_open);
    body(writer);
    writer.WriteLine(style_.archive_close);
  }

  void YearBody(core::TextWriter& writer, OwnerWalk& walk, int year) {
    writer.WriteLine(std::string(style_.year_open) + std::to_string(year) +
                     std::string(style_.year_close));
    int month = 0;
    for (; walk.InYear(year); walk.Next()) {
      const core::Stamp& stamp = walk.Entry().Stamp();
      if (stamp.month != month) {
        if (month != 0) writer.WriteLine(style_.list_close);
        month = stamp.month;
        writer.WriteLine(std::string(style_.month_open) + std::string(MonthName(month)) + " " +
                         std::to_string(year) + std::string(style_.month_close));
        writer.WriteLine(style_.list_open);
      }
      std::string line = std::string(style_.item_open) + "<a href=\"" + walk.Name() + "\">" +
                         FormatEntryStamp(settings_, stamp, true);
      const std::string title = EntryTitleText(walk.Entry().Content());
      if (!title.empty()) line += std::string(style_.dash) + title;
      writer.WriteLine(line + "</a>" + std::string(style_.item_close));
    }
    if (month != 0) writer.WriteLine(style_.list_close);
  }

  const core::ProjectSettings& settings_;
  const PageStyle& style_;
  const PageFrame& frame_;
  SiteOutput& output_;
  std::string title_;
};

}  // namespace

std::vector<std::string> ArchivePageNames(const EntryIndex& index) {
  std::vector<std::string> names{kArchivePage};
  for (const EntryIndex::Year& year : index.Years()) names.push_back(ArchivePageName(year.year));
  return names;
}

void WriteArchive(const core::ProjectSettings& settings, const PageStyle& style,
                  const PageFrame& frame, store::EntryStore& entries, const EntryIndex& index,
                  SiteOutput& output) {
  ArchiveWriter writer(settings, style, frame, output);
  {
    OwnerWalk newest(entries);
    writer.WriteFirst(index, newest);
  }
  OwnerWalk walk(entries);
  for (std::size_t i = 0; i < index.Years().size(); ++i) writer.WriteYear(index, i, walk);
}

}  // namespace quill::site
