// quillsmith-build --import and --export, run as a user would run them.

#include <filesystem>

#include "quillsmith_build_fixture.h"

namespace quill {
namespace {

constexpr char kExport[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:content="http://purl.org/rss/1.0/modules/content/"
     xmlns:wp="http://wordpress.org/export/1.2/">
<channel>
<item><title>First</title><content:encoded><![CDATA[One <img src="https://old.example/a.jpg">]]></content:encoded>
  <wp:post_date>2019-05-01 10:00:00</wp:post_date><wp:status>publish</wp:status><wp:post_type>post</wp:post_type></item>
<item><title>Second</title><content:encoded>Two</content:encoded>
  <wp:post_date>2019-05-01 10:00:00</wp:post_date><wp:status>publish</wp:status><wp:post_type>post</wp:post_type></item>
<item><title>About</title><content:encoded>Me</content:encoded>
  <wp:post_date>2019-01-01 00:00:00</wp:post_date><wp:status>publish</wp:status><wp:post_type>page</wp:post_type></item>
</channel>
</rss>
)";

class QuillsmithBuildInterchangeTest : public QuillsmithBuildTest {
 protected:
  QuillsmithBuildInterchangeTest() { testing::WriteFile(file_, kExport); }

  std::int32_t Entries() { return store::EntryStore(settings_).CountEntriesOf("My Log"); }

  std::string file_ = home_.File("wordpress.xml");
};

TEST_F(QuillsmithBuildInterchangeTest, ImportCountsFirstWithADryRunThenBringsTheEntriesIn) {
  Outcome run = Quillsmith({"--import", file_, "--dry-run", "My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Would import 2 entries (1 moved one second); 1 image links to the old site.\n"
            "Skipped 1 page.\n"
            "Post 2 (\"Second\") moved on to 2019-05-01 10:00:01: another post has 2019-05-01 "
            "10:00:00.\n");
  EXPECT_FALSE(std::filesystem::exists(site_ + "Blog.mdb"));
  EXPECT_EQ(Stored("SavDate"), "");

  run = Quillsmith({"--import", file_, "My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("Imported 2 entries (1 moved one second); 1 image links", 0), 0u) << run.out;
  EXPECT_EQ(Entries(), 2);
  EXPECT_EQ(Stored("SavDate").size(), 6u);

  run = Quillsmith({"--import", file_, "My Log"});
  EXPECT_EQ(run.out.rfind("Imported 0 entries (2 skipped as already present)", 0), 0u) << run.out;

  testing::WriteFile(file_, std::string(kExport).substr(0, 300));
  run = Quillsmith({"--import", file_, "--replace", "My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("quillsmith-build: Nothing was imported from " + file_ + ": "),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Entries(), 2);
}

TEST_F(QuillsmithBuildInterchangeTest, ExportWritesTheFolderAndReplacesFilesOnlyWithForce) {
  ASSERT_EQ(Quillsmith({"--import", file_, "My Log"}).status, 0);
  const std::string out = home_.File("hugo");
  Outcome run = Quillsmith({"--export", out, "My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Exported 2 entries for Hugo into " + out + ".\n");
  EXPECT_TRUE(std::filesystem::exists(out + "/content/posts/2019-05-01-100001.html"));
  EXPECT_TRUE(std::filesystem::exists(out + "/hugo.toml"));

  run = Quillsmith({"--export", out, "My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Nothing was exported: " + out + " already holds "), std::string::npos)
      << run.err;
  EXPECT_EQ(Quillsmith({"--export", out, "--force", "My Log"}).status, 0);

  const std::string zola = home_.File("zola");
  EXPECT_EQ(Quillsmith({"--export", zola, "--toml", "My Log"}).status, 0);
  EXPECT_TRUE(std::filesystem::exists(zola + "/content/posts/2019-05-01-100000.md"));
  EXPECT_TRUE(std::filesystem::exists(zola + "/config.toml"));
}

TEST_F(QuillsmithBuildInterchangeTest, OptionsThatDoNotGoTogetherAreUsageErrors) {
  EXPECT_EQ(Quillsmith({"--import", "My Log"}).status, 2);
  EXPECT_EQ(Quillsmith({"--import", file_, "--export", "x", "My Log"}).status, 2);
  EXPECT_EQ(Quillsmith({"--dry-run", "My Log"}).status, 2);
  EXPECT_EQ(Quillsmith({"--export", "x", "--replace", "My Log"}).status, 2);
  const Outcome run = Quillsmith({"--import", file_, "--toml", "My Log"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("quillsmith-build: --toml and --force go with --export\n", 0), 0u) << run.err;
}

}  // namespace
}  // namespace quill
