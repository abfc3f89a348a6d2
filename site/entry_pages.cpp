#include "site/entry_pages.h"

#include "core/file_names.h"
#include "site/blog_pages.h"
#include "site/entry_markup.h"
#include "site/page_fingerprint.h"
#include "site/site_names.h"
#include "site/stamp_format.h"
#include "site/xml_text.h"
#include "store/entry_store.h"

namespace quill::site {
namespace {

// One page's making: its frame filled, and the entry at each content line.
class EntryPage {
 public:
  EntryPage(const core::ProjectSettings& settings, const PageStyle& style, const PageFrame& frame,
            const store::EntryStore::NewestFirst& entry, bool styled)
      : settings_(settings), style_(style), frame_(frame), entry_(entry), styled_(styled) {}

  void Write(core::ByteSink& sink, const std::string& navigation, const std::string& title) const {
    const std::string later = LaterNavigation(style_, navigation);  // its opening is ASCII
    const std::string description = EntryDescription(style_, entry_.Content());
    const PageFrame::Fill fill{navigation, &title, later,
                               description.empty() ? nullptr : &description};
    frame_.Write(sink, fill, [&](core::ByteSink& out, std::size_t) {
      const auto writer = PageTextWriter(style_.charset, out);
      WriteEntryMarkup(*writer, settings_, style_, entry_.Stamp(), entry_.Content(), styled_);
    });
  }

 private:
  const core::ProjectSettings& settings_;
  const PageStyle& style_;
  const PageFrame& frame_;
  const store::EntryStore::NewestFirst& entry_;
  bool styled_;
};

// Writes the page unless it comes out as the record says and the file still has the facts
// the record gave it. True when the file changed.
bool WritePage(const EntryPage& page, const std::string& name, const std::string& navigation,
               const std::string& title, SiteOutput& output, MadeFiles& made) {
  const std::optional<MadeFiles::Page> known = made.Known(name);
  PageFingerprint print;
  SiteOutput::Change change;
  if (known) change.before = output.Facts(name);
  if (known && change.before) {
    page.Write(print, navigation, title);
    if (print.Size() == known->size && print.Digest() == known->digest &&
        *change.before == SiteOutput::FileFacts{known->size, known->modified}) {
      made.Made(name, known);
      return false;
    }
    const auto file = output.CreateSized(name, print.Size());
    page.Write(*file, navigation, title);
    file->Commit();
    change.after = output.Facts(name);
  } else {
    // A page the record does not know, as every page of a first build: its facts come with
    // the writing.
    change = output.Rewrite(name, [&](core::FileSink& file) {
      TeeSink both(file, print);
      page.Write(both, navigation, title);
    });
  }
  const std::optional<SiteOutput::FileFacts>& after = change.after;
  made.Made(name,
            after ? std::optional<MadeFiles::Page>({after->size, after->modified, print.Digest()})
                  : std::nullopt);
  return !change.before || !after || *change.before != *after;
}

}  // namespace

std::string EntryHeadTitle(const core::ProjectSettings& settings, const PageStyle& style,
                           const core::Stamp& stamp, std::string_view content,
                           std::string_view template_title) {
  std::string title = EntryTitleText(content);
  if (title.empty()) title = XmlText(FormatEntryStamp(settings, stamp, true));
  std::string text = style.encode(title + std::string(style.dash));
  text += template_title;
  return text;
}

EntryPagesReport WriteEntryPages(const core::ProjectSettings& settings, const PageStyle& style,
                                 const PageFrame& frame, store::EntryStore& entries,
                                 const EntryIndex& index, SiteOutput& output, MadeFiles& made) {
  const bool styled = output.Exists(core::kBlogStylesheet);
  const std::string blog = PageName(settings, 0, 0);
  EntryPagesReport report;
  PageOwners owners;
  std::size_t k = 0;
  for (store::EntryStore::NewestFirst walk(entries); !walk.Done() && k < index.Size();
       walk.Next()) {
    const std::string name = owners.Visit(walk.Stamp(), walk.Dated());
    if (name.empty()) continue;
    const std::string newer = k > 0 ? EntryPageName(index.At(k - 1)) : "";
    const std::string older = k + 1 < index.Size() ? EntryPageName(index.At(k + 1)) : "";
    const std::string navigation =
        style.encode(SideNavigation(style, newer, blog, kArchivePage, older));
    const std::string title =
        EntryHeadTitle(settings, style, walk.Stamp(), walk.Content(), frame.TitleText());
    const EntryPage page(settings, style, frame, walk, styled);
    if (WritePage(page, name, navigation, title, output, made)) ++report.written;
    ++report.pages;
    ++k;
  }
  return report;
}

}  // namespace quill::site
