#include "project/project_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/quill_error.h"
#include "core/sqlite_registry.h"
#include "support/fixed_clock.h"
#include "support/memory_output.h"
#include "support/temp_dir.h"

namespace quill::project {
namespace {

using core::Stamp;

// An output folder that refuses to take one file, as a full disk or a locked file would.
class RefusingOutput final : public site::SiteOutput {
 public:
  explicit RefusingOutput(std::string refused) : refused_(std::move(refused)) {}
  std::unique_ptr<core::FileSink> Create(const std::string& name) override {
    if (name == refused_) throw core::QuillError("Cannot write " + name + ": refused");
    return written.Create(name);
  }
  bool Exists(const std::string& name) const override { return written.Exists(name); }
  testing::MemoryOutput written;

 private:
  std::string refused_;
};

class ProjectSessionTest : public ::testing::Test {
 protected:
  ProjectSessionTest() {
    MakeProject(0, "Alpha");
    MakeProject(1, "Beta");
  }

  // Lists a project whose output folder is a folder of its own name, holding a template.
  void MakeProject(int place, const std::string& name) {
    const std::string folder = dir_.File(name) + "/";
    std::filesystem::create_directories(folder);
    testing::WriteFile(folder + "template.html", "<h1>BlogTitle</h1>\r\nBlogContent\r\n");
    ProjectSession maker(registry_, clock_);
    maker.Settings().SetUserValue(core::SettingsStore::ListValueName(place), name);
    maker.Project().ProjectName = name;
    maker.Project().Template = folder + "template.html";
    maker.Project().Title = name + " Log";
    maker.Project().IncludeRSS = 1;
    maker.Reload(true);
  }

  static void Save(ProjectSession& session, const Stamp& stamp, const std::string& content) {
    session.Entries().CurrentEntry = {stamp, content};
    session.Entries().SaveEntry();
  }

  testing::TempDir dir_;
  core::SqliteRegistry registry_{dir_.File("registry.db")};
  testing::FixedClock clock_;
};

TEST_F(ProjectSessionTest, TheOutputIsStampedOnlyOnceThePagesAndTheFeedAreWritten) {
  ProjectSession session(registry_, clock_);
  session.Open("Alpha");
  Save(session, {2026, 12, 6, 22, 15, 7}, "Hello");

  RefusingOutput no_feed("rss.xml");
  EXPECT_THROW(session.GenerateSite(no_feed), core::QuillError);
  EXPECT_TRUE(no_feed.written.Exists("index.html"));
  RefusingOutput no_page("index.html");
  EXPECT_THROW(session.GenerateSite(no_page), core::QuillError);
  session.Reload();
  EXPECT_EQ(session.Project().OutDate, "");

  testing::MemoryOutput output;
  const SiteReport report = session.GenerateSite(output);
  EXPECT_TRUE(report.stamped);
  EXPECT_EQ(report.pages.pages, 1);
  EXPECT_EQ(report.bytes, output.files["index.html"].size() + output.files["rss.xml"].size());
  session.Reload();
  EXPECT_EQ(session.Project().OutDate, "261207");
  EXPECT_EQ(session.Project().OutTime, "090503");
}

TEST_F(ProjectSessionTest, WithTheFeedOffNoFeedIsWritten) {
  ProjectSession session(registry_, clock_);
  session.Open("Alpha");
  session.Project().IncludeRSS = 0;
  session.Reload(true);
  testing::MemoryOutput output;
  EXPECT_TRUE(session.GenerateSite(output).stamped);
  EXPECT_TRUE(output.Exists("index.html"));
  EXPECT_FALSE(output.Exists("rss.xml"));
}

TEST_F(ProjectSessionTest, OpeningFindsTheListedNameOrSaysThereIsNone) {
  ProjectSession session(registry_, clock_);
  session.Open("beta");
  EXPECT_EQ(session.Project().ProjectName, "Beta");
  EXPECT_EQ(session.Project().Title, "Beta Log");
  try {
    session.Open("Nobody");
    ADD_FAILURE() << "opened a project that is not there";
  } catch (const core::QuillError& error) {
    EXPECT_STREQ(error.what(), "There is no project named \"Nobody\".");
  }
}

TEST_F(ProjectSessionTest, TwoSessionsOnTwoProjectsKeepApart) {
  ProjectSession alpha(registry_, clock_);
  ProjectSession beta(registry_, clock_);
  alpha.Open("Alpha");
  beta.Open("Beta");
  Save(alpha, {2026, 12, 6, 8, 0, 0}, "alpha's");
  Save(beta, {2026, 12, 6, 9, 0, 0}, "beta's");

  alpha.Reload();
  EXPECT_TRUE(beta.Entries().IsOpen());
  beta.Entries().MoveFirstEntry();
  EXPECT_EQ(beta.Entries().CurrentEntry.Content, "beta's");
  alpha.Entries().MoveFirstEntry();
  EXPECT_EQ(alpha.Entries().CurrentEntry.Content, "alpha's");
  EXPECT_EQ(alpha.Entries().EntryCount(), 1);

  testing::MemoryOutput output;
  alpha.GenerateSite(output);
  beta.Reload();
  EXPECT_EQ(beta.Project().OutDate, "");
  EXPECT_FALSE(beta.UploadStale());
  alpha.Reload();
  EXPECT_TRUE(alpha.UploadStale());
}

}  // namespace
}  // namespace quill::project
