// Entry pages, archive and sitemap as a whole site build makes them, on disk.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "core/quill_error.h"
#include "core/registry.h"
#include "core/sqlite_registry.h"
#include "project/project_session.h"
#include "site/made_files.h"
#include "support/file_identity.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::project {
namespace {

using core::Stamp;
namespace fs = std::filesystem;

const Stamp kA{2026, 12, 8, 9, 55, 44};
const Stamp kB{2026, 12, 7, 12, 0, 0};
const Stamp kC{2025, 6, 1, 0, 0, 0};

// Passes everything on to another output, but refuses to write one file, as a full disk would.
class Refusing final : public site::SiteOutput {
 public:
  Refusing(site::SiteOutput& to, std::string refused) : to_(to), refused_(std::move(refused)) {}
  std::unique_ptr<core::FileSink> Create(const std::string& name) override {
    if (name == refused_) throw core::QuillError("Cannot write " + name + ": No space left");
    return to_.Create(name);
  }
  bool Exists(const std::string& name) const override { return to_.Exists(name); }
  std::optional<FileFacts> Facts(const std::string& name) const override { return to_.Facts(name); }
  std::optional<std::string> Read(const std::string& name) const override { return to_.Read(name); }
  void Remove(const std::string& name) override { to_.Remove(name); }

 private:
  site::SiteOutput& to_;
  std::string refused_;
};

class EntrySiteTest : public ::testing::Test {
 protected:
  EntrySiteTest() {
    fs::create_directories(folder_);
    testing::WriteFile(folder_ + "template.html",
                       "<title>Log</title>\r\n<h1>BlogTitle</h1>\r\nBlogTOC\r\nBlogContent\r\n");
    session_.Settings().SetUserValue("00", "Alpha");
    session_.Project().ProjectName = "Alpha";
    session_.Project().Template = folder_ + "template.html";
    session_.Project().Title = "Alpha Log";
    session_.Project().IncludeRSS = 1;
    session_.Project().Docs = "https://ann.example/";
    session_.Project().EntryPages = 1;
    session_.Reload(true);
    Save(kA, "Newest");
    Save(kB, "Middle");
    Save(kC, "Oldest");
  }

  void Save(const Stamp& stamp, const std::string& content) {
    session_.Entries().CurrentEntry = {stamp, content};
    session_.Entries().SaveEntry();
  }
  SiteReport Build() {
    site::DiskOutput output(folder_);
    return session_.GenerateSite(output);
  }
  bool Has(const std::string& name) const { return fs::exists(folder_ + name); }

  // Every file of the folder but the entries' own, with its identity (inode) and
  // modification time.
  std::map<std::string, std::pair<std::uint64_t, fs::file_time_type>> Files() const {
    std::map<std::string, std::pair<std::uint64_t, fs::file_time_type>> files;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("Blog.mdb")) continue;
      files[name] = {testing::FileIdentity(entry.path().string()),
                     fs::last_write_time(entry.path())};
    }
    return files;
  }

  testing::TempDir dir_;
  std::string folder_ = dir_.File("site") + "/";
  core::SqliteRegistry registry_{dir_.File("registry.db")};
  testing::FixedClock clock_;
  ProjectSession session_{registry_, clock_};
};

TEST_F(EntrySiteTest, AnUnchangedRebuildWritesNothingAndARebuildRepairsWhatIsMissing) {
  const SiteReport first = Build();
  EXPECT_EQ(first.entry_site.entry_pages, 3u);
  EXPECT_EQ(first.entry_site.written, 3u);
  const auto before = Files();
  for (const char* name :
       {"2026-12-08-095544.html", "2026-12-07-120000.html", "2025-06-01-000000.html",
        "archive.html", "archive-2026.html", "archive-2025.html", "sitemap.xml", ".quillsmith-made",
        "index.html", "rss.xml"}) {
    EXPECT_TRUE(before.count(name)) << name;
  }

  const SiteReport again = Build();
  EXPECT_EQ(again.entry_site.written, 0u);
  EXPECT_EQ(Files(), before);  // not one file replaced or touched

  // A page gone, and one changed by hand: the next build puts both back, and only them.
  const std::string page = testing::ReadFile(folder_ + "2026-12-07-120000.html");
  fs::remove(folder_ + "2026-12-07-120000.html");
  testing::WriteFile(folder_ + "2025-06-01-000000.html", "mine");
  EXPECT_EQ(Build().entry_site.written, 2u);
  EXPECT_EQ(testing::ReadFile(folder_ + "2026-12-07-120000.html"), page);
  EXPECT_NE(testing::ReadFile(folder_ + "2025-06-01-000000.html"), "mine");
  const auto after = Files();
  EXPECT_EQ(after.at("2026-12-08-095544.html"), before.at("2026-12-08-095544.html"));
  EXPECT_EQ(after.at("archive.html"), before.at("archive.html"));
}

TEST_F(EntrySiteTest, DeletedAndReDatedEntriesTakeTheirPagesAlongAndNothingElse) {
  // The user's files: names of other forms, and of the generator's forms it never made.
  const std::vector<std::string> users = {"2026-12-08-0955.html", "notes.html",
                                          "2020-01-01-000000.html", "archive-1999.html",
                                          "sitemap-7.xml"};
  for (const std::string& name : users) testing::WriteFile(folder_ + name, "mine");
  Build();
  session_.Entries().DeleteEntry(kB);
  ASSERT_TRUE(session_.Entries().MoveEntry(kC, {2026, 1, 2, 3, 4, 5}, "Oldest"));

  const SiteReport report = Build();
  EXPECT_EQ(report.entry_site.removed, 3u);
  EXPECT_FALSE(Has("2026-12-07-120000.html"));
  EXPECT_FALSE(Has("2025-06-01-000000.html"));
  EXPECT_FALSE(Has("archive-2025.html"));  // no entry of 2025 is left
  EXPECT_TRUE(Has("2026-01-02-030405.html"));
  EXPECT_TRUE(Has("2026-12-08-095544.html"));
  for (const std::string& name : users) {
    EXPECT_EQ(testing::ReadFile(folder_ + name), "mine") << name;
  }
}

TEST_F(EntrySiteTest, SwitchedOffItsFilesGoAndWithoutAValueNothingIsLookedFor) {
  testing::WriteFile(folder_ + "notes.html", "mine");
  Build();
  const std::string linked = testing::ReadFile(folder_ + "index.html");

  // No value at all: the files stay where they are, and the pages no longer link them.
  registry_.DeleteRegValue(core::RegRoot::CurrentUser, core::SettingsStore::ProjectKey("Alpha"),
                           "EntryPages");
  session_.Reload();
  ASSERT_EQ(session_.Project().EntryPages, core::kNotStored);
  EXPECT_EQ(Build().entry_site.removed, 0u);
  EXPECT_TRUE(Has("2026-12-08-095544.html"));
  EXPECT_TRUE(Has(site::MadeFiles::kFileName));
  EXPECT_NE(testing::ReadFile(folder_ + "index.html"), linked);

  session_.Project().EntryPages = 0;
  session_.Reload(true);
  EXPECT_EQ(Build().entry_site.removed, 7u);  // three entries, three archive pages, the sitemap
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Blog.mdb", "Blog.mdb-lock", "index.html", "notes.html",
                                            "rss.xml", "template.html"}));
}

TEST_F(EntrySiteTest, NamesThatCollideStopTheBuildBeforeAnythingIsWritten) {
  session_.Project().FileNames = "archive";
  session_.Project().UseIndex = 0;
  session_.Reload(true);
  try {
    Build();
    ADD_FAILURE() << "built pages named like the archive";
  } catch (const core::QuillError& error) {
    EXPECT_NE(std::string(error.what()).find("archive.html"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(Has("archive.html"));
  EXPECT_FALSE(Has("rss.xml"));
  session_.Reload();
  EXPECT_EQ(session_.Project().OutDate, "");
}

TEST_F(EntrySiteTest, ABuildCutShortNamesTheFileStampsNothingAndIsMadeGoodByTheNext) {
  {
    site::DiskOutput disk(folder_);
    Refusing full(disk, "2025-06-01-000000.html");
    try {
      session_.GenerateSite(full);
      ADD_FAILURE() << "a failed write passed";
    } catch (const core::QuillError& error) {
      EXPECT_NE(std::string(error.what()).find("2025-06-01-000000.html"), std::string::npos);
    }
  }
  session_.Reload();
  EXPECT_EQ(session_.Project().OutDate, "");
  EXPECT_TRUE(Has("2026-12-08-095544.html"));  // written before the disk filled

  // The cut build had its pages on the record first, so one of an entry deleted meanwhile
  // still goes.
  session_.Entries().DeleteEntry(kA);
  Build();
  EXPECT_FALSE(Has("2026-12-08-095544.html"));
  EXPECT_TRUE(Has("2025-06-01-000000.html"));
  session_.Reload();
  EXPECT_EQ(session_.Project().OutDate, "261207");
}

}  // namespace
}  // namespace quill::project
