#include "site/rss_feed.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/text.h"
#include "site/text_digest.h"
#include "site/xml_text.h"
#include "support/memory_output.h"
#include "support/project_fixture.h"

namespace quill::site {
namespace {

using core::Stamp;
using Lines = std::vector<std::string>;

// What a strict, non-recovering XML reader says of a document: "" when it is well-formed,
// else the error and its line. Expat reads a document without an encoding as UTF-8.
std::string XmlError(const std::string& document) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  std::string error;
  if (XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) ==
      XML_STATUS_ERROR) {
    error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
            std::to_string(XML_GetCurrentLineNumber(parser));
  }
  XML_ParserFree(parser);
  return error;
}

class RssFeedTest : public testing::ProjectFixture {
 protected:
  RssFeedTest() {
    clock_.Set({2026, 12, 7, 9, 30, 0});
    clock_.SetUtcOffset(3600);
  }
  Lines Feed() {
    WriteRssFeed(Settings(), entries_, clock_, output_);
    const Lines lines = output_.Lines("rss.xml");  // every line ends with CR LF
    EXPECT_EQ(XmlError(output_.files["rss.xml"]), "");
    return lines;
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
                        "         <title>Fish &amp; chips for tea</title>",
                        "         <link>http://www.example.com/blog/</link>",
                        "         <description>Fish &amp; chips for tea</description>",
                        "         <pubDate>Sat, 05 Dec 2026 08:00:00 +0100</pubDate>",
                        "         <guid>http://www.example.com/blog/#001</guid>",
                        "      </item>",
                        "   </channel>",
                        "</rss>",
                    }));
}

TEST_F(RssFeedTest, WithEntryPagesEachItemLinksItsOwnPageAndIsThatPagePermanently) {
  Settings().EntryPages = 1;
  Settings().Docs = "http://www.example.com/blog";  // joined with the name by one slash
  Save(Stamp{2026, 12, 6, 22, 15, 7}, "Newer");
  Save(Stamp{2026, 12, 5, 8, 0, 0}, "Older");
  Lines links;
  for (const std::string& line : Feed()) {
    if (line.starts_with("         <link>") || line.starts_with("         <guid")) {
      links.push_back(line);
    }
  }
  const std::string base = "http://www.example.com/blog/";
  EXPECT_EQ(links, (Lines{
                       "         <link>" + base + "2026-12-06-221507.html</link>",
                       "         <guid isPermaLink=\"true\">" + base +
                           "2026-12-06-221507.html</guid>",
                       "         <link>" + base + "2026-12-05-080000.html</link>",
                       "         <guid isPermaLink=\"true\">" + base +
                           "2026-12-05-080000.html</guid>",
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

// Text a strict reader used to refuse: the feed keeps every line and stays well-formed
// ASCII XML (Feed() parses each one), showing the characters the pages show.
TEST_F(RssFeedTest, HostileTitlesAndEntriesGiveWellFormedAsciiXml) {
  struct Case {
    std::string title, entry, channel_title, item_title, description;
  };
  const Case cases[] = {
      {"Caf\xC3\xA9 \xE2\x80\x9CLog\xE2\x80\x9D \xE2\x82\xAC",
       "\xC5\x81\xC3\xB3"
       "d\xC5\xBA \xF0\x9F\x98\x80 caf\xE9.",
       "Caf&#233; &#8220;Log&#8221; &#8364;", "&#321;&#243;d&#378; &#128512; caf&#233;.",
       "&#321;&#243;d&#378; &#128512; caf&#233;."},
      {"Fish & Chips &amp; Peas", "Rock & roll &eacute;t&eacute; &mdash; &bogus; &#8364; &#128;",
       "Fish &amp; Chips &amp; Peas", "Rock &amp; roll &#233;t&#233;",
       "Rock &amp; roll &#233;t&#233; &#8212; &amp;bogus; &#8364; &#8364;"},
      // A cut at 32 characters would leave "&am" of "&amp;".
      {"A&nbsp;B < C", "abcdefghijklmnopqrstuvwxyz0123&amp;rest", "A&#160;B &lt; C",
       "abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvwxyz0123&amp;rest"},
      {std::string("Bell\x07 NUL") + '\0' +
           "\x0B\x0C\x1B"
           " end",
       "Tab\tkept\x1B\x7F, C1\xC2\x85 gone", "Bell NUL end", "Tab\tkept, C1 gone",
       "Tab\tkept, C1 gone"},
      {"Two\nlines\r\nand\rthree", "Line one\rline two\nline three\r\nfour", "Two lines and three",
       "Line one line two line three", "Line one line two line three four"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    Settings().Title = c.title;
    Save(Stamp{2026, 12, 6, 22, 15, 7}, c.entry);
    const Lines lines = Feed();
    for (const std::string& line : lines) {
      EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char b) { return b > 0 && b < 0x7F; }))
          << line;
    }
    EXPECT_EQ(lines[3], "      <title>" + c.channel_title + "</title>");
    EXPECT_EQ(lines[4], "      <description>" + c.channel_title + "</description>");
    EXPECT_EQ(lines[10], "         <title>" + c.item_title + "</title>");
    EXPECT_EQ(lines[11], "         <description>" + c.description + "</description>");
  }
}

// Pieces of text that broke the feed.
const std::string kHostilePieces[] = {"&",
                                      "&amp;",
                                      "&nbsp;",
                                      "&bogus;",
                                      "&#",
                                      "&#x",
                                      "&#0;",
                                      "&#128;",
                                      "&#xD800;",
                                      ";",
                                      "<",
                                      ">",
                                      "<b>",
                                      "</i>",
                                      "]]>",
                                      "\"",
                                      "'",
                                      "\r",
                                      "\n",
                                      "\t",
                                      " ",
                                      ".",
                                      "a",
                                      "-",
                                      "\xC3\xA9",
                                      "\xE9",
                                      "\x81",
                                      "\xEF\xBF\xBE",
                                      "\xF0\x9F\x98\x80",
                                      std::string(1, '\0'),
                                      "\x07",
                                      "\x1B"};

// Any title, any entries, any addresses: pieces that broke the feed, thrown together.
TEST_F(RssFeedTest, AnyTextAtAllGivesWellFormedXml) {
  std::mt19937 random(11);
  const auto text = [&] {
    std::string t;
    for (int n = random() % 40; n > 0; --n)
      t += kHostilePieces[random() % std::size(kHostilePieces)];
    return t;
  };
  for (int round = 0; round < 30; ++round) {
    Settings().Title = text();
    Settings().Docs = "http://x.example/" + text();
    Settings().Editor = text();
    Settings().Master = text();
    Save(Stamp{2026, 12, 6, 22, 15, 7}, text());
    Save(Stamp{2026, 12, 5, 22, 15, 7}, text());
    SCOPED_TRACE(Settings().Title);
    Feed();
  }
}

// An item is made in pieces, never from a whole copy of its entry: short texts, texts whose
// title stands beyond a run of spaces, and an entry of 12 MB give the item that the entry's
// whole plain text gives.
TEST_F(RssFeedTest, AnEntryOfAnyLengthGivesTheItemOfItsWholeText) {
  std::mt19937 random(17);
  const auto text = [&](std::size_t bytes) {
    std::string t;
    while (t.size() < bytes) {
      t += random() % 3 == 0 ? std::string(random() % 80, ' ')
                             : kHostilePieces[random() % std::size(kHostilePieces)];
    }
    return t;
  };
  const auto check = [&](const std::string& entry) {
    Save(Stamp{2026, 12, 6, 22, 15, 7}, entry);
    const std::string plain = StripMarkup(core::ReplaceLineBreaks(entry, " "));
    const Lines lines = Feed();
    EXPECT_EQ(lines[10], "         <title>" + XmlText(ExtractEntryTitle(plain)) + "</title>");
    EXPECT_EQ(lines[11], "         <description>" + XmlText(plain) + "</description>");
  };
  for (int round = 0; round < 300; ++round) check(text(random() % 700));
  check(text(12 << 20));
}

TEST_F(RssFeedTest, AnEmptyBlogHasAChannelWithoutItems) {
  const Lines lines = Feed();
  EXPECT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[9], "   </channel>");
}

}  // namespace
}  // namespace quill::site

namespace quill::site {
namespace {

TEST_F(RssFeedTest, TheLanguageFollowsTheProjectOnlyInHtml5Projects) {
  const auto language = [&] { return Feed()[5]; };
  Settings().Language = "de-CH";
  EXPECT_EQ(language(), "      <language>en-us</language>");  // classic: whatever Language holds
  Settings().Html5 = 1;
  EXPECT_EQ(language(), "      <language>de-CH</language>");
  Settings().Language.clear();
  EXPECT_EQ(language(), "      <language>en</language>");
}

}  // namespace
}  // namespace quill::site
