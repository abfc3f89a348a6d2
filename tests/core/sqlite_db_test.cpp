#include "core/sqlite_db.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/temp_dir.h"

namespace quill::core {
namespace {

TEST(SqliteFile, ABusyFileIsWaitedForWhileItsHolderGetsOnButNotWhenItIsStuck) {
  using std::chrono::steady_clock;
  constexpr int kTimeoutMs = 500;
  testing::TempDir dir;
  const std::string path = dir.File("shared.db");
  SqliteDb first(path, true, kTimeoutMs);
  first.Exec("CREATE TABLE t (who TEXT)");

  // Another program writes back to back for three times the timeout, so it holds the lock
  // nearly all the while: a write waiting meanwhile still gets through.
  std::atomic<bool> writing{false};
  std::thread other([&] {
    SqliteDb db(path, false, kTimeoutMs);
    const auto end = steady_clock::now() + std::chrono::milliseconds(3 * kTimeoutMs);
    while (steady_clock::now() < end) {
      SqliteTransaction transaction(db);
      db.Exec("INSERT INTO t VALUES ('other')");
      transaction.Commit();
      writing = true;
    }
  });
  while (!writing) std::this_thread::yield();
  EXPECT_NO_THROW({
    SqliteTransaction transaction(first);
    first.Exec("INSERT INTO t VALUES ('first')");
    transaction.Commit();
  });
  other.join();

  // A lock held while nothing happens is given up on after the timeout.
  SqliteDb second(path, false, kTimeoutMs);
  SqliteTransaction held(second);
  const auto start = steady_clock::now();
  EXPECT_THROW(SqliteTransaction{first}, SqliteError);
  const auto waited =
      std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - start);
  EXPECT_GE(waited.count(), kTimeoutMs);
}

}  // namespace
}  // namespace quill::core
