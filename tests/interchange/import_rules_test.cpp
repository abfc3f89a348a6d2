// What an import does with posts that share a second or meet an entry already there, with
// files that break or attack, and with the pictures the posts show.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "core/quill_error.h"
#include "interchange/entry_import.h"
#include "session_fixture.h"

namespace quill::interchange {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

// A WordPress export of the given items.
std::string Export(const std::string& items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<rss version=\"2.0\" xmlns:content=\"http://purl.org/rss/1.0/modules/content/\"\n"
         "     xmlns:wp=\"http://wordpress.org/export/1.2/\">\n<channel>\n" +
         items + "</channel>\n</rss>\n";
}

// A published post.
std::string Post(const std::string& title, const std::string& date, const std::string& content) {
  return "<item><title>" + title + "</title><content:encoded><![CDATA[" + content +
         "]]></content:encoded><wp:post_date>" + date +
         "</wp:post_date><wp:status>publish</wp:status><wp:post_type>post</wp:post_type></item>\n";
}

class ImportRulesTest : public testing::SessionFixture {
 protected:
  ImportReport Import(const std::string& bytes, ImportOptions options = {}) {
    return ImportEntries(session_, Given("feed.xml", bytes), options, zone_);
  }
  // The message of the import's failure.
  std::string Failure(const std::string& bytes) {
    try {
      Import(bytes);
    } catch (const core::QuillError& error) {
      return error.what();
    }
    ADD_FAILURE() << "the import did not fail";
    return {};
  }

  FixedOffsetZone zone_{0};
};

TEST_F(ImportRulesTest, APostOfAnotherPostsSecondMovesOnAndOneAlreadyPresentIsSkipped) {
  Save({2019, 5, 1, 12, 0, 0}, "Mine");
  const std::string file = Export(Post("A", "2019-05-01 10:00:00", "a") +
                                  Post("B", "2019-05-01 10:00:00", "b") +
                                  Post("C", "2019-05-01 10:00:00", "c") +
                                  Post("D", "2019-05-01 12:00:00", "d") +
                                  Post("E", "2019-05-01 12:00:00", "e"));
  const ImportReport first = Import(file);
  EXPECT_EQ(Stored(), (Rows{{"2019-05-01 10:00:00", "<h2>A</h2>\r\na"},
                            {"2019-05-01 10:00:01", "<h2>B</h2>\r\nb"},
                            {"2019-05-01 10:00:02", "<h2>C</h2>\r\nc"},
                            {"2019-05-01 12:00:00", "Mine"},
                            {"2019-05-01 12:00:01", "<h2>E</h2>\r\ne"}}));
  EXPECT_EQ(DescribeImport(first),
            (std::vector<std::string>{
                "Imported 4 entries (3 moved one second, 1 skipped as already present).",
                "Post 2 (\"B\") moved on to 2019-05-01 10:00:01: another post has 2019-05-01 "
                "10:00:00.",
                "Post 3 (\"C\") moved on to 2019-05-01 10:00:02: another post has 2019-05-01 "
                "10:00:00.",
                "Post 5 (\"E\") moved on to 2019-05-01 12:00:01: another post has 2019-05-01 "
                "12:00:00."}));

  // The same file again finds every post in place, the moved ones at their new seconds.
  const ImportReport again = Import(file);
  EXPECT_EQ(again.imported, 0);
  EXPECT_EQ(again.present, 5);

  ImportOptions replace;
  replace.replace = true;
  const ImportReport replaced = Import(file, replace);
  EXPECT_EQ(replaced.imported, 5);
  EXPECT_EQ(replaced.replaced, 5);
  EXPECT_EQ(Stored().size(), 5u);
  EXPECT_EQ(Stored()[3], (std::pair<std::string, std::string>{"2019-05-01 12:00:00", "<h2>D</h2>\r\nd"}));
}

TEST_F(ImportRulesTest, ABrokenFileChangesNothingAndSaysWhereItStopped) {
  Save({2000, 1, 1, 0, 0, 0}, "Kept");
  const std::string good = Post("One", "2019-05-01 10:00:00", "1") + Post("Two", "2019-05-02 10:00:00", "2");
  // Cut off in the middle of an element.
  std::string message = Failure(Export(good).substr(0, Export(good).size() - 30));
  EXPECT_NE(message.find("Nothing was imported from " + dir_.File("feed.xml")), std::string::npos);
  EXPECT_NE(message.find("in the middle of an element"), std::string::npos) << message;
  EXPECT_NE(message.find("line 6, column"), std::string::npos) << message;
  // Declared UTF-8 but written in Latin-1.
  message = Failure(Export(good + Post("Caf\xE9", "2019-05-03 10:00:00", "3")));
  EXPECT_NE(message.find("not text in the encoding it declares"), std::string::npos) << message;
  EXPECT_NE(message.find("line 7, column"), std::string::npos) << message;
  // Not a feed at all.
  message = Failure("<html><body>Hi</body></html>");
  EXPECT_NE(message.find("its first element is <html>"), std::string::npos) << message;
  EXPECT_EQ(Stored(), (Rows{{"2000-01-01 00:00:00", "Kept"}}));

  // A write that fails half-way, as on a full disk, takes back the posts before it.
  session_.Entries().CloseBlogDatabase();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(session_.Project().DatabasePath.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TRIGGER full BEFORE INSERT ON \"My Log\" WHEN NEW.Date LIKE "
                         "'2019-05-02%' BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  message = Failure(Export(good));
  EXPECT_NE(message.find("database or disk is full"), std::string::npos) << message;
  EXPECT_NE(message.find("stopped at the file's item 2"), std::string::npos) << message;
  EXPECT_EQ(Stored(), (Rows{{"2000-01-01 00:00:00", "Kept"}}));
}

TEST_F(ImportRulesTest, AnEntityBombIsRefused) {
  std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE rss [\n<!ENTITY a0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i) {
    bomb += "<!ENTITY a" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) bomb += "&a" + std::to_string(i - 1) + ";";
    bomb += "\">\n";
  }
  bomb += "]>\n<rss version=\"2.0\"><channel><item><title>&a9;</title></item></channel></rss>\n";
  const std::string message = Failure(bomb);
  EXPECT_NE(message.find("entity bomb"), std::string::npos) << message;
  EXPECT_TRUE(Stored().empty());
}

TEST_F(ImportRulesTest, OddButWellFormedPostsComeInWhole) {
  // WordPress writes "]]>" inside content as the end of one CDATA section and the start of
  // the next.
  const std::string nested = "<![CDATA[<pre><![CDATA[x]]]]><![CDATA[></pre>]]>";
  const std::string big(20 << 20, 'w');
  const ImportReport report = Import(Export(
      "<item><title>Nested</title><content:encoded>" + nested +
      "</content:encoded><wp:post_date>2019-05-01 10:00:00</wp:post_date></item>\n" +
      Post("No date at all", "0000-00-00 00:00:00", "x") +
      "<item><title>Nothing</title><content:encoded>y</content:encoded></item>\n" +
      Post("Old", "1800-01-01 00:00:00", "o") + Post("Late", "9999-12-31 23:59:59", "l") +
      Post("Later", "9999-12-31 23:59:59", "m") + Post("Big", "2019-05-02 10:00:00", big)));
  const Rows rows = Stored();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (std::pair<std::string, std::string>{"1800-01-01 00:00:00", "<h2>Old</h2>\r\no"}));
  EXPECT_EQ(rows[1].second, "<h2>Nested</h2>\r\n<pre><![CDATA[x]]></pre>");
  EXPECT_EQ(rows[2].second, "<h2>Big</h2>\r\n" + big);
  EXPECT_EQ(rows[3].first, "9999-12-31 23:59:59");
  EXPECT_EQ(report.undated, 3);
  EXPECT_EQ(DescribeImport(report)[2],
            "Post 2 (\"No date at all\") was skipped: it has no date that can be read.");
}

TEST_F(ImportRulesTest, ADryRunCountsWhatWouldComeAndChangesNothing) {
  const ImportReport report = Import(Export(Post("A", "2019-05-01 10:00:00", "<img src=\"https://old.example/a.jpg\">") +
                                            Post("B", "2019-05-01 10:00:00", "b")),
                                     {.drafts = false, .replace = false, .dry_run = true, .images = {}});
  EXPECT_EQ(DescribeImport(report)[0],
            "Would import 2 entries (1 moved one second); 1 image links to the old site.");
  EXPECT_FALSE(std::filesystem::exists(site_));
}

TEST_F(ImportRulesTest, PicturesFoundLocallyComeUnderBareNamesAndNothingIsOverwritten) {
  const std::string uploads = dir_.File("uploads") + "/";
  std::filesystem::create_directories(uploads + "2019/05");
  std::filesystem::create_directories(uploads + "2020/01");
  std::filesystem::create_directories(site_);
  testing::WriteFile(uploads + "2019/05/photo.jpg", "May");
  testing::WriteFile(uploads + "2020/01/photo.jpg", "January");
  testing::WriteFile(uploads + "2020/01/same.png", "Same");
  testing::WriteFile(site_ + "photo.jpg", "Mine");
  testing::WriteFile(site_ + "2020-01-photo.jpg", "Also mine");
  testing::WriteFile(site_ + "same.png", "Same");
  testing::WriteFile(dir_.File("secret.jpg"), "Secret");
  const std::string old = "https://old.example/wp-content/uploads/";
  ImportOptions options;
  options.images = uploads;
  const ImportReport report = Import(
      Export(Post("A", "2019-05-01 10:00:00",
                  "<a href=\"" + old + "2019/05/photo.jpg\"><img src='" + old +
                      "2019/05/photo.jpg?w=300' alt=x></a>") +
             Post("B", "2019-05-02 10:00:00",
                  "<img src=\"" + old + "2020/01/photo.jpg\"><img src=" + old +
                      "2020/01/same.png><img src=\"" + old + "../../secret.jpg\">"
                      "<img src=\"https://elsewhere.example/x.gif\">")),
      options);
  EXPECT_EQ(Stored(), (Rows{{"2019-05-01 10:00:00",
                             "<h2>A</h2>\r\n<a href=\"2019-05-photo.jpg\"><img "
                             "src=\"2019-05-photo.jpg\" alt=x></a>"},
                            {"2019-05-02 10:00:00",
                             "<h2>B</h2>\r\n<img src=\"2020-01-photo-2.jpg\"><img src=\"same.png\">"
                             "<img src=\"" + old + "../../secret.jpg\">"
                             "<img src=\"https://elsewhere.example/x.gif\">"}}));
  EXPECT_EQ(testing::ReadFile(site_ + "2019-05-photo.jpg"), "May");
  EXPECT_EQ(testing::ReadFile(site_ + "2020-01-photo-2.jpg"), "January");
  EXPECT_EQ(testing::ReadFile(site_ + "photo.jpg"), "Mine");
  EXPECT_EQ(testing::ReadFile(site_ + "2020-01-photo.jpg"), "Also mine");
  const std::vector<std::string> lines = DescribeImport(report);
  EXPECT_EQ(lines[0], "Imported 2 entries; 2 images link to the old site.");
  EXPECT_EQ(lines[1],
            "Copied 2 pictures into the output folder; renamed, as their names were taken: "
            "2019/05/photo.jpg as 2019-05-photo.jpg and 2020/01/photo.jpg as "
            "2020-01-photo-2.jpg.");
  // Nothing but the pictures came into the folder: no copy waits under another name.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(site_), {}), 6);
}

// The report's first line, as the user reads it after every import.
TEST(ImportReportTest, TheFirstLineCountsInGroupsOfThousandsAndNamesOnlyWhatHappened) {
  ImportReport report;
  report.imported = 1204;
  report.moved = 3;
  report.present = 12;
  report.old_site_images = 340;
  EXPECT_EQ(DescribeImport(report)[0],
            "Imported 1,204 entries (3 moved one second, 12 skipped as already present); 340 "
            "images link to the old site.");
  report = {};
  report.imported = 1;
  report.old_site_images = 1;
  EXPECT_EQ(DescribeImport(report)[0], "Imported 1 entry; 1 image links to the old site.");
  report = {};
  EXPECT_EQ(DescribeImport(report), std::vector<std::string>{"Imported 0 entries."});
  EXPECT_EQ(CountText(999), "999");
  EXPECT_EQ(CountText(1000), "1,000");
  EXPECT_EQ(CountText(1234567), "1,234,567");
}

}  // namespace
}  // namespace quill::interchange
