// The folder an export writes for Hugo and for Zola, byte for byte, and Hugo building a site
// from it.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/quill_error.h"
#include "interchange/site_export.h"
#include "publish/process.h"
#include "session_fixture.h"

namespace quill::interchange {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

class ExportTest : public testing::SessionFixture {
 protected:
  ExportTest() {
    session_.Project().Docs = "https://blog.example/";
    session_.Reload(true);
    fs::create_directories(site_);
    testing::WriteFile(site_ + "photo.jpg", "JPEG");
    testing::WriteFile(site_ + "my doc.pdf", "PDF");
    Save({2019, 5, 1, 10, 0, 0},
         "<h2>Fish &amp; \"Chips\"</h2>\r\nSee <img src=\"photo.jpg\"> and <a "
         "href=\"my%20doc.pdf\">the menu</a>\r\n<a href=\"https://x.example/\">out</a> <a "
         "href=\"#top\">up</a> <img src=\"gone.png\">");
    Save({1800, 1, 2, 3, 4, 5}, "Caf\xE9 at noon. \x01Then \xE2\x80\x9Cmore\xE2\x80\x9D");
  }

  ExportReport Export(ExportLayout layout, bool force = false) {
    return ExportEntries(session_, out_, {layout, force}, zone_);
  }

  FixedOffsetZone zone_{7200};
  std::string out_ = dir_.File("out") + "/";
};

TEST_F(ExportTest, ForHugoEachEntryIsAnHtmlFileWithYamlFrontMatter) {
  const ExportReport report = Export(ExportLayout::Hugo);
  EXPECT_EQ(ReadFile(out_ + "content/posts/2019-05-01-100000.html"),
            "---\n"
            "title: \"Fish & \\\"Chips\\\"\"\n"
            "date: 2019-05-01T10:00:00+02:00\n"
            "draft: false\n"
            "---\n"
            "<div>\n"
            "<p><h2>Fish &amp; \"Chips\"</h2></p><p>See <img src=\"/photo.jpg\"> and <a "
            "href=\"/my%20doc.pdf\">the menu</a></p><p><a href=\"https://x.example/\">out</a> <a "
            "href=\"#top\">up</a> <img src=\"/gone.png\"></p>\n"
            "</div>\n");
  EXPECT_EQ(ReadFile(out_ + "content/posts/1800-01-02-030405.html"),
            "---\n"
            "title: \"Café at noon.\"\n"
            "date: 1800-01-02T03:04:05+02:00\n"
            "draft: false\n"
            "---\n"
            "<div>\n"
            "<p>Café at noon. Then “more”</p>\n"
            "</div>\n");
  EXPECT_EQ(ReadFile(out_ + "hugo.toml"),
            "baseURL = \"https://blog.example/\"\n"
            "title = \"My Log\"\n"
            "# The blog showed entries dated in the future too.\n"
            "buildFuture = true\n");
  session_.Project().HoldFuture = 1;
  EXPECT_EQ(ConfigText(session_.Project(), ExportLayout::Hugo),
            "baseURL = \"https://blog.example/\"\n"
            "title = \"My Log\"\n"
            "# The blog kept entries dated in the future off the site until their time.\n"
            "buildFuture = false\n");
  EXPECT_EQ(ReadFile(out_ + "static/photo.jpg"), "JPEG");
  EXPECT_EQ(ReadFile(out_ + "static/my doc.pdf"), "PDF");
  EXPECT_NE(ReadFile(out_ + "README.txt").find("content/posts/"), std::string::npos);
  EXPECT_EQ(DescribeExport(report),
            (std::vector<std::string>{
                "Exported 2 entries for Hugo into " + out_ + ", with 2 files in static/.",
                "The entries link to a file the output folder does not hold: gone.png."}));
}

TEST_F(ExportTest, ForZolaEachEntryIsMarkdownWithTomlFrontMatterAndItsOwnSlug) {
  Export(ExportLayout::Zola);
  EXPECT_EQ(ReadFile(out_ + "content/posts/1800-01-02-030405.md"),
            "+++\n"
            "title = \"Café at noon.\"\n"
            "date = 1800-01-02T03:04:05+02:00\n"
            "draft = false\n"
            "slug = \"1800-01-02-030405\"\n"
            "+++\n"
            "<div>\n"
            "<p>Café at noon. Then “more”</p>\n"
            "</div>\n");
  EXPECT_EQ(ReadFile(out_ + "content/posts/_index.md"),
            "+++\ntitle = \"My Log\"\nsort_by = \"date\"\n+++\n");
  EXPECT_EQ(ReadFile(out_ + "config.toml"),
            "base_url = \"https://blog.example/\"\ntitle = \"My Log\"\n");
  EXPECT_FALSE(fs::exists(out_ + "hugo.toml"));
}

TEST_F(ExportTest, FilesAlreadyThereAreReplacedOnlyWhenAsked) {
  fs::create_directories(out_ + "static");
  testing::WriteFile(out_ + "static/photo.jpg", "Other");
  try {
    Export(ExportLayout::Hugo);
    ADD_FAILURE() << "the export replaced a file";
  } catch (const core::QuillError& error) {
    EXPECT_NE(std::string(error.what()).find("already holds static/photo.jpg"), std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(fs::exists(out_ + "content"));
  EXPECT_FALSE(fs::exists(out_ + "hugo.toml"));
  EXPECT_EQ(ReadFile(out_ + "static/photo.jpg"), "Other");

  Export(ExportLayout::Hugo, true);
  EXPECT_EQ(ReadFile(out_ + "static/photo.jpg"), "JPEG");
  EXPECT_TRUE(fs::exists(out_ + "content/posts/2019-05-01-100000.html"));
}

// Hugo builds the exported folder with the small theme beside this test, and every entry's
// text is on its page.
TEST_F(ExportTest, HugoBuildsTheExportedSite) {
  const std::string hugo = QUILL_HUGO_PATH;
  if (hugo.empty() || !fs::exists(hugo)) {
    GTEST_SKIP() << "hugo is not installed (Debian package hugo), so the round trip is not tried";
  }
  Save({2030, 6, 1, 8, 0, 0}, "Ελληνικά &amp; 日本語\r\n<b>bold</b> &lt;tag&gt;");
  Export(ExportLayout::Hugo);
  const std::string built = dir_.File("public");
  const publish::OutputFiles output{dir_.File("hugo.out"), dir_.File("hugo.err")};
  const publish::LaunchResult run =
      publish::RunAndWait(hugo,
                          {"--source", out_, "--themesDir", QUILL_TEST_THEMES, "--theme", "minimal",
                           "--destination", built},
                          output);
  ASSERT_TRUE(run.started) << run.error;
  EXPECT_EQ(run.exit_code, 0) << ReadFile(output.out) << ReadFile(output.err);
  EXPECT_EQ(ReadFile(output.err).find("ERROR"), std::string::npos) << ReadFile(output.err);
  const std::string first = ReadFile(built + "/posts/2019-05-01-100000/index.html");
  EXPECT_NE(first.find("<title>Fish &amp; &#34;Chips&#34;</title>"), std::string::npos) << first;
  EXPECT_NE(first.find("<p>See <img src=\"/photo.jpg\"> and <a href=\"/my%20doc.pdf\">the "
                       "menu</a></p>"),
            std::string::npos)
      << first;
  EXPECT_NE(ReadFile(built + "/posts/1800-01-02-030405/index.html")
                .find("<p>Café at noon. Then “more”</p>"),
            std::string::npos);
  EXPECT_NE(ReadFile(built + "/posts/2030-06-01-080000/index.html")
                .find("<p>Ελληνικά &amp; 日本語</p><p><b>bold</b> &lt;tag&gt;</p>"),
            std::string::npos);
  EXPECT_EQ(ReadFile(built + "/photo.jpg"), "JPEG");
}

}  // namespace
}  // namespace quill::interchange
