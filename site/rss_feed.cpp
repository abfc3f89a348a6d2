#include "site/rss_feed.h"

#include <cstdio>

#include "core/file_names.h"
#include "core/product.h"
#include "core/text.h"
#include "core/win1252_writer.h"
#include "site/feed_text.h"
#include "site/site_names.h"
#include "site/sitemap.h"
#include "site/stamp_format.h"
#include "site/xml_text.h"
#include "store/entry_store.h"

namespace quill::site {
namespace {

std::string Generator() {
  char version[16];
  std::snprintf(version, sizeof version, " v%d.%02d", core::kVersionMajor, core::kVersionMinor);
  return std::string(core::kProductName) + version;
}

}  // namespace

std::uint64_t WriteRssFeed(const core::ProjectSettings& settings, store::EntryStore& entries,
                           const core::Clock& clock, SiteOutput& output) {
  // One offset for every date of the run, whatever the date.
  const int offset = clock.UtcOffsetSeconds();
  const bool docs = !core::Trim(settings.Docs).empty();
  // Every value goes through XmlText, so the feed is ASCII XML that strict readers accept.
  const std::string title = XmlText(settings.Title);
  const std::string address = XmlText(settings.Docs);
  const auto file = output.Create(core::kFeedFile);
  core::Win1252Writer writer(*file);

  writer.WriteLine("<?xml version=\"1.0\"?>");
  writer.WriteLine("<rss version=\"2.0\">");
  writer.WriteLine("   <channel>");
  writer.WriteLine("      <title>" + title + "</title>");
  if (docs) writer.WriteLine("      <link>" + address + "</link>");
  writer.WriteLine("      <description>" + title + "</description>");
  // A classic feed says "en-us" whatever the pages hold; HTML5 pages and their feed share the
  // project's language.
  const std::string language = settings.Html5 != 1         ? "en-us"
                               : settings.Language.empty() ? "en"
                                                           : settings.Language;
  writer.WriteLine("      <language>" + XmlText(language) + "</language>");
  writer.WriteLine("      <pubDate>" + FormatRfc822Date(clock.Now(), offset) + "</pubDate>");
  writer.WriteLine("      <lastBuildDate>" + FormatRfc822Date(clock.Now(), offset) +
                   "</lastBuildDate>");
  if (docs) writer.WriteLine("      <docs>" + address + "</docs>");
  writer.WriteLine("      <generator>" + Generator() + "</generator>");
  if (!core::Trim(settings.Editor).empty()) {
    writer.WriteLine("      <managingEditor>" + XmlText(settings.Editor) + "</managingEditor>");
  }
  if (!core::Trim(settings.Master).empty()) {
    writer.WriteLine("      <webMaster>" + XmlText(settings.Master) + "</webMaster>");
  }

  // Items from the newest; the count stops after Articles + 1 of them. The guid counts
  // entries from the oldest, so each stays the same as newer ones arrive; an entry with a
  // page of its own is that page, by its address. Only published entries count: those still
  // waiting for their time are newer than all of them, so each takes the next number when it
  // appears and no number changes.
  int i = 0;
  PageOwners owners;
  const bool pages = docs && settings.EntryPages == 1;
  const store::EntryStore::ReadBatch batch(entries);
  const std::int32_t published = entries.PublishedCount();
  for (store::EntryStore::NewestFirst entry(entries); !entry.Done(); entry.Next()) {
    const std::string page = pages ? owners.Visit(entry.Stamp(), entry.Dated()) : "";
    const std::string page_address =
        page.empty() ? "" : XmlText(AbsoluteAddress(core::Trim(settings.Docs), page));
    writer.WriteLine("      <item>");
    writer.WriteLine("         <title>" + XmlText(FeedItemTitle(entry.Content())) + "</title>");
    if (docs) {
      writer.WriteLine("         <link>" + (page.empty() ? address : page_address) + "</link>");
    }
    // The whole text of an entry of any length, made and written in pieces.
    writer.WriteText("         <description>");
    WriteFeedDescription(entry.Content(), writer);
    writer.WriteText("</description>");
    writer.EndLine();
    writer.WriteLine("         <pubDate>" + FormatRfc822Date(entry.Stamp(), offset) + "</pubDate>");
    if (!page.empty()) {
      writer.WriteLine("         <guid isPermaLink=\"true\">" + page_address + "</guid>");
    } else if (docs) {
      char number[16];
      std::snprintf(number, sizeof number, "%03d", published - i);
      writer.WriteLine("         <guid>" + address + "#" + number + "</guid>");
    }
    writer.WriteLine("      </item>");
    if (++i > settings.Articles) break;
  }

  writer.WriteLine("   </channel>");
  writer.WriteLine("</rss>");
  file->Commit();
  return writer.BytesWritten();
}

}  // namespace quill::site
