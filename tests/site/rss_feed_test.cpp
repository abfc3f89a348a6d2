#include "site/rss_feed.h"

#include <gtest/gtest.h>

#include "support/memory_output.h"
#include "support/project_fixture.h"

namespace quill::site {
namespace {

using core::Stamp;
using Lines = std::vector<std::string>;

class RssFeedTest : public testing::ProjectFixture {
 protected:
  RssFeedTest() {
    clock_.Set({2026, 12, 7, 9, 30, 0});
    clock_.SetUtcOffset(3600);
  }
  Lines Feed() {
    WriteRssFeed(Settings(), entries_, clock_, output_);
    return output_.Lines("rss.xml");
  }
  testing::MemoryOutput output_;
};

TEST_F(RssFeedTest, AChannelWithItsAddressesAndItems) {
  Settings().Docs = "http://www.example.com/blog/";
  Settings().Editor = "ann@example.com";
  Settings().Master = "ann@example.com";
  Save(Stamp{2026, 12, 6, 22, 15, 7}, "<b>Big news!</b> More later.");
  Save(Stamp{2026, 12, 5, 8, 0, 0}, "Fish & chips\r\nfor <i>tea</i>");
  EXPECT_EQ(Feed(), (Lines{
                        "<?xml version=\"1.0\"?>",
                        "<rss version=\"2.0\">",
                        "   <channel>",
                        "      <title>My Log</title>",
                        "      <link>http://www.example.com/blog/</link>",
                        "      <description>My Log</description>",
                        "      <language>en-us</language>",
                        "      <pubDate>Mon, 07 Dec 2026 09:30:00 +0100</pubDate>",
                        "      <lastBuildDate>Mon, 07 Dec 2026 09:30:00 +0100</lastBuildDate>",
                        "      <docs>http://www.example.com/blog/</docs>",
                        "      <generator>Ardentware Quillsmith v1.00</generator>",
                        "      <managingEditor>ann@example.com</managingEditor>",
                        "      <webMaster>ann@example.com</webMaster>",
                        "      <item>",
                        "         <title>Big news!</title>",
                        "         <link>http://www.example.com/blog/</link>",
                        "         <description>Big news! More later.</description>",
                        "         <pubDate>Sun, 06 Dec 2026 22:15:07 +0100</pubDate>",
                        "         <guid>http://www.example.com/blog/#002</guid>",
                        "      </item>",
                        "      <item>",
                        "         <title>Fish & chips for tea</title>",
                        "         <link>http://www.example.com/blog/</link>",
                        "         <description>Fish & chips for tea</description>",
                        "         <pubDate>Sat, 05 Dec 2026 08:00:00 +0100</pubDate>",
                        "         <guid>http://www.example.com/blog/#001</guid>",
                        "      </item>",
                        "   </channel>",
                        "</rss>",
                    }));
}

TEST_F(RssFeedTest, BlankAddressesLeaveTheirElementsOut) {
  Settings().Docs = "";
  Settings().Editor = "   ";
  Settings().Master = "";
  Save(Stamp{2026, 12, 6, 22, 15, 7}, "Short.");
  EXPECT_EQ(Feed(), (Lines{
                        "<?xml version=\"1.0\"?>",
                        "<rss version=\"2.0\">",
                        "   <channel>",
                        "      <title>My Log</title>",
                        "      <description>My Log</description>",
                        "      <language>en-us</language>",
                        "      <pubDate>Mon, 07 Dec 2026 09:30:00 +0100</pubDate>",
                        "      <lastBuildDate>Mon, 07 Dec 2026 09:30:00 +0100</lastBuildDate>",
                        "      <generator>Ardentware Quillsmith v1.00</generator>",
                        "      <item>",
                        "         <title>Short.</title>",
                        "         <description>Short.</description>",
                        "         <pubDate>Sun, 06 Dec 2026 22:15:07 +0100</pubDate>",
                        "      </item>",
                        "   </channel>",
                        "</rss>",
                    }));
}

TEST_F(RssFeedTest, GuidsCountFromTheOldestAndTheFeedHoldsArticlesPlusOneItems) {
  Settings().Docs = "http://x.example/";
  SaveMany(3);
  Lines guids;
  for (const std::string& line : Feed()) {
    if (line.find("<guid>") != std::string::npos) guids.push_back(line);
  }
  EXPECT_EQ(guids, (Lines{"         <guid>http://x.example/#003</guid>",
                          "         <guid>http://x.example/#002</guid>",
                          "         <guid>http://x.example/#001</guid>"}));

  SaveMany(1200);
  const Lines lines = Feed();
  int items = 0;
  for (const std::string& line : lines) items += line == "      <item>";
  EXPECT_EQ(items, 11);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "         <guid>http://x.example/#1200</guid>"),
            1);

  Settings().Articles = 0;
  items = 0;
  for (const std::string& line : Feed()) items += line == "      <item>";
  EXPECT_EQ(items, 1);
}

TEST_F(RssFeedTest, AnEmptyBlogHasAChannelWithoutItems) {
  const Lines lines = Feed();
  EXPECT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[9], "   </channel>");
}

}  // namespace
}  // namespace quill::site
