#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "core/settings_store.h"
#include "core/sqlite_registry.h"
#include "store/entry_store.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::testing {

// A project in a temporary folder: its registry, settings (loaded, with the output folder
// set to the temporary folder and the title "My Log") and entry store.
class ProjectFixture : public ::testing::Test {
 protected:
  ProjectFixture() {
    settings_.Settings().ProjectName = "My Log";
    settings_.Settings().Template = dir_.File("template.html");
    settings_.Settings().Title = "My Log";
    settings_.LoadSettings(true);
  }

  core::ProjectSettings& Settings() { return settings_.Settings(); }

  void Save(const core::Stamp& stamp, std::string content) {
    entries_.CurrentEntry = {stamp, std::move(content)};
    entries_.SaveEntry();
  }

  // Adds `count` entries one hour apart from 2026-01-01 00:00:00, their content "Entry n"
  // (n from 1, oldest first), in one statement, as a large import would.
  void SaveMany(int count) {
    entries_.MoveLastEntry();  // creates the table
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(settings_.Settings().DatabasePath.c_str(), &db), SQLITE_OK);
    const std::string sql =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(count) +
        ") INSERT OR REPLACE INTO \"My Log\" SELECT strftime('%Y-%m-%d %H:%M:%S', '2026-01-01',"
        " (i - 1) || ' hours'), 'Entry ' || i FROM n";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    entries_.CloseBlogDatabase();  // reopen, so the count is read again
  }

  TempDir dir_;
  core::SqliteRegistry registry_{dir_.File("registry.db")};
  FixedClock clock_;
  core::SettingsStore settings_{registry_, clock_};
  store::EntryStore entries_{settings_};
};

}  // namespace quill::testing
