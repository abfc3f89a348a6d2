#include <gtest/gtest.h>

#include "site/archive_pages.h"
#include "site/entry_site.h"
#include "site/page_frame.h"
#include "site/page_style.h"
#include "site/site_names.h"
#include "site/sitemap.h"
#include "store/entry_store.h"
#include "support/memory_output.h"
#include "support/project_fixture.h"

namespace quill::site {
namespace {

using core::Stamp;
using Lines = std::vector<std::string>;

class ArchiveSitemapTest : public testing::ProjectFixture {
 protected:
  ArchiveSitemapTest() {
    Settings().DateFormat = 0;
    Settings().Separator = 0;
    Settings().TimeFormat = 1;
    Settings().EntryPages = 1;
    testing::WriteFile(Settings().Template, "<title>My Log</title>\r\nBlogTOC\r\nBlogContent\r\n");
  }

  void SaveFour() {
    Save({2026, 12, 8, 9, 55, 44}, "First post. More");
    Save({2026, 12, 1, 8, 0, 0}, "");
    Save({2026, 11, 30, 23, 59, 59}, "Late <b>night</b>");
    Save({2025, 1, 1, 0, 0, 0}, "New year!");
  }
  void Archive() {
    const EntryIndex index = EntryIndex::Read(entries_);
    const PageFrame frame(Settings().Template, "My Log");
    WriteArchive(Settings(), kClassicStyle, frame, entries_, index, output_);
  }
  std::vector<std::string> Sitemap(int blog_pages) {
    const EntryIndex index = EntryIndex::Read(entries_);
    return WriteSitemap(Settings(), index, ArchivePageNames(index), blog_pages,
                        clock_.UtcOffsetSeconds(), output_);
  }

  testing::MemoryOutput output_;
};

TEST_F(ArchiveSitemapTest, TheArchiveGroupsEveryEntryByYearAndMonth) {
  SaveFour();
  Archive();
  const Lines newest_year = {
      "<h2>2026</h2>",
      "<h3>December 2026</h3>",
      "<ul>",
      "<li><a href=\"2026-12-08-095544.html\">Tuesday, December 08, 2026 at 09:55 AM \x96 First "
      "post.</a></li>",
      "<li><a href=\"2026-12-01-080000.html\">Tuesday, December 01, 2026 at 08:00 AM</a></li>",
      "</ul>",
      "<h3>November 2026</h3>",
      "<ul>",
      "<li><a href=\"2026-11-30-235959.html\">Monday, November 30, 2026 at 11:59 PM \x96 Late "
      "night</a></li>",
      "</ul>",
  };
  Lines first = {
      "<title>Archive \x96 My Log</title>",
      "<div id=\"blogNav\"><ul>",
      "<li>[ ----- ]</li>",
      "<li>[ <a href=\"index.html\">blog</a> ]</li>",
      "<li>[ <a href=\"archive-2025.html\">prev</a> ]</li>",
      "</ul></div>",
      "<div id=\"archive\">",
      "<ul class=\"years\">",
      "<li><a href=\"archive-2026.html\">2026</a> (3)</li>",
      "<li><a href=\"archive-2025.html\">2025</a> (1)</li>",
      "</ul>",
  };
  first.insert(first.end(), newest_year.begin(), newest_year.end());
  first.push_back("</div>");
  EXPECT_EQ(output_.Lines("archive.html"), first);

  Lines year = {
      "<title>Archive \x96 My Log</title>",
      "<div id=\"blogNav\"><ul>",
      "<li>[ ----- ]</li>",
      "<li>[ <a href=\"index.html\">blog</a> ]</li>",
      "<li>[ <a href=\"archive.html\">archive</a> ]</li>",
      "<li>[ <a href=\"archive-2025.html\">prev</a> ]</li>",
      "</ul></div>",
      "<div id=\"archive\">",
  };
  year.insert(year.end(), newest_year.begin(), newest_year.end());
  year.push_back("</div>");
  EXPECT_EQ(output_.Lines("archive-2026.html"), year);

  EXPECT_EQ(output_.Lines("archive-2025.html"),
            (Lines{
                "<title>Archive \x96 My Log</title>",
                "<div id=\"blogNav\"><ul>",
                "<li>[ <a href=\"archive-2026.html\">next</a> ]</li>",
                "<li>[ <a href=\"index.html\">blog</a> ]</li>",
                "<li>[ <a href=\"archive.html\">archive</a> ]</li>",
                "<li>[ ----- ]</li>",
                "</ul></div>",
                "<div id=\"archive\">",
                "<h2>2025</h2>",
                "<h3>January 2025</h3>",
                "<ul>",
                "<li><a href=\"2025-01-01-000000.html\">Wednesday, January 01, 2025 at 12:00 AM "
                "\x96 New year!</a></li>",
                "</ul>",
                "</div>",
            }));
}

TEST_F(ArchiveSitemapTest, TheSitemapListsEveryPageByItsAbsoluteAddress) {
  Save({2026, 12, 8, 9, 55, 44}, "Newer");
  Save({2025, 1, 1, 0, 0, 0}, "Older");
  Settings().Docs = "https://ann.example/my blog/";
  Settings().UseIndex = 0;
  Settings().FileNames = "my log";
  EXPECT_EQ(Sitemap(1), Lines{"sitemap.xml"});
  const std::string at = "<url><loc>https://ann.example/my%20blog/";
  EXPECT_EQ(
      output_.Lines("sitemap.xml"),
      (Lines{
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
          "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">",
          at + "2025-01-01-000000.html</loc><lastmod>2025-01-01T00:00:00+01:00</lastmod></url>",
          at + "2026-12-08-095544.html</loc><lastmod>2026-12-08T09:55:44+01:00</lastmod></url>",
          at + "archive-2025.html</loc></url>",
          at + "archive-2026.html</loc></url>",
          at + "archive.html</loc></url>",
          at + "my%20log.html</loc></url>",
          "</urlset>",
      }));

  // Without Docs the site's address serves; without either there is no sitemap.
  output_.files.clear();
  Settings().Docs = "";
  Settings().Site = "http://ann.example";
  Sitemap(1);
  EXPECT_EQ(output_.Lines("sitemap.xml")[2],
            "<url><loc>http://ann.example/2025-01-01-000000.html</loc><lastmod>2025-01-01T00:00:"
            "00+01:00</lastmod></url>");
  output_.files.clear();
  Settings().Site = "";
  EXPECT_TRUE(Sitemap(1).empty());
  EXPECT_TRUE(output_.files.empty());
}

TEST(SitemapAddress, IsPlainAsciiWithEveryEscapeItNeeds) {
  EXPECT_EQ(AbsoluteAddress("https://ann.example/blog", "a.html"),
            "https://ann.example/blog/a.html");
  EXPECT_EQ(AbsoluteAddress("https://ann.example//", "a.html"), "https://ann.example/a.html");
  EXPECT_EQ(AbsoluteAddress("https://ann.example/my%20blog/", "b c.html"),
            "https://ann.example/my%20blog/b%20c.html");
  EXPECT_EQ(AbsoluteAddress("https://b\xC3\xBC"
                            "cher.example/100%/\"x\"",
                            "caf\xC3\xA9&1.html"),
            "https://b%C3%BCcher.example/100%25/%22x%22/caf%C3%A9%261.html");
  EXPECT_EQ(SitemapNames(kSitemapAddresses), Lines{"sitemap.xml"});
  EXPECT_EQ(SitemapNames(kSitemapAddresses + 1),
            (Lines{"sitemap.xml", "sitemap-1.xml", "sitemap-2.xml"}));
  EXPECT_EQ(SitemapNames(2 * kSitemapAddresses).size(), 3u);
  EXPECT_EQ(SitemapNames(2 * kSitemapAddresses + 1).size(), 4u);
}

TEST_F(ArchiveSitemapTest, PastFiftyThousandAddressesTheSitemapIsAnIndex) {
  SaveMany(50000);  // hourly from 2026-01-01: six years
  Settings().Docs = "https://ann.example/blog";
  EXPECT_EQ(Sitemap(1), (Lines{"sitemap.xml", "sitemap-1.xml", "sitemap-2.xml"}));
  EXPECT_EQ(output_.Lines("sitemap.xml"),
            (Lines{
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                "<sitemapindex xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">",
                "<sitemap><loc>https://ann.example/blog/sitemap-1.xml</loc></sitemap>",
                "<sitemap><loc>https://ann.example/blog/sitemap-2.xml</loc></sitemap>",
                "</sitemapindex>",
            }));
  const Lines first = output_.Lines("sitemap-1.xml");
  ASSERT_EQ(first.size(), 50003u);
  EXPECT_EQ(first[2],
            "<url><loc>https://ann.example/blog/2026-01-01-000000.html</loc><lastmod>2026-01-01T00:"
            "00:00+01:00</lastmod></url>");
  EXPECT_EQ(first[50001],
            "<url><loc>https://ann.example/blog/2031-09-15-070000.html</loc><lastmod>2031-09-15T07:"
            "00:00+01:00</lastmod></url>");
  Lines second = {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                  "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"};
  for (const char* name :
       {"archive-2026.html", "archive-2027.html", "archive-2028.html", "archive-2029.html",
        "archive-2030.html", "archive-2031.html", "archive.html", "index.html"}) {
    second.push_back(std::string("<url><loc>https://ann.example/blog/") + name + "</loc></url>");
  }
  second.push_back("</urlset>");
  EXPECT_EQ(output_.Lines("sitemap-2.xml"), second);
}

}  // namespace
}  // namespace quill::site
