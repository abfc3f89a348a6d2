#include <gtest/gtest.h>

#include "core/utf8_writer.h"
#include "site/blog_pages.h"
#include "site/entry_markup.h"
#include "site/entry_site.h"
#include "support/memory_output.h"
#include "support/project_fixture.h"

namespace quill::site {
namespace {

using Lines = std::vector<std::string>;

std::string BlockParagraphs(std::string_view text) {
  core::StringSink sink;
  core::Utf8Writer writer(sink, "|");
  WriteBlockParagraphs(writer, text);
  return sink.Data();
}

TEST(BlockParagraphs, BlockLinesStandOthersArePargraphsEmptyLinesGo) {
  EXPECT_EQ(BlockParagraphs("Hello\r\n\r\nWorld"), "<p>Hello</p>|<p>World</p>|");
  EXPECT_EQ(BlockParagraphs("<ul><li>one</li>\r\n<li>two</li></ul>\r\n  <blockquote>q"),
            "<ul><li>one</li>|<li>two</li></ul>|  <blockquote>q|");
  EXPECT_EQ(BlockParagraphs("<P class=\"x\">up</P>\r\n</div>\r\n<hr>\r\n<h3>t</h3>\r\n<pre>x"),
            "<P class=\"x\">up</P>|</div>|<hr>|<h3>t</h3>|<pre>x|");
  EXPECT_EQ(BlockParagraphs("<center>c</center>\r\n<table>\r\n<figure>\r\n<dl>\r\n<ol>\r\n<h6>"),
            "<center>c</center>|<table>|<figure>|<dl>|<ol>|<h6>|");
  // Inline markup and names that only begin like a block's are paragraphs.
  EXPECT_EQ(BlockParagraphs("<b>bold</b> text\r\n<br>\r\n<param>\r\n<picture>\r\n<divx>\r\n<h7>"),
            "<p><b>bold</b> text</p>|<p><br></p>|<p><param></p>|<p><picture></p>|"
            "<p><divx></p>|<p><h7></p>|");
  // A line of blanks writes nothing, as an empty one does; so does an empty entry.
  EXPECT_EQ(BlockParagraphs(" \t\r\nText"), "<p>Text</p>|");
  EXPECT_EQ(BlockParagraphs(""), "");
}

class Html5MarkupTest : public testing::ProjectFixture {
 protected:
  Html5MarkupTest() {
    Settings().DateFormat = 0;
    Settings().Separator = 0;
    Settings().TimeFormat = 1;
    Settings().Html5 = 1;
    output_.files["quillsmith.css"] = "";
    testing::WriteFile(Settings().Template,
                       "<meta charset=\"utf-8\">\r\n<title>My Log</title>\r\n"
                       "<meta name=\"description\" content=\"My Log\">\r\n"
                       "<meta name=\"description\" content=\"second\">\r\n"
                       "BlogTOC\r\nBlogContent\r\nBlogTOC\r\n");
    Save({2026, 12, 6, 22, 15, 7}, "Hello\r\n<ul><li>one</li></ul>");
    Save({2026, 12, 5, 8, 0, 0}, "Older");
  }
  void Build() {
    EntrySite site(Settings(), entries_, output_, clock_);
    site.WritePages();
    site.Finish(BuildBlogPages(Settings(), entries_, output_).pages);
  }

  testing::MemoryOutput output_;
};

TEST_F(Html5MarkupTest, EntriesTakeAClassTheDateATimeTheSecondNavigationNoId) {
  Settings().CommentPage = 1;
  Build();
  const Lines expected = {
      "<meta charset=\"utf-8\">",
      "<title>My Log</title>",
      "<meta name=\"description\" content=\"My Log\">",
      "<meta name=\"description\" content=\"second\">",
      "<div id=\"blogNav\" class=\"blogNav\"><ul>",
      "<li>[ <a href=\"comments.html\">comment</a> ]</li>",
      "</ul></div>",
      "<div class=\"blog\">",
      "<div class=\"date\"><time datetime=\"2026-12-06T22:15:07\">Sunday, December 06, 2026 at "
      "10:15 PM</time></div>",
      "<div class=\"stuff\">",
      "<p>Hello</p>",
      "<ul><li>one</li></ul>",
      "</div></div>",
      "<div class=\"blog\">",
      "<div class=\"date\"><time datetime=\"2026-12-05T08:00:00\">Saturday, December 05, 2026 at "
      "08:00 AM</time></div>",
      "<div class=\"stuff\">",
      "<p>Older</p>",
      "</div></div>",
      "<div class=\"blogNav\"><ul>",
      "<li>[ <a href=\"comments.html\">comment</a> ]</li>",
      "</ul></div>",
  };
  EXPECT_EQ(output_.Lines("index.html"), expected);
}

TEST_F(Html5MarkupTest, WithoutTheStylesheetTheDateIsStrongAndATime) {
  output_.files.erase("quillsmith.css");
  Build();
  const Lines page = output_.Lines("index.html");
  EXPECT_EQ(page[4], "&nbsp;<br>");
  EXPECT_EQ(page[5],
            "<strong><time datetime=\"2026-12-06T22:15:07\">Sunday, December 06, 2026 at 10:15 "
            "PM</time></strong>");
  EXPECT_EQ(page[6], "<p>Hello</p>");
}

TEST_F(Html5MarkupTest, EntryPagesLinkTheTimeAndDescribeTheirEntry) {
  Settings().EntryPages = 1;
  Save({2026, 12, 4, 8, 0, 0}, "<h2>A \"long\" day &amp; night</h2>\r\n" + std::string(30, 'x') +
                                   " " + std::string(80, 'y') + " second third fourth");
  Build();
  EXPECT_EQ(output_.Lines("index.html")[6],
            "<div class=\"date\"><a href=\"2026-12-06-221507.html\"><time "
            "datetime=\"2026-12-06T22:15:07\">Sunday, December 06, 2026 at 10:15 "
            "PM</time></a></div>");
  const Lines page = output_.Lines("2026-12-06-221507.html");
  EXPECT_EQ(page[2], "<meta name=\"description\" content=\"Hello one\">");
  EXPECT_EQ(page[3], "<meta name=\"description\" content=\"second\">");
  EXPECT_EQ(page[4].substr(0, 40), "<div id=\"blogNav\" class=\"blogNav\"><ul>");
  EXPECT_EQ(page.end()[-6], "<div class=\"blogNav\"><ul>");
  // Escaped, and cut between words once past 150 characters.
  EXPECT_EQ(output_.Lines("2026-12-04-080000.html")[2],
            "<meta name=\"description\" content=\"A &quot;long&quot; day &amp; night " +
                std::string(30, 'x') + " " + std::string(80, 'y') + " second third&#8230;\">");
  EXPECT_EQ(output_.Lines("archive.html")[2], "<meta name=\"description\" content=\"My Log\">");
}

TEST_F(Html5MarkupTest, AClassicProjectKeepsTheTemplatesDescription) {
  Settings().Html5 = core::kNotStored;
  Settings().EntryPages = 1;
  Build();
  EXPECT_EQ(output_.Lines("2026-12-06-221507.html")[2],
            "<meta name=\"description\" content=\"My Log\">");
  EXPECT_EQ(output_.Lines("index.html")[8], "<p>Hello</p><p><ul><li>one</li></ul></p>");
}

}  // namespace
}  // namespace quill::site
