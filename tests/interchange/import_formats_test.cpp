// Each field of a WordPress export, an RSS 2.0 feed and an Atom 1.0 feed, from samples
// written by hand as those programs write them.

#include <gtest/gtest.h>

#include "interchange/entry_import.h"
#include "session_fixture.h"

namespace quill::interchange {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

constexpr char kWordPress[] = R"(<?xml version="1.0" encoding="UTF-8" ?>
<rss version="2.0"
	xmlns:excerpt="http://wordpress.org/export/1.2/excerpt/"
	xmlns:content="http://purl.org/rss/1.0/modules/content/"
	xmlns:dc="http://purl.org/dc/elements/1.1/"
	xmlns:wp="http://wordpress.org/export/1.2/">
<channel>
	<title>Old Blog</title>
	<pubDate>Mon, 01 Jan 2024 00:00:00 +0000</pubDate>
	<wp:wxr_version>1.2</wp:wxr_version>
	<item>
		<title>Fish &amp; "Chips" &lt;3</title>
		<pubDate>Wed, 01 May 2019 08:00:00 +0000</pubDate>
		<description></description>
		<content:encoded><![CDATA[
First line
Second <b>line</b>
]]></content:encoded>
		<excerpt:encoded><![CDATA[The excerpt]]></excerpt:encoded>
		<wp:post_date><![CDATA[2019-05-01 10:00:00]]></wp:post_date>
		<wp:post_date_gmt><![CDATA[2019-05-01 08:00:00]]></wp:post_date_gmt>
		<wp:status><![CDATA[publish]]></wp:status>
		<wp:post_type><![CDATA[post]]></wp:post_type>
		<wp:comment>
			<wp:comment_date><![CDATA[2019-06-01 00:00:00]]></wp:comment_date>
			<wp:comment_content><![CDATA[A reader's comment]]></wp:comment_content>
		</wp:comment>
	</item>
	<item>
		<title>Ελληνικά 日本語</title>
		<content:encoded><![CDATA[<h2>Ελληνικά 日本語</h2>Κείμενο]]></content:encoded>
		<wp:post_date>2019-05-02 11:30:15</wp:post_date>
		<wp:status>publish</wp:status>
		<wp:post_type>post</wp:post_type>
	</item>
	<item><title>A draft</title><content:encoded>d</content:encoded>
		<wp:post_date>2019-05-03 00:00:00</wp:post_date><wp:status>draft</wp:status>
		<wp:post_type>post</wp:post_type></item>
	<item><title>Scheduled</title><content:encoded>s</content:encoded>
		<wp:post_date>2030-01-01 09:00:00</wp:post_date><wp:status>future</wp:status>
		<wp:post_type>post</wp:post_type></item>
	<item><title>Private</title><content:encoded>p</content:encoded>
		<wp:post_date>2019-05-04 00:00:00</wp:post_date><wp:status>private</wp:status>
		<wp:post_type>post</wp:post_type></item>
	<item><title>About</title><content:encoded>a page</content:encoded>
		<wp:post_date>2019-01-01 00:00:00</wp:post_date><wp:status>publish</wp:status>
		<wp:post_type>page</wp:post_type></item>
	<item><title>photo</title><wp:post_date>2019-01-02 00:00:00</wp:post_date>
		<wp:status>inherit</wp:status><wp:post_type>attachment</wp:post_type></item>
	<item><title>Home</title><wp:post_date>2019-01-03 00:00:00</wp:post_date>
		<wp:status>publish</wp:status><wp:post_type>nav_menu_item</wp:post_type></item>
</channel>
</rss>
)";

class ImportFormatsTest : public testing::SessionFixture {
 protected:
  ImportReport Import(const std::string& bytes, ImportOptions options = {}) {
    return ImportEntries(session_, Given("feed.xml", bytes), options, zone_);
  }

  FixedOffsetZone zone_{3600};  // this machine: one hour ahead of UTC
};

TEST_F(ImportFormatsTest, WordPressPostsBecomeEntriesAtTheirOwnLocalDate) {
  const ImportReport report = Import(kWordPress);
  EXPECT_EQ(report.format, FeedFormat::WordPress);
  EXPECT_EQ(Stored(), (Rows{{"2019-05-01 10:00:00",
                             "<h2>Fish &amp; &quot;Chips&quot; &lt;3</h2>\r\nFirst line\r\n"
                             "Second <b>line</b>"},
                            {"2019-05-02 11:30:15", "<h2>Ελληνικά 日本語</h2>Κείμενο"}}));
  EXPECT_EQ(DescribeImport(report),
            (std::vector<std::string>{
                "Imported 2 entries.",
                "Skipped 1 page, 1 attachment, 1 other item and 3 posts not published."}));
}

TEST_F(ImportFormatsTest, DraftsAndScheduledPostsComeWhenAskedButPrivateOnesNever) {
  ImportOptions options;
  options.drafts = true;
  const ImportReport report = Import(kWordPress, options);
  EXPECT_EQ(report.imported, 4);
  EXPECT_EQ(report.unpublished, 1);
  const Rows rows = Stored();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2], (std::pair<std::string, std::string>{"2019-05-03 00:00:00", "<h2>A draft</h2>\r\nd"}));
  EXPECT_EQ(rows[3].first, "2030-01-01 09:00:00");
}

TEST_F(ImportFormatsTest, RssDatesWithAnOffsetBecomeThisMachinesLocalTime) {
  Import(R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:content="http://purl.org/rss/1.0/modules/content/"
     xmlns:dc="http://purl.org/dc/elements/1.1/">
<channel><title>Elsewhere</title>
<item><title>Plus two</title><pubDate>Wed, 01 May 2019 10:00:00 +0200</pubDate>
  <description>&lt;p&gt;Short&lt;/p&gt;</description>
  <content:encoded><![CDATA[<p>Full</p>]]></content:encoded></item>
<item><title>In GMT</title><pubDate>2 May 2019 10:00 GMT</pubDate>
  <description>&lt;i&gt;Only the description&lt;/i&gt;</description></item>
<item><title>Eastern</title><pubDate>Fri, 03 May 19 10:00:00 EST</pubDate><description>e</description></item>
<item><title>No zone</title><pubDate>Sat, 04 May 2019 10:00:00</pubDate><description>n</description></item>
<item><title>Dublin Core</title><dc:date>2019-05-05T10:00:00-01:00</dc:date><description>c</description></item>
</channel></rss>)");
  EXPECT_EQ(Stored(), (Rows{{"2019-05-01 09:00:00", "<h2>Plus two</h2>\r\n<p>Full</p>"},
                            {"2019-05-02 11:00:00", "<h2>In GMT</h2>\r\n<i>Only the description</i>"},
                            {"2019-05-03 16:00:00", "<h2>Eastern</h2>\r\ne"},
                            {"2019-05-04 10:00:00", "<h2>No zone</h2>\r\nn"},
                            {"2019-05-05 12:00:00", "<h2>Dublin Core</h2>\r\nc"}}));
}

TEST_F(ImportFormatsTest, AtomTakesPublishedElseUpdatedAndReadsEachKindOfText) {
  const ImportReport report = Import(R"(<?xml version="1.0" encoding="utf-8"?>
<feed xmlns="http://www.w3.org/2005/Atom">
  <title>Atom Blog</title><updated>2024-01-01T00:00:00Z</updated>
  <entry>
    <title type="html">Bold &lt;b&gt;move&lt;/b&gt;</title>
    <published>2019-05-01T10:00:00Z</published><updated>2020-01-01T00:00:00Z</updated>
    <content type="html">&lt;p&gt;One&lt;/p&gt;</content>
  </entry>
  <entry>
    <title>Plain &lt;text&gt; &amp; more</title>
    <updated>2019-05-02T10:00:00.75+02:00</updated>
    <content>a &lt; b
and b &gt; c</content>
  </entry>
  <entry>
    <title type="xhtml"><div xmlns="http://www.w3.org/1999/xhtml">An <em>XHTML</em> title</div></title>
    <published>2019-05-03T10:00:00+01:00</published>
    <content type="xhtml">
      <div xmlns="http://www.w3.org/1999/xhtml"><p class="x" title="&quot;q&quot;">Hi &amp; <a href="/a?b=1&amp;c=2">link</a><br/>next</p></div>
    </content>
  </entry>
  <entry>
    <title>Elsewhere</title><published>2019-05-04T10:00:00Z</published>
    <content src="https://elsewhere.example/post" type="text/html"/>
    <summary>Just the summary</summary>
  </entry>
</feed>)");
  EXPECT_EQ(report.format, FeedFormat::Atom);
  EXPECT_EQ(Stored(),
            (Rows{{"2019-05-01 11:00:00", "<h2>Bold <b>move</b></h2>\r\n<p>One</p>"},
                  {"2019-05-02 09:00:00",
                   "<h2>Plain &lt;text&gt; &amp; more</h2>\r\na &lt; b\r\nand b &gt; c"},
                  {"2019-05-03 10:00:00",
                   "<h2>An <em>XHTML</em> title</h2>\r\n<p class=\"x\" title=\"&quot;q&quot;\">Hi "
                   "&amp; <a href=\"/a?b=1&amp;c=2\">link</a><br />next</p>"},
                  {"2019-05-04 11:00:00", "<h2>Elsewhere</h2>\r\nJust the summary"}}));
}

}  // namespace
}  // namespace quill::interchange
