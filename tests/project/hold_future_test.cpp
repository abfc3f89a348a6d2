// Entries dated in the future wait for their time: what each file holds just before and just
// after it, and when the site counts as changed.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/sqlite_registry.h"
#include "project/project_session.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::project {
namespace {

using core::Stamp;
namespace fs = std::filesystem;

const Stamp kOld{2026, 12, 1, 8, 0, 0};
const Stamp kDue{2026, 12, 9, 7, 30, 0};  // waits until then
const Stamp kLater{2026, 12, 11, 7, 30, 0};
const Stamp kJustBefore{2026, 12, 9, 7, 29, 59};

class HoldFutureTest : public ::testing::Test {
 protected:
  HoldFutureTest() {
    fs::create_directories(folder_);
    testing::WriteFile(folder_ + "template.html",
                       "<h1>BlogTitle</h1>\r\nBlogTOC\r\nBlogContent\r\n");
    session_.Settings().SetUserValue("00", "Alpha");
    session_.Project().ProjectName = "Alpha";
    session_.Project().Template = folder_ + "template.html";
    session_.Project().Title = "Alpha";
    session_.Project().IncludeRSS = 1;
    session_.Project().Docs = "https://ann.example/";
    session_.Project().EntryPages = 1;
    session_.Project().HoldFuture = 1;
    session_.Reload(true);
    Save(kOld, "Monday's entry");
    Save(kDue, "Wednesday's entry");
    Save(kLater, "Friday's entry");
  }

  void Save(const Stamp& stamp, const std::string& content) {
    session_.Entries().CurrentEntry = {stamp, content};
    session_.Entries().SaveEntry();
    session_.Settings().StampSave();
  }
  SiteReport BuildAt(const Stamp& now) {
    clock_.Set(now);
    site::DiskOutput output(folder_);
    return session_.GenerateSite(output);
  }
  std::string Read(const std::string& name) { return testing::ReadFile(folder_ + name); }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  testing::TempDir dir_;
  std::string folder_ = dir_.File("site") + "/";
  core::SqliteRegistry registry_{dir_.File("registry.db")};
  testing::FixedClock clock_{kOld};
  ProjectSession session_{registry_, clock_};
};

TEST_F(HoldFutureTest, AWaitingEntryIsInNoFileUntilItsSecondAndInEveryOneFromThen) {
  const SiteReport before = BuildAt(kJustBefore);
  EXPECT_EQ(before.pages.entries, 1);
  EXPECT_EQ(before.entry_site.entry_pages, 1u);
  EXPECT_FALSE(fs::exists(folder_ + "2026-12-09-073000.html"));
  for (const char* name : {"index.html", "rss.xml", "archive.html", "archive-2026.html",
                           "sitemap.xml", "2026-12-01-080000.html"}) {
    EXPECT_EQ(Read(name).find("Wednesday"), std::string::npos) << name;
    EXPECT_EQ(Read(name).find("2026-12-09-073000"), std::string::npos) << name;
    EXPECT_EQ(Read(name).find("Friday"), std::string::npos) << name;
  }
  EXPECT_EQ(Count(Read("rss.xml"), "<item>"), 1);
  EXPECT_EQ(Count(Read("sitemap.xml"), "<url>"), 4);  // one entry, two archive pages, index

  const SiteReport due = BuildAt(kDue);  // the very second: published
  EXPECT_EQ(due.pages.entries, 2);
  EXPECT_TRUE(fs::exists(folder_ + "2026-12-09-073000.html"));
  for (const char* name : {"index.html", "rss.xml", "archive-2026.html", "sitemap.xml"}) {
    EXPECT_NE(Read(name).find("2026-12-09-073000"), std::string::npos) << name;
    EXPECT_EQ(Read(name).find("Friday"), std::string::npos) << name;
  }
  EXPECT_NE(Read("2026-12-01-080000.html").find("2026-12-09-073000.html"), std::string::npos);
  EXPECT_EQ(Count(Read("rss.xml"), "<item>"), 2);
  EXPECT_EQ(Count(Read("sitemap.xml"), "<url>"), 5);
}

TEST_F(HoldFutureTest, FeedGuidsCountOnlyPublishedEntriesSoNoneChangesWhenOneAppears) {
  session_.Project().EntryPages = 0;  // numbered guids
  session_.Reload(true);
  BuildAt(kJustBefore);
  const std::string before = Read("rss.xml");
  EXPECT_EQ(Count(before, "<guid>"), 1);
  EXPECT_NE(before.find("<guid>https://ann.example/#001</guid>"), std::string::npos);
  BuildAt(kDue);
  const std::string after = Read("rss.xml");
  EXPECT_EQ(Count(after, "<guid>"), 2);
  EXPECT_NE(after.find("<guid>https://ann.example/#001</guid>"), std::string::npos);
  EXPECT_NE(after.find("<guid>https://ann.example/#002</guid>"), std::string::npos);
  EXPECT_LT(after.find("#002"), after.find("#001"));  // newest first
}

TEST_F(HoldFutureTest, WithEveryEntryWaitingTheSiteIsOneEmptyPage) {
  const SiteReport report = BuildAt({2026, 11, 30, 0, 0, 0});
  EXPECT_EQ(report.pages.entries, 0);
  EXPECT_EQ(report.pages.pages, 1);
  EXPECT_EQ(report.entry_site.entry_pages, 0u);
  EXPECT_EQ(Count(Read("rss.xml"), "<item>"), 0);
}

TEST_F(HoldFutureTest, TheSiteCountsAsChangedOnceAWaitingEntrysTimeHasCome) {
  BuildAt(kJustBefore);
  EXPECT_EQ(session_.Settings().GetProjectValue("OutTime"), "072959");  // the build's moment
  EXPECT_FALSE(session_.OutputStale());
  clock_.Set(kDue);
  EXPECT_TRUE(session_.OutputStale());
  BuildAt(kDue);
  clock_.Set({2026, 12, 10, 0, 0, 0});
  EXPECT_FALSE(session_.OutputStale());  // Friday still waits
  clock_.Set(kLater);
  EXPECT_TRUE(session_.OutputStale());

  // A clock put back publishes nothing new and takes nothing back until the next build.
  BuildAt(kLater);
  clock_.Set(kJustBefore);
  EXPECT_FALSE(session_.OutputStale());
  EXPECT_EQ(BuildAt(kJustBefore).pages.entries, 1);
}

TEST_F(HoldFutureTest, WithoutTheSettingEveryEntryIsPublishedAtOnce) {
  session_.Project().HoldFuture = 0;
  session_.Reload(true);
  EXPECT_EQ(BuildAt(kOld).pages.entries, 3);
  clock_.Set(kLater);
  EXPECT_FALSE(session_.OutputStale());
}

}  // namespace
}  // namespace quill::project
