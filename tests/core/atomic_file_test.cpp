#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/quill_error.h"
#include "support/temp_dir.h"

namespace quill::core {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::size_t FilesIn(const TempDir& dir) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++n;
  return n;
}

TEST(AtomicFile, ReplacesTheFileWholeOnCommit) {
  TempDir dir;
  const std::string path = dir.File("index.html");
  WriteFile(path, "old page");
  {
    AtomicFile file(path);
    file.Write("new ");
    EXPECT_EQ(ReadFile(path), "old page");  // untouched until the end
    file.Write("page");
    file.Commit();
  }
  EXPECT_EQ(ReadFile(path), "new page");
  EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(AtomicFile, AnUnfinishedFileLeavesTheOldOneAndNoLitter) {
  TempDir dir;
  const std::string path = dir.File("index.html");
  WriteFile(path, "old page");
  {
    AtomicFile file(path);
    file.Write("half a pa");
  }
  EXPECT_EQ(ReadFile(path), "old page");
  EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(AtomicFile, FailuresNameTheFileAndTheReason) {
  TempDir dir;
  const std::string path = dir.File("missing/index.html");
  try {
    AtomicFile file(path);
    FAIL() << "opened a file in a missing folder";
  } catch (const QuillError& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("No such file"), std::string::npos) << error.what();
  }

  // A folder standing where the file should go cannot be replaced.
  std::filesystem::create_directory(dir.File("taken"));
  AtomicFile file(dir.File("taken"));
  file.Write("page");
  EXPECT_THROW(file.Commit(), QuillError);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken")));
  EXPECT_EQ(FilesIn(dir), 1u);
}

// A file written where there was none: whole or not at all, and a file that came there while
// it was being written (another program, a folder) is replaced or refused as with any file.
TEST(AtomicFile, AFileWhereThereWasNoneAppearsWholeOrNotAtAll) {
  TempDir dir;
  const std::string path = dir.File("2026-12-08-095544.html");
  {
    AtomicFile file(path, AtomicFile::Target::Absent);
    file.Write("half a pa");
#ifndef _WIN32
    EXPECT_EQ(FilesIn(dir), 0u);  // nothing a killed build could leave behind
#endif
  }
  EXPECT_EQ(FilesIn(dir), 0u);
  {
    AtomicFile file(path, AtomicFile::Target::Absent);
    file.Write("new page");
    file.Commit();
  }
  EXPECT_EQ(ReadFile(path), "new page");

  const std::string meanwhile = dir.File("archive.html");
  AtomicFile late(meanwhile, AtomicFile::Target::Absent);
  late.Write("the generator's page");
  WriteFile(meanwhile, "written meanwhile");
  late.Commit();
  EXPECT_EQ(ReadFile(meanwhile), "the generator's page");
  EXPECT_EQ(FilesIn(dir), 2u);

  AtomicFile blocked(dir.File("taken"), AtomicFile::Target::Absent);
  blocked.Write("page");
  std::filesystem::create_directory(dir.File("taken"));
  EXPECT_THROW(blocked.Commit(), QuillError);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken")));
  EXPECT_EQ(FilesIn(dir), 3u);
}

TEST(AtomicFile, TempFilesLeftByACrashGoButThoseBeingWrittenStay) {
  TempDir dir;
  WriteFile(dir.File("blog015.html.tmp-0000427c"), "left by a killed build");
  for (const char* name : {"notes.tmp", "a.tmp-1", "b.tmp-0000427C", "c.tmp-0000427cx"}) {
    WriteFile(dir.File(name), "the user's own file");
  }
  AtomicFile writing(dir.File("index.html"));
  writing.Write("page");

  RemoveAbandonedTempFiles(dir.Folder());
  EXPECT_FALSE(std::filesystem::exists(dir.File("blog015.html.tmp-0000427c")));
  EXPECT_EQ(FilesIn(dir), 5u);  // four of the user's files and the one being written
  writing.Commit();
  EXPECT_EQ(ReadFile(dir.File("index.html")), "page");
  EXPECT_EQ(FilesIn(dir), 5u);

  EXPECT_TRUE(IsTempFileName("rss.xml.tmp-00000001"));
  EXPECT_FALSE(IsTempFileName(".tmp-00000001x"));
  EXPECT_FALSE(IsTempFileName("rss.xml.tmp-0000001"));
}

}  // namespace
}  // namespace quill::core
