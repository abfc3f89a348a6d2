// The uploader's pieces in-process, without a server: the manifest journal, the walk through
// the output folder, and the order and bookkeeping of a run against a remote site in memory.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/quill_error.h"
#include "core/sqlite_registry.h"
#include "project/project_session.h"
#include "quillpush/manifest.h"
#include "quillpush/push_job.h"
#include "quillpush/remote_listing.h"
#include "quillpush/send_phases.h"
#include "quillpush/site_files.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::push {
namespace {

using testing::ReadFile;
using testing::WriteFile;

const std::string kShaA(64, 'a');
const std::string kShaB(64, 'b');
const std::string kShaC(64, 'c');

class ManifestTest : public ::testing::Test {
 protected:
  std::string Header(const std::string& target) {
    return "quillpush manifest 2\ntarget " + target + "\n";
  }
  testing::TempDir dir_;
  const std::string path_ = dir_.File(Manifest::kFileName);
};

TEST_F(ManifestTest, AJournalCutShortResumesWithWhatArrivedWhole) {
  WriteFile(path_, Header("ftp://me@host/blog") +          //
                       kShaA + "\t5\tindex.html\n" +       // sent, then withdrawn again
                       kShaB + "\t7\tpics/a.png\n" +       // sent whole
                       "-\t-\tindex.html\n" +              //
                       kShaC + "\t9\t../outside.html\n" +  // no name inside the folder
                       kShaC + "\t3\tstyle.c");            // torn by a crash
  {
    Manifest manifest(path_, "ftp://me@host/blog");
    EXPECT_EQ(manifest.Entries().size(), 1u);
    EXPECT_TRUE(manifest.Holds("pics/a.png", 7, kShaB));
    EXPECT_FALSE(manifest.Holds("index.html", 5, kShaA));
    ASSERT_EQ(manifest.Problems().size(), 1u);
    EXPECT_NE(manifest.Problems()[0].find("../outside.html"), std::string::npos);

    manifest.Record("style.css", 3, kShaC);
  }
  EXPECT_EQ(ReadFile(path_), Header("ftp://me@host/blog") + kShaB + "\t7\tpics/a.png\n" + kShaC +
                                 "\t3\tstyle.css\n");
}

TEST_F(ManifestTest, AManifestOfAnotherTargetCountsAsEmptyAndIsReplaced) {
  WriteFile(path_, Header("ftp://me@host/blog") + kShaA + "\t5\tindex.html\n");
  {
    Manifest other(path_, "sftp://me@host/blog");
    EXPECT_TRUE(other.Entries().empty());
    other.Record("rss.xml", 4, kShaB);
  }
  EXPECT_EQ(ReadFile(path_), Header("sftp://me@host/blog") + kShaB + "\t4\trss.xml\n");
  EXPECT_TRUE(Manifest(path_, "ftp://me@host/blog").Entries().empty());
}

TEST(SiteFilesTest, TheWalkSendsEverythingElseFirstThenOldestPagesThenFirstPageAndFeed) {
  testing::TempDir dir;
  const std::string folder = dir.Path().string() + "/";
  for (const char* name : {"index.html", "blog01.html", "blog02.html", "blog10.html", "rss.xml",
                           "blogger.html", "style.css", "pics/a.png", "Blog.mdb",
                           "Blog.mdb-journal", ".hidden", "blog015.html.tmp-0000427c"}) {
    std::filesystem::create_directories(std::filesystem::path(folder + name).parent_path());
    WriteFile(folder + name, name);
  }
  std::filesystem::create_symlink("/etc/hostname", folder + "link.html");
  core::ProjectSettings settings;  // index.html first, then blog<n>.html

  const SiteListing listing = ListSiteFiles(folder, settings);
  std::vector<std::string> names;
  for (const SiteFile& file : listing.files) names.push_back(file.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"blogger.html", "pics/a.png", "style.css", "blog10.html",
                                      "blog02.html", "blog01.html", "index.html", "rss.xml"}));
  EXPECT_EQ(listing.files[1].size, std::string("pics/a.png").size());
  EXPECT_EQ(listing.links, std::vector<std::string>{"link.html"});
}

TEST(SendPhasesTest, PagesGoAfterWhatTheyLinkToAndNamesOfOtherFormsAreNoPages) {
  core::ProjectSettings settings;  // index.html first, then blog<n>.html
  const struct {
    const char* name;
    SendPhase phase;
  } cases[] = {
      {"style.css", SendPhase::kOther},
      {"comments.html", SendPhase::kOther},
      {"2026-12-08-095544.html", SendPhase::kEntryPages},
      {"2026-12-08-0955.html", SendPhase::kOther},
      {"pics/2026-12-08-095544.html", SendPhase::kOther},
      {"archive-2026.html", SendPhase::kYearPages},
      {"archive-26.html", SendPhase::kOther},
      {"archive.html", SendPhase::kArchive},
      {"blog2.html", SendPhase::kNumberedPages},
      {"blogger.html", SendPhase::kOther},
      {"index.html", SendPhase::kFirstPage},
      {"rss.xml", SendPhase::kFeed},
      {"old/rss.xml", SendPhase::kOther},
      {"sitemap-2.xml", SendPhase::kSitemapParts},
      {"sitemap.xml", SendPhase::kSitemap},
      {"Sitemap.xml", SendPhase::kOther},
  };
  for (const auto& c : cases) EXPECT_EQ(PhaseOf(c.name, settings), c.phase) << c.name;

  SiteFile a, b, c, d;
  a.name = "rss.xml";
  b.name = "blog2.html";
  c.name = "a.css";
  d.name = "blog9.html";
  const auto phases = InPhases({&a, &b, &c, &d}, settings);
  ASSERT_EQ(phases.size(), 3u);
  EXPECT_EQ(phases[0], std::vector<const SiteFile*>{&c});
  EXPECT_EQ(phases[1], (std::vector<const SiteFile*>{&b, &d}));  // in the order given
  EXPECT_EQ(phases[2], std::vector<const SiteFile*>{&a});
}

TEST(RemoteListingTest, BothFormsGiveNamesSizesAndFoldersAsTheServerHoldsThem) {
  const std::vector<ListedEntry> mlsd = ParseListing(
      "type=cdir;modify=20261208; .\r\n"
      "type=pdir;modify=20261208; ..\r\n"
      "type=file;size=12;modify=20261208181021; a b;c=d.txt\r\n"
      "Type=DIR;Modify=20261208; dir #1\r\n"
      "type=OS.unix=slink:/etc;size=4; link\r\n"
      "type=file;modify=20261208; no size\r\n"
      " no facts\r\n",
      ListingForm::kMlsd);
  ASSERT_EQ(mlsd.size(), 2u);
  EXPECT_EQ(mlsd[0].name, "a b;c=d.txt");
  EXPECT_EQ(mlsd[0].size, 12u);
  EXPECT_FALSE(mlsd[0].folder);
  EXPECT_EQ(mlsd[1].name, "dir #1");
  EXPECT_TRUE(mlsd[1].folder);

  const std::vector<ListedEntry> list = ParseListing(
      "total 12\n"
      "-rw-r--r--    1 ann      ann          1234 Dec  7 09:00  two  spaces .txt\n"
      "drwxr-xr-x    2 ann      ann          4096 Jan  1  2026 Café\n"
      "-rw-r--r-- 1 owner 7 Dec 07 09:00 no group.txt\r\n"
      "lrwxrwxrwx    1 ann      ann             5 Dec  7 09:00 link -> x\n"
      "drwxr-xr-x    2 ann      ann          4096 Dec  7 09:00 .\n",
      ListingForm::kLong);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, " two  spaces .txt");
  EXPECT_EQ(list[0].size, 1234u);
  EXPECT_EQ(list[1].name, "Café");
  EXPECT_TRUE(list[1].folder);
  EXPECT_EQ(list[2].name, "no group.txt");
  EXPECT_EQ(list[2].size, 7u);
}

TEST(SiteFilesTest, EntryPagesGoFirstAmongThePagesAndTheSitemapLast) {
  testing::TempDir dir;
  const std::string folder = dir.Path().string() + "/";
  for (const char* name : {"sitemap.xml", "sitemap-2.xml", "sitemap-1.xml", "rss.xml", "index.html",
                           "blog1.html", "blog2.html", "archive.html", "archive-2026.html",
                           "archive-2025.html", "2026-12-08-095544.html", "2025-06-01-000000.html",
                           "2026-12-08-0955.html", "style.css", ".quillsmith-made"}) {
    WriteFile(folder + name, name);
  }
  std::vector<std::string> names;
  for (const SiteFile& file : ListSiteFiles(folder, core::ProjectSettings{}).files) {
    names.push_back(file.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{
                       "2026-12-08-0955.html", "style.css", "2025-06-01-000000.html",
                       "2026-12-08-095544.html", "archive-2025.html", "archive-2026.html",
                       "archive.html", "blog2.html", "blog1.html", "index.html", "rss.xml",
                       "sitemap-1.xml", "sitemap-2.xml", "sitemap.xml"}));
}

// A remote site in memory: it keeps what it was sent, in order, and can lose the line
// before a given file.
class MemoryRemote final : public RemoteSite {
 public:
  void KnowFolders(const std::set<std::string>&) override {}
  void Send(const std::vector<const SiteFile*>& files, SendListener& listener) override {
    for (const SiteFile* file : files) {
      if (file->name == fail_before) throw core::QuillError("Connection lost before " + file->name);
      listener.Progress(file->size);
      sent.push_back(file->name);
      held[file->name] = file->size;
      listener.Arrived(*file, std::nullopt);
    }
  }
  std::map<std::string, std::uint64_t> SizesOf(const std::vector<std::string>& names,
                                               SendListener&) override {
    std::map<std::string, std::uint64_t> sizes;
    for (const std::string& name : names) {
      if (held.count(name) != 0) sizes[name] = held[name];
    }
    return sizes;
  }
  RemoteTree List(SendListener&) override { return RemoteTree(held.begin(), held.end()); }
  void Remove(const std::vector<std::string>& names,
              const std::function<void(const std::string&)>& deleted, SendListener&) override {
    for (const std::string& name : names) {
      held.erase(name);
      deleted(name);
    }
  }
  std::string Where() const override { return "ftp://host/blog/"; }
  std::string SecurityWarning() const override { return ""; }

  std::vector<std::string> sent;
  std::map<std::string, std::uint64_t> held;
  std::string fail_before;
};

class QuietObserver final : public PushObserver {
 public:
  void Warn(const std::string&) override {}
  void Starting(std::size_t, std::size_t, std::uint64_t) override {}
  bool Progress(const UploadProgress&) override { return true; }
  void Sent(const SiteFile&) override {}
  void Deleted(const std::string&) override {}
};

class PushRunTest : public ::testing::Test {
 protected:
  PushRunTest() {
    core::ProjectSettings& project = session_.Project();
    project.ProjectName = "My Log";
    project.FtpHost = "host";
    project.FtpUser = "me";
    project.FtpPath = "blog";
    project.OutputFolder = site_.Path().string() + "/";
    for (const char* name : {"index.html", "blog1.html", "style.css"}) Put(name, name);
  }
  void Put(const std::string& name, const std::string& bytes) {
    WriteFile(session_.Project().OutputFolder + name, bytes);
  }
  PushReport Run() {
    PushPlan plan = PlanPush(session_.Project(), options_);
    return CarryOut(plan, remote_, session_, observer_, options_);
  }

  testing::TempDir site_;
  testing::TempDir home_;
  core::SqliteRegistry registry_{home_.File("registry.db")};
  testing::FixedClock clock_;
  project::ProjectSession session_{registry_, clock_};
  PushOptions options_;
  MemoryRemote remote_;
  QuietObserver observer_;
};

TEST_F(PushRunTest, ACutRunIsResumedWithTheRestThenOnlyChangesGo) {
  remote_.fail_before = "index.html";
  EXPECT_THROW(Run(), core::QuillError);
  EXPECT_EQ(remote_.sent, (std::vector<std::string>{"style.css", "blog1.html"}));
  EXPECT_EQ(session_.Project().FtpDate, "");

  remote_.fail_before.clear();
  PushReport report = Run();
  EXPECT_EQ(remote_.sent.back(), "index.html");
  EXPECT_EQ(report.sent, 1u);
  EXPECT_EQ(report.unchanged, 2u);
  EXPECT_EQ(session_.Project().FtpDate, "261207");

  Put("style.css", "changed");
  report = Run();
  EXPECT_EQ(report.sent, 1u);
  EXPECT_EQ(remote_.sent.back(), "style.css");
}

}  // namespace
}  // namespace quill::push
