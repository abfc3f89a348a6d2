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

}  // namespace
}  // namespace quill::core
