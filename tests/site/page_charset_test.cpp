#include "site/page_charset.h"

#include <gtest/gtest.h>

#include "site/blog_pages.h"
#include "site/entry_site.h"
#include "support/memory_output.h"
#include "support/project_fixture.h"

namespace quill::site {
namespace {

TEST(DeclaredCharset, TheFirstMetaDeclarationInAnyCaseAndSpacing) {
  const auto utf8 = PageCharset::Utf8;
  const auto win = PageCharset::Windows1252;
  const std::pair<const char*, PageCharset> cases[] = {
      {"<head><meta charset=\"utf-8\"></head>", utf8},
      {"<META CHARSET = \"UTF-8\" >", utf8},
      {"<meta\tcharset=utf8>", utf8},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />", win},
      {"<meta http-equiv=\"content-type\" content=\"text/html; Charset = UTF-8\">", utf8},
      {"<meta charset=\"windows-1252\">", win},
      {"<meta charset=' utf-8 '>", utf8},
      // The first declaration counts, as it does for a browser.
      {"<meta charset=\"iso-8859-1\"><meta charset=\"utf-8\">", win},
      {"<meta charset=\"utf-8\"><meta charset=\"iso-8859-1\">", utf8},
      // No declaration: neither text outside a meta element nor another element's attribute.
      {"<p>charset=utf-8</p>", win},
      {"<metadata charset=\"utf-8\">", win},
      {"<meta name=\"charset-note\" content=\"utf-8\"><title>x</title>", win},
      {"", win},
      // A byte order mark says UTF-8 whatever follows.
      {"\xEF\xBB\xBF<meta charset=\"iso-8859-1\">", utf8},
  };
  for (const auto& [bytes, charset] : cases) {
    EXPECT_EQ(DeclaredCharset(bytes), charset) << bytes;
  }
}

// The same characters in a page of each set: the template's own bytes as they stand, the
// generator's text in the set the template declares.
class PageCharsetTest : public testing::ProjectFixture {
 protected:
  PageCharsetTest() {
    Settings().Title = "Cr\u00e8me \u0142";  // è fits Windows-1252, ł does not
    Settings().EntryPages = 1;
    output_.files["quillsmith.css"] = "";
    Save({2026, 12, 8, 9, 55, 44}, "Gr\u00fc\u00dfe \u2014 \u0141\u00f3d\u017a");
  }

  void BuildWith(const std::string& head) {
    testing::WriteFile(Settings().Template,
                       head + "\r\n<title>BlogTitle</title>\r\nBlogTOC\r\nBlogContent\r\n");
    EntrySite site(Settings(), entries_, output_, clock_);
    site.WritePages();
    site.Finish(BuildBlogPages(Settings(), entries_, output_).pages);
  }
  bool Holds(const std::string& page, const std::string& bytes) {
    return output_.files.at(page).find(bytes) != std::string::npos;
  }

  testing::MemoryOutput output_;
};

TEST_F(PageCharsetTest, AUtf8TemplateGivesUtf8Pages) {
  BuildWith("<meta charset=\"UTF-8\">");
  for (const char* page : {"index.html", "2026-12-08-095544.html", "archive.html"}) {
    EXPECT_TRUE(Holds(page, "Cr\xC3\xA8me \xC5\x82</title>")) << page;
  }
  EXPECT_TRUE(Holds("index.html",
                    "<p>Gr\xC3\xBC\xC3\x9F"
                    "e \xE2\x80\x94 \xC5\x81\xC3\xB3"
                    "d\xC5\xBA</p>"));
  EXPECT_TRUE(Holds("2026-12-08-095544.html", "<p>Gr\xC3\xBC\xC3\x9F"));
  // The dash between the entry's title and the template's.
  EXPECT_TRUE(Holds("2026-12-08-095544.html", " \xE2\x80\x93 Cr\xC3\xA8me"));
}

TEST_F(PageCharsetTest, AnIsoTemplateGivesWindows1252PagesWithTheSameCharacters) {
  BuildWith("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />");
  EXPECT_TRUE(Holds("index.html", "<title>Cr\xE8me &#322;</title>"));
  EXPECT_TRUE(Holds("index.html",
                    "<p>Gr\xFC\xDF"
                    "e \x97 &#321;\xF3"
                    "d&#378;</p>"));
  EXPECT_TRUE(Holds("2026-12-08-095544.html", " \x96 Cr\xE8me &#322;"));
  EXPECT_TRUE(Holds("archive.html", "<title>Archive \x96 Cr\xE8me &#322;"));
}

TEST_F(PageCharsetTest, NoDeclarationKeepsWindows1252) {
  BuildWith("<head>");
  EXPECT_TRUE(Holds("index.html", "<title>Cr\xE8me &#322;</title>"));
  EXPECT_TRUE(Holds("2026-12-08-095544.html", "<p>Gr\xFC\xDF"));
}

}  // namespace
}  // namespace quill::site
