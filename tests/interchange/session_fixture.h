#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/sqlite_registry.h"
#include "project/project_session.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::testing {

// The project "My Log", its output folder site/ in a temporary folder (not made yet), opened
// in a session as the editor and quillsmith-build open it.
class SessionFixture : public ::testing::Test {
 protected:
  SessionFixture() {
    session_.Settings().SetUserValue(core::SettingsStore::ListValueName(0), "My Log");
    session_.Project().ProjectName = "My Log";
    session_.Project().Template = site_ + "template.html";
    session_.Project().Title = "My Log";
    session_.Reload(true);
  }

  // A file of the temporary folder with these bytes; its path.
  std::string Given(const std::string& name, const std::string& bytes) {
    WriteFile(dir_.File(name), bytes);
    return dir_.File(name);
  }

  void Save(const core::Stamp& stamp, const std::string& content) {
    std::filesystem::create_directories(site_);
    session_.Entries().CurrentEntry = {stamp, content};
    session_.Entries().SaveEntry();
  }

  // Every entry, oldest first: its stored stamp and its text.
  std::vector<std::pair<std::string, std::string>> Stored() {
    std::vector<std::pair<std::string, std::string>> rows;
    store::EntryStore& entries = session_.Entries();
    for (entries.MoveFirstEntry(); !entries.NoEntry(); entries.MoveNextEntry()) {
      rows.emplace_back(entries.CurrentEntry.Stamp.ToText(), entries.CurrentEntry.Content);
    }
    return rows;
  }

  TempDir dir_;
  std::string site_ = dir_.File("site") + "/";
  core::SqliteRegistry registry_{dir_.File("registry.db")};
  FixedClock clock_;
  project::ProjectSession session_{registry_, clock_};
};

}  // namespace quill::testing
