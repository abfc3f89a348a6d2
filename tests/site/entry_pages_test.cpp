#include "site/entry_pages.h"

#include <gtest/gtest.h>

#include "site/blog_pages.h"
#include "site/entry_site.h"
#include "site/page_template.h"
#include "site/site_names.h"
#include "support/memory_output.h"
#include "support/project_fixture.h"

namespace quill::site {
namespace {

using core::Stamp;
using Lines = std::vector<std::string>;

const Stamp kNewest{2026, 12, 8, 9, 55, 44};
const Stamp kMiddle{2026, 12, 7, 12, 0, 0};
const Stamp kOldest{2026, 12, 6, 22, 15, 7};

// Entry pages built as the project session builds them: pages and archive, blog pages, then
// the rest.
class EntryPagesTest : public testing::ProjectFixture {
 protected:
  EntryPagesTest() {
    Settings().DateFormat = 0;
    Settings().Separator = 0;
    Settings().TimeFormat = 1;
    Settings().EntryPages = 1;
    output_.files["quillsmith.css"] = "";  // styled markup
    DiskOutput disk(Settings().OutputFolder);
    WriteDefaultTemplate(Settings(), disk);
  }

  void Build() {
    EntrySite site(Settings(), entries_, output_, clock_);
    site.WritePages();
    const BuildReport pages = BuildBlogPages(Settings(), entries_, output_);
    site.Finish(pages.pages);
  }
  Lines Page(const std::string& name) { return output_.Lines(name); }
  // A page's lines from the first navigation block to the end of the second one.
  Lines Body(const std::string& name) {
    const Lines page = Page(name);
    return Lines(page.begin() + 14, page.end() - 7);
  }

  testing::MemoryOutput output_;
};

TEST_F(EntryPagesTest, AnEntryPageIsTheTemplateAroundTheEntryWithItsNeighbours) {
  Save(kNewest, "Newest");
  Save(kMiddle, "Hello &amp; welcome! More\r\ntext");
  Save(kOldest, "Oldest");
  Build();

  const Lines page = Page("2026-12-07-120000.html");
  ASSERT_EQ(page.size(), 38u);
  EXPECT_EQ(page[3], "<title>Hello &amp; welcome! \x96 My Log</title>");
  EXPECT_EQ(page[11], "\t\t<h1>My Log</h1>");  // the heading keeps the blog's title
  const Lines navigation = {
      "\t\t<div id=\"blogNav\"><ul>",
      "<li>[ <a href=\"2026-12-08-095544.html\">next</a> ]</li>",
      "<li>[ <a href=\"index.html\">blog</a> ]</li>",
      "<li>[ <a href=\"archive.html\">archive</a> ]</li>",
      "<li>[ <a href=\"2026-12-06-221507.html\">prev</a> ]</li>",
      "</ul></div>",
  };
  Lines expected = navigation;
  expected.insert(expected.end(),
                  {
                      "<div id=\"blog\">",
                      "<div class=\"date\">Monday, December 07, 2026 at 12:00 PM</div>",
                      "<div class=\"stuff\">",
                      "<p>Hello &amp; welcome! More</p><p>text</p>",
                      "</div></div>",
                  });
  expected.insert(expected.end(), navigation.begin(), navigation.end());
  EXPECT_EQ(Body("2026-12-07-120000.html"), expected);
  // Every other line is the template's.
  const Lines blog = Page("index.html");
  EXPECT_EQ(Lines(page.begin(), page.begin() + 3), Lines(blog.begin(), blog.begin() + 3));
  EXPECT_EQ(Lines(page.end() - 7, page.end()), Lines(blog.end() - 7, blog.end()));

  // The newest and the oldest have the mark where they have no neighbour.
  EXPECT_EQ(Body("2026-12-08-095544.html")[1], "<li>[ ----- ]</li>");
  EXPECT_EQ(Body("2026-12-06-221507.html")[4], "<li>[ ----- ]</li>");
}

TEST_F(EntryPagesTest, BlogPagesLinkEveryEntryAndKeepTheirEntries) {
  Settings().MaxPageSize = 0;  // one entry a page
  Save(kNewest, "Newest");
  Save(kOldest, "Oldest");
  Build();
  EXPECT_EQ(Page("index.html")[19],
            "<div class=\"date\"><a href=\"2026-12-08-095544.html\">Tuesday, December 08, 2026 at "
            "09:55 AM</a></div>");
  EXPECT_EQ(Page("blog1.html")[19],
            "<div class=\"date\"><a href=\"2026-12-06-221507.html\">Sunday, December 06, 2026 at "
            "10:15 PM</a></div>");

  // The link does not count towards the page size: the same entries share a page either way.
  Settings().MaxPageSize = 1;
  for (int i = 0; i < 40; ++i) Save({2025, 1, 1, 0, i, 0}, std::string(40, 'x'));
  Settings().EntryPages = 0;
  const int off = BuildBlogPages(Settings(), entries_, output_).pages;
  Settings().EntryPages = 1;
  EXPECT_EQ(BuildBlogPages(Settings(), entries_, output_).pages, off);
}

TEST_F(EntryPagesTest, EveryTitleIsSensibleAndNoTextBreaksTheMarkup) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "Sunday, December 06, 2026 at 10:15 PM"},
      {"<img src=\"a.png\" />", "Sunday, December 06, 2026 at 10:15 PM"},
      {"!!! ??? ...", "Sunday, December 06, 2026 at 10:15 PM"},
      {std::string(5000, 'w'), std::string(32, 'w')},
      {"Tom & \"Jerry\" <b>&lt;3</b>\x01 caf\xC3\xA9 \xF0\x9F\x98\x80.",
       "Tom &amp; \"Jerry\" &lt;3  caf&#233; &#128512;."},
  };
  for (const auto& [content, title] : cases) {
    output_.files.clear();
    Save(kOldest, content);
    Build();
    EXPECT_EQ(Page("2026-12-06-221507.html")[3], "<title>" + title + " \x96 My Log</title>")
        << content.substr(0, 40);
  }
}

TEST_F(EntryPagesTest, EachStampHasAPageOfItsOwn) {
  const std::vector<std::pair<Stamp, std::string>> stamps = {
      {{2026, 12, 8, 9, 55, 44}, "2026-12-08-095544.html"},
      {{2026, 12, 8, 9, 55, 45}, "2026-12-08-095545.html"},  // a second apart
      {{2028, 2, 29, 0, 0, 0}, "2028-02-29-000000.html"},    // leap day, midnight
      {{2026, 6, 1, 12, 0, 0}, "2026-06-01-120000.html"},    // noon
      {Stamp::Empty(), "1899-12-30-120000.html"},            // an entry without a date
      {{9999, 12, 31, 23, 59, 59}, "9999-12-31-235959.html"},  // the last second there is
  };
  for (const auto& [stamp, name] : stamps) Save(stamp, "Entry of " + name);
  Build();
  const std::vector<std::string> dates = {
      "Tuesday, December 08, 2026 at 09:55 AM", "Tuesday, December 08, 2026 at 09:55 AM",
      "Tuesday, February 29, 2028 at 12:00 AM", "Monday, June 01, 2026 at 12:00 PM",
      "Saturday, December 30, 1899 at 12:00 PM", "Friday, December 31, 9999 at 11:59 PM"};
  for (std::size_t i = 0; i < stamps.size(); ++i) {
    const std::string& name = stamps[i].second;
    EXPECT_EQ(EntryPageName(stamps[i].first), name);
    EXPECT_EQ(StampOfEntryPage(name), stamps[i].first);
    const Lines body = Body(name);
    EXPECT_EQ(body[7], "<div class=\"date\">" + dates[i] + "</div>") << name;
    EXPECT_EQ(body[9], "<p>Entry of " + name + "</p>");
  }
}

TEST(SiteNames, OnlyTheGeneratorsOwnFormsAreItsNames) {
  for (const char* name : {"2026-12-08-095544.html", "archive.html", "archive-2026.html",
                           "sitemap.xml", "sitemap-1.xml", "sitemap-12.xml"}) {
    EXPECT_NE(KindOfName(name), EntrySiteFile::None) << name;
  }
  for (const char* name :
       {"2026-12-08-0955.html", "2026-12-08-095544.htm", "2026-13-08-095544.html",
        "2026-12-08-095544-old.html", "Archive.html", "archive-26.html", "archive-0099.html",
        "archive-2026.htm", "sitemap-0.xml", "sitemap-01.xml", "sitemap-.xml", "Sitemap.xml",
        "sitemap.xml.bak"}) {
    EXPECT_EQ(KindOfName(name), EntrySiteFile::None) << name;
  }
}

TEST(SiteNames, BlogPageNamesThatWouldTakeAnEntryPagesNameAreRefused) {
  // "archive" gives archive.html only as the first page; digits reach a year or a stamp.
  EXPECT_NE(EntryPagesNameClash("archive", false), "");
  EXPECT_NE(EntryPagesNameClash("Archive", false), "");
  EXPECT_EQ(EntryPagesNameClash("archive", true), "");
  EXPECT_NE(EntryPagesNameClash("archive-", true), "");
  EXPECT_NE(EntryPagesNameClash("archive-201", true), "");
  EXPECT_EQ(EntryPagesNameClash("archive-2019", true), "");
  EXPECT_NE(EntryPagesNameClash("archive-2019", false), "");
  EXPECT_NE(EntryPagesNameClash("2026-12-08-", true), "");
  EXPECT_NE(EntryPagesNameClash("2026-12-08-09554", true), "");
  EXPECT_EQ(EntryPagesNameClash("2026-12-08", true), "");
  EXPECT_EQ(EntryPagesNameClash("sitemap", false), "");
  EXPECT_EQ(EntryPagesNameClash("blog", false), "");
  const std::string message = EntryPagesNameClash("archive", false);
  EXPECT_NE(message.find("\"archive\""), std::string::npos) << message;
  EXPECT_NE(message.find("archive.html"), std::string::npos) << message;
}

}  // namespace
}  // namespace quill::site
