#include "quillpush/hash_cache.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace quill::push {
namespace {

namespace fs = std::filesystem;

class HashCacheTest : public ::testing::Test {
 protected:
  HashCacheTest() {
    testing::WriteFile(page_.path, "hello");
    page_.size = 5;
    page_.modified = fs::last_write_time(page_.path);
  }
  // A record written `later` after the page's time, claiming the page holds `sha`.
  void Record(std::chrono::seconds later, const std::string& sha) {
    const auto ticks = [](fs::file_time_type time) { return time.time_since_epoch().count(); };
    testing::WriteFile(
        path_, "quillpush-hashes 1 " + std::to_string(ticks(page_.modified + later)) + "\n5 " +
                   std::to_string(ticks(page_.modified)) + " " + sha + " index.html\n");
  }

  testing::TempDir dir_;
  std::string path_ = dir_.File(HashCache::kFileName);
  SiteFile page_{"index.html", dir_.File("index.html"), 0, {}};
  const std::string kReal = "2cf24dba5fb0a30e26e83b2ac5b9e29e1b161e5c1fa7425e73043362938b9824";
  const std::string kClaimed = std::string(64, 'a');
};

TEST_F(HashCacheTest, ARecordIsTrustedOnlyForTheSameSizeAndTimeWrittenWellAfterIt) {
  Record(std::chrono::seconds(3), kClaimed);
  EXPECT_EQ(HashCache(path_, true).Sha256Of(page_), kClaimed);  // not read again
  EXPECT_EQ(HashCache(path_, false).Sha256Of(page_), kReal);    // --verify reads every file

  SiteFile touched = page_;
  touched.modified += std::chrono::seconds(1);
  EXPECT_EQ(HashCache(path_, true).Sha256Of(touched), kReal);
  SiteFile grown = page_;
  grown.size = 6;
  EXPECT_EQ(HashCache(path_, true).Sha256Of(grown), kReal);

  Record(std::chrono::seconds(1), kClaimed);  // the page may have changed in the same tick
  EXPECT_EQ(HashCache(path_, true).Sha256Of(page_), kReal);
}

TEST_F(HashCacheTest, ADamagedRecordIsNoRecordAndASavedOneHoldsWhatWasRead) {
  Record(std::chrono::seconds(3), "not a checksum");
  EXPECT_EQ(HashCache(path_, true).Sha256Of(page_), kReal);

  HashCache hashes(path_, true);
  EXPECT_EQ(hashes.Sha256Of(page_), kReal);
  hashes.Save();
  const std::string saved = testing::ReadFile(path_);
  EXPECT_TRUE(saved.starts_with("quillpush-hashes 1 ")) << saved;
  EXPECT_TRUE(saved.ends_with(" " + kReal + " index.html\n")) << saved;
}

}  // namespace
}  // namespace quill::push
