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

// A remote site in memory: it keeps what it was sent, in order, and can lose the line
// before a given file.
class MemoryRemote final : public RemoteSite {
 public:
  void Send(const SiteFile& file, const std::function<bool(std::uint64_t)>& progress) override {
    if (file.name == fail_before) throw core::QuillError("Connection lost before " + file.name);
    progress(file.size);
    sent.push_back(file.name);
    held[file.name] = file.size;
  }
  std::optional<std::uint64_t> SizeOf(const std::string& name) override {
    const auto found = held.find(name);
    if (found == held.end()) return std::nullopt;
    return found->second;
  }
  void Remove(const std::string& name) override { held.erase(name); }
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
  void Sending(const SiteFile&) override {}
  bool Progress(std::uint64_t) override { return true; }
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
