#include "store/entry_search.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/sqlite_registry.h"
#include "store/entry_store.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::store {
namespace {

using core::Stamp;

const Stamp kMonday{2026, 12, 7, 8, 30, 0};
const Stamp kTuesday{2026, 12, 8, 21, 15, 9};
const Stamp kWednesday{2026, 12, 9, 12, 0, 0};

class EntrySearchTest : public ::testing::Test {
 protected:
  EntrySearchTest() {
    entries_.SetWriteListener([this](std::uint32_t counter, const std::vector<std::string>& dates) {
      search_.NoteWrite(counter, dates);
    });
    settings_.Settings().ProjectName = "My Log";
    settings_.Settings().Template = dir_.File("template.html");
    settings_.Settings().Title = "My Log";
    settings_.LoadSettings(true);
    Save(kMonday, "Cr&egrave;me br&ucirc;l&eacute;e with <b>toma</b>toes");
    Save(kTuesday, "A <a href=\"tomatoes.html\">link</a>, then CREME fraiche");
    Save(kWednesday, "O'Brien's <i>tomato</i> soup &amp; bread");
  }

  void Save(const Stamp& stamp, std::string content) {
    entries_.CurrentEntry = {stamp, std::move(content)};
    entries_.SaveEntry();
  }
  // Runs SQL on the entry database as another program would.
  void RunSql(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database_.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
  }
  std::vector<Stamp> Find(std::string_view words) { return search_.Find(words, false); }

  testing::TempDir dir_;
  core::SqliteRegistry registry_{dir_.File("registry.db")};
  testing::FixedClock clock_;
  core::SettingsStore settings_{registry_, clock_};
  EntryStore entries_{settings_};
  EntrySearch search_{settings_};
  std::string database_ = dir_.File("Blog.mdb");
};

TEST_F(EntrySearchTest, EveryWordIsFoundIgnoringCaseAndAccentsInTheTextAReaderSees) {
  EXPECT_EQ(Find("creme"), (std::vector<Stamp>{kTuesday, kMonday}));  // newest first
  EXPECT_EQ(Find("CRÈME brulee"), std::vector<Stamp>{kMonday});
  EXPECT_EQ(Find("tomatoes"), std::vector<Stamp>{kMonday});  // one word, markup aside
  // While a word is typed it may be the start of a longer one; once it ends, it is whole.
  EXPECT_EQ(search_.Find("toma", true), (std::vector<Stamp>{kWednesday, kMonday}));
  EXPECT_TRUE(search_.Find("toma ", true).empty());
  EXPECT_TRUE(Find("toma").empty());
  EXPECT_EQ(search_.Find("brul crem", true), std::vector<Stamp>{});
  EXPECT_EQ(search_.Find("brulee crem", true), std::vector<Stamp>{kMonday});
  EXPECT_EQ(search_.Find("soup b", true), std::vector<Stamp>{});  // one letter is a whole word
  EXPECT_EQ(search_.Find("soup br", true), std::vector<Stamp>{kWednesday});
  EXPECT_EQ(Find("o'brien's bread"), std::vector<Stamp>{kWednesday});
  EXPECT_TRUE(Find("href").empty());  // inside a tag
  EXPECT_TRUE(Find("amp").empty());   // a reference's name
  EXPECT_TRUE(Find("link soup").empty());
  EXPECT_TRUE(Find("\"tomato\" OR creme NEAR(").empty());  // taken as words, not as syntax
  EXPECT_TRUE(std::filesystem::exists(database_ + "-search"));
  EXPECT_FALSE(search_.InMemory());
}

TEST_F(EntrySearchTest, NoWordsFindNothingAndThousandsOfWordsStillAnswer) {
  for (const char* nothing : {"", "   \t ", "!!! ... --- \xE2\x80\x94 \xC2\xBF?"}) {
    EXPECT_FALSE(EntrySearch::HasWords(nothing)) << nothing;
    EXPECT_TRUE(Find(nothing).empty()) << nothing;
  }
  EXPECT_TRUE(EntrySearch::HasWords(" x "));
  EXPECT_TRUE(EntrySearch::HasWords("\xC3\xA9"));  // é
  std::string many;
  for (int i = 0; i < 2000; ++i) many += "tomato ";
  std::string long_word(10'000, 'x');
  EXPECT_EQ(Find(many), std::vector<Stamp>{kWednesday});
  EXPECT_TRUE(Find(long_word).empty());
}

TEST_F(EntrySearchTest, WhatAnotherProgramWritesIsFoundAtOnceAndAfterARestart) {
  ASSERT_EQ(Find("soup").size(), 1u);
  RunSql(
      "INSERT INTO \"My Log\" VALUES ('2026-12-10 10:00:00', 'Leek soup');"
      "UPDATE \"My Log\" SET Content = 'Onion soup' WHERE Date = '2026-12-09 12:00:00';"
      "DELETE FROM \"My Log\" WHERE Date = '2026-12-07 08:30:00';");
  EXPECT_EQ(Find("soup"), (std::vector<Stamp>{{2026, 12, 10, 10, 0, 0}, kWednesday}));
  EXPECT_TRUE(Find("bread").empty());
  EXPECT_TRUE(Find("brulee").empty());

  // Written while no search was open: the next one finds the file changed.
  search_.Close();
  RunSql("UPDATE \"My Log\" SET Content = 'Pea soup' WHERE Date = '2026-12-09 12:00:00';");
  EntrySearch later(settings_);
  EXPECT_EQ(later.Find("pea"), std::vector<Stamp>{kWednesday});
  EXPECT_TRUE(later.Find("onion").empty());
  Save(kWednesday, "Saved by the editor");  // another connection of this program
  EXPECT_EQ(later.Find("editor"), std::vector<Stamp>{kWednesday});
}

TEST_F(EntrySearchTest, TheStoresOwnWritesComeInAloneUnlessAnotherProgramWroteBetween) {
  RunSql(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000)"
      " INSERT INTO \"My Log\" SELECT strftime('%Y-%m-%d %H:%M:%S', '2020-01-01', i || ' hours'),"
      " 'filler ' || i FROM n");
  ASSERT_EQ(Find("filler").size(), 1000u);
  // Far more entries than one slice compares: an update without time to spare that ends up
  // to date compared nothing.
  const auto up_to_date_at_once = [&] { return search_.Update(std::chrono::milliseconds(0)); };
  Save(kMonday, "Saved and found");
  Save(kTuesday, "Saved as well");
  EXPECT_TRUE(up_to_date_at_once());
  EXPECT_EQ(Find("saved"), (std::vector<Stamp>{kTuesday, kMonday}));
  entries_.DeleteEntry(kTuesday);
  EXPECT_TRUE(up_to_date_at_once());
  EXPECT_EQ(Find("saved"), std::vector<Stamp>{kMonday});

  // Another program's commit between two of the store's: everything is compared.
  Save(kMonday, "Saved before");
  RunSql("UPDATE \"My Log\" SET Content = 'Written elsewhere' WHERE Date = '2026-12-09 12:00:00'");
  Save(kTuesday, "Saved after");
  EXPECT_FALSE(up_to_date_at_once());
  EXPECT_EQ(Find("saved"), (std::vector<Stamp>{kTuesday, kMonday}));
  EXPECT_EQ(Find("elsewhere"), std::vector<Stamp>{kWednesday});

  // Saving the text that is already stored writes nothing, so it cannot stand for another
  // program's commit that follows it.
  Save(kTuesday, "Saved after");
  RunSql("UPDATE \"My Log\" SET Content = 'Written again' WHERE Date = '2026-12-09 12:00:00'");
  EXPECT_EQ(Find("again"), std::vector<Stamp>{kWednesday});

  // Written by the store while no search was open, after a restart.
  search_.Close();
  Save(kMonday, "Saved while closed");
  EXPECT_TRUE(up_to_date_at_once());
  EXPECT_EQ(Find("closed"), std::vector<Stamp>{kMonday});
}

TEST_F(EntrySearchTest, ABatchOfEntriesComesInAloneAndOneNotCommittedTellsNothing) {
  RunSql(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000)"
      " INSERT INTO \"My Log\" SELECT strftime('%Y-%m-%d %H:%M:%S', '2020-01-01', i || ' hours'),"
      " 'filler ' || i FROM n");
  ASSERT_EQ(Find("filler").size(), 1000u);
  const auto up_to_date_at_once = [&] { return search_.Update(std::chrono::milliseconds(0)); };
  const Stamp thursday{2026, 12, 10, 9, 0, 0};
  {
    EntryStore::WriteBatch batch(entries_);
    batch.Put(thursday, "Imported leek soup");                           // added
    batch.Put(kMonday, "Imported over Monday");                          // changed
    batch.Put(kWednesday, "O'Brien's <i>tomato</i> soup &amp; bread");  // the same text
    batch.Commit();
  }
  EXPECT_TRUE(up_to_date_at_once());
  EXPECT_EQ(Find("imported"), (std::vector<Stamp>{thursday, kMonday}));
  EXPECT_TRUE(Find("brulee").empty());
  {
    EntryStore::WriteBatch batch(entries_);
    batch.Put(kTuesday, "Never arrives");
  }
  EXPECT_TRUE(up_to_date_at_once());
  EXPECT_TRUE(Find("arrives").empty());
  EXPECT_EQ(Find("link").size(), 1u);
}

TEST_F(EntrySearchTest, AWriteGoingOnElsewhereNeitherHoldsUpTheSearchNorShowsEarly) {
  ASSERT_EQ(Find("soup").size(), 1u);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(database_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other,
                         "BEGIN IMMEDIATE; INSERT INTO \"My Log\" VALUES"
                         " ('2026-12-10 10:00:00', 'Leek soup')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  // The search only reads the entries' database, which a writer that has not committed yet
  // leaves readable.
  EntrySearch impatient(settings_, 100);
  EXPECT_EQ(impatient.Find("soup"), std::vector<Stamp>{kWednesday});
  ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  EXPECT_EQ(impatient.Find("soup"), (std::vector<Stamp>{{2026, 12, 10, 10, 0, 0}, kWednesday}));
}

TEST_F(EntrySearchTest, AnIndexThatCannotBeTrustedIsMadeAgain) {
  ASSERT_EQ(Find("creme").size(), 2u);
  search_.Close();
  { std::ofstream(database_ + "-search", std::ios::trunc) << "not a database at all"; }
  EXPECT_EQ(Find("creme").size(), 2u);
  EXPECT_FALSE(search_.InMemory());

  // A new title is another table: its own entries only.
  settings_.Settings().Title = "Other";
  settings_.LoadSettings(true);
  Save(kMonday, "Creme only here");
  EXPECT_EQ(Find("creme"), std::vector<Stamp>{kMonday});
  EXPECT_TRUE(Find("tomato").empty());

  // Where no index file can be kept, it lives in memory.
  search_.Close();
  std::filesystem::remove(database_ + "-search");
  std::filesystem::create_directory(database_ + "-search");
  EXPECT_EQ(Find("here"), std::vector<Stamp>{kMonday});
  EXPECT_TRUE(search_.InMemory());
}

}  // namespace
}  // namespace quill::store
