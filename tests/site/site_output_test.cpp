#include "site/site_output.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/quill_error.h"
#include "support/file_identity.h"
#include "support/temp_dir.h"

namespace quill::site {
namespace {

using testing::FileIdentity;
using testing::ReadFile;

class DiskOutputTest : public ::testing::Test {
 protected:
  std::uint64_t Inode(const std::string& name) {
    const std::uint64_t identity = FileIdentity(dir_.File(name));
    EXPECT_NE(identity, 0u) << name;
    return identity;
  }

  // Writes the bytes in pieces of `piece` bytes, announcing `size` when given.
  void Put(const std::string& name, const std::string& bytes, std::optional<std::uint64_t> size,
           std::size_t piece = 1000) {
    const auto file = size ? output_.CreateSized(name, *size) : output_.Create(name);
    for (std::size_t at = 0; at < bytes.size(); at += piece) file->Write(bytes.substr(at, piece));
    file->Commit();
  }

  testing::TempDir dir_;
  DiskOutput output_{dir_.Folder()};
};

TEST_F(DiskOutputTest, SameBytesLeaveTheFileAloneAndAnyDifferenceReplacesIt) {
  // Beyond the first chunk compared, so the equal start is copied back from the old file.
  std::string old(600'000, 'a');
  for (std::size_t i = 0; i < old.size(); i += 7) old[i] = static_cast<char>('0' + i % 10);
  const auto changed_at = [&](std::size_t at) {
    std::string bytes = old;
    bytes[at] = '#';
    return bytes;
  };
  struct Case {
    std::string bytes;
    std::optional<std::uint64_t> size;
  };
  const Case cases[] = {
      {changed_at(0), old.size()},
      {changed_at(599'999), std::nullopt},
      {changed_at(300'000), old.size()},
      {old + "more", std::nullopt},
      {old.substr(0, 400'000), std::nullopt},
      {old.substr(0, 400'000), old.size()},  // a wrong size changes nothing but the effort
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    Put("page.html", old, std::nullopt);
    const std::uint64_t before = Inode("page.html");
    Put("page.html", old, old.size(), 4096);
    Put("page.html", old, std::nullopt, 333'333);
    EXPECT_EQ(Inode("page.html"), before);

    Put("page.html", c.bytes, c.size);
    EXPECT_EQ(ReadFile(dir_.File("page.html")), c.bytes) << c.bytes.size();
    EXPECT_NE(Inode("page.html"), before);
  }
}

TEST_F(DiskOutputTest, AFileDroppedUnfinishedLeavesTheOldOneAndNothingElse) {
  Put("page.html", "old bytes", std::nullopt);
  for (const char* start : {"old", "new"}) {
    const auto file = output_.CreateSized("page.html", 9);
    file->Write(start);
  }
  EXPECT_EQ(ReadFile(dir_.File("page.html")), "old bytes");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);
}

}  // namespace
}  // namespace quill::site
