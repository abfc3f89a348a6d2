#include "store/entry_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/quill_error.h"
#include "core/sqlite_registry.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::store {
namespace {

using core::Stamp;
using testing::TempDir;

const Stamp kMonday{2026, 12, 7, 8, 30, 0};
const Stamp kTuesday{2026, 12, 8, 21, 15, 9};
const Stamp kWednesday{2026, 12, 9, 12, 0, 0};

// Runs SQL on the entry database as another program would.
void RunSql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
  sqlite3_free(error);
  sqlite3_close(db);
}

class EntryStoreTest : public ::testing::Test {
 protected:
  EntryStoreTest() {
    settings_.Settings().ProjectName = "My Log";
    settings_.Settings().Template = dir_.File("template.html");
    settings_.Settings().Title = "My Log";
    settings_.LoadSettings(true);
  }

  void Save(const Stamp& stamp, std::string content) {
    entries_.CurrentEntry = {stamp, std::move(content)};
    entries_.SaveEntry();
  }
  void SaveThree() {
    Save(kTuesday, "two");
    Save(kMonday, "one");
    Save(kWednesday, "three");
  }
  void ExpectCurrent(const Stamp& stamp, const std::string& content) {
    EXPECT_FALSE(entries_.NoEntry());
    EXPECT_EQ(entries_.CurrentEntry.Stamp, stamp);
    EXPECT_EQ(entries_.CurrentEntry.Content, content);
  }
  void ExpectNone() {
    EXPECT_TRUE(entries_.NoEntry());
    EXPECT_EQ(entries_.CurrentEntry.Stamp, Stamp::Empty());
    EXPECT_EQ(entries_.CurrentEntry.Content, "");
  }

  TempDir dir_;
  core::SqliteRegistry registry_{dir_.File("registry.db")};
  testing::FixedClock clock_;
  core::SettingsStore settings_{registry_, clock_};
  EntryStore entries_{settings_};
  std::string database_ = dir_.File("Blog.mdb");
};

TEST_F(EntryStoreTest, TheFirstOperationCreatesTheFileAndAnEmptyTable) {
  EXPECT_FALSE(std::filesystem::exists(database_));
  entries_.CurrentEntry = {kMonday, "unsaved"};
  entries_.MoveLastEntry();
  EXPECT_TRUE(std::filesystem::exists(database_));
  EXPECT_TRUE(entries_.TableExists("My Log"));
  EXPECT_EQ(entries_.EntryCount(), 0);
  ExpectNone();

  for (auto move :
       {&EntryStore::MoveFirstEntry, &EntryStore::MoveNextEntry, &EntryStore::MovePreviousEntry,
        &EntryStore::SeekLaterEntry, &EntryStore::SeekEarlierEntry}) {
    entries_.CurrentEntry = {kMonday, "unsaved"};
    (entries_.*move)();
    ExpectNone();
  }
}

TEST_F(EntryStoreTest, SavingAddsOrReplacesByStamp) {
  Save(kMonday, "first");
  EXPECT_EQ(entries_.EntryCount(), 1);
  entries_.MoveLastEntry();
  ExpectCurrent(kMonday, "first");

  Save(kMonday, "rewritten");
  EXPECT_EQ(entries_.EntryCount(), 1);
  Save(kTuesday, "second");
  EXPECT_EQ(entries_.EntryCount(), 2);
  entries_.MoveFirstEntry();
  ExpectCurrent(kMonday, "rewritten");
}

TEST_F(EntryStoreTest, SavedContentLosesSpacesButKeepsLineBreaks) {
  Save(kMonday, "   \r\n<p>Hello</p>\r\n   ");
  entries_.SeekEntry(kMonday);
  ExpectCurrent(kMonday, "\r\n<p>Hello</p>\r\n");
}

TEST_F(EntryStoreTest, AWriteBatchStoresEverythingOrNothing) {
  Save(kMonday, "one");
  {
    EntryStore::WriteBatch batch(entries_);
    batch.Put(kTuesday, " two ");
    EXPECT_TRUE(batch.Has(kTuesday));
    batch.Put(kMonday, "replaced");
  }
  EXPECT_EQ(entries_.EntryCount(), 1);
  entries_.SeekEntry(kMonday);
  ExpectCurrent(kMonday, "one");
  EXPECT_FALSE(entries_.HasEntry(kTuesday));
  {
    EntryStore::WriteBatch batch(entries_);
    batch.Put(kTuesday, " two ");
    batch.Put(kMonday, "replaced");
    batch.Commit();
  }
  EXPECT_EQ(entries_.EntryCount(), 2);
  entries_.MoveLastEntry();
  ExpectCurrent(kTuesday, "two");
  entries_.SeekEntry(kMonday);
  ExpectCurrent(kMonday, "replaced");
}

TEST_F(EntryStoreTest, SavingDoesNotMoveTheCursor) {
  SaveThree();
  entries_.MoveFirstEntry();
  Save(Stamp{2026, 12, 7, 9, 0, 0}, "between one and two");
  EXPECT_EQ(entries_.CurrentEntry.Content, "between one and two");
  entries_.MoveNextEntry();
  ExpectCurrent(Stamp({2026, 12, 7, 9, 0, 0}), "between one and two");
}

TEST_F(EntryStoreTest, WalkingStopsPastEitherEnd) {
  SaveThree();
  entries_.MoveLastEntry();
  ExpectCurrent(kWednesday, "three");
  entries_.MoveNextEntry();
  ExpectNone();

  std::vector<std::string> newest_first;
  for (entries_.MoveLastEntry(); !entries_.NoEntry(); entries_.MovePreviousEntry()) {
    newest_first.push_back(entries_.CurrentEntry.Content);
  }
  EXPECT_EQ(newest_first, (std::vector<std::string>{"three", "two", "one"}));
  ExpectNone();

  entries_.MoveFirstEntry();
  ExpectCurrent(kMonday, "one");
  entries_.MoveNextEntry();
  ExpectCurrent(kTuesday, "two");
  entries_.MovePreviousEntry();
  entries_.MovePreviousEntry();
  ExpectNone();
  // From before the oldest, the next step finds the oldest again.
  entries_.MoveNextEntry();
  ExpectCurrent(kMonday, "one");
}

// Another program may leave a row without a Date: it reads as the empty stamp,
// 30 December 1899 12:00, and is found, edited and deleted like any other entry.
TEST_F(EntryStoreTest, ARowWithoutADateStandsAtTheEmptyStamp) {
  SaveThree();
  RunSql(database_, "INSERT INTO \"My Log\" VALUES (NULL, 'undated')");
  entries_.CloseBlogDatabase();
  std::vector<std::string> newest_first;
  for (entries_.MoveLastEntry(); !entries_.NoEntry(); entries_.MovePreviousEntry()) {
    newest_first.push_back(entries_.CurrentEntry.Content);
  }
  EXPECT_EQ(newest_first, (std::vector<std::string>{"three", "two", "one", "undated"}));
  entries_.MoveFirstEntry();
  ExpectCurrent(Stamp::Empty(), "undated");
  entries_.MoveNextEntry();
  ExpectCurrent(kMonday, "one");
  entries_.MovePreviousEntry();
  ExpectCurrent(Stamp::Empty(), "undated");

  entries_.SeekLaterEntry();
  ExpectCurrent(kMonday, "one");
  entries_.SeekEarlierEntry();
  ExpectCurrent(Stamp::Empty(), "undated");
  entries_.SeekEntry(Stamp::Empty());
  ExpectCurrent(Stamp::Empty(), "undated");
  Save(Stamp::Empty(), "edited");
  EXPECT_EQ(entries_.EntryCount(), 4);
  entries_.MoveFirstEntry();
  ExpectCurrent(Stamp::Empty(), "edited");
  entries_.DeleteEntry(Stamp::Empty());
  ExpectCurrent(kMonday, "one");
  EXPECT_EQ(entries_.EntryCount(), 3);
}

// The site's walk goes by one running query, or by the cursor when another program left a
// row without a usable date; either way it visits what the cursor visits, and the cursor
// ends where the walk stopped.
TEST_F(EntryStoreTest, AWalkFromTheNewestVisitsWhatTheCursorVisits) {
  SaveThree();
  const auto walk = [&](std::size_t stop_after) {
    std::vector<std::string> seen;
    const EntryStore::ReadBatch batch(entries_);
    for (EntryStore::NewestFirst entry(entries_); !entry.Done(); entry.Next()) {
      seen.push_back(entry.Stamp().ToText() + " " + std::string(entry.Content()));
      if (seen.size() == stop_after) break;
    }
    return seen;
  };
  const std::vector<std::string> three{"2026-12-09 12:00:00 three", "2026-12-08 21:15:09 two",
                                       "2026-12-07 08:30:00 one"};
  EXPECT_EQ(walk(0), three);
  ExpectNone();
  EXPECT_EQ(walk(2), (std::vector<std::string>(three.begin(), three.begin() + 2)));
  ExpectCurrent(kTuesday, "two");
  entries_.MovePreviousEntry();
  ExpectCurrent(kMonday, "one");

  for (const char* odd : {"NULL", "x'41'"}) {
    SCOPED_TRACE(odd);
    RunSql(database_, std::string("INSERT INTO \"My Log\" VALUES (") + odd + ", 'odd')");
    entries_.CloseBlogDatabase();
    std::vector<std::string> by_cursor;
    for (entries_.MoveLastEntry(); !entries_.NoEntry(); entries_.MovePreviousEntry()) {
      by_cursor.push_back(entries_.CurrentEntry.Stamp.ToText() + " " +
                          entries_.CurrentEntry.Content);
    }
    EXPECT_EQ(walk(0), by_cursor);
    ExpectNone();
    RunSql(database_, "DELETE FROM \"My Log\" WHERE Content = 'odd'");
  }
}

TEST_F(EntryStoreTest, SeekingFindsExactStampsAndNeighbours) {
  SaveThree();
  entries_.SeekEntry(kTuesday);
  ExpectCurrent(kTuesday, "two");

  const Stamp missing{2026, 12, 8, 0, 0, 0};
  entries_.SeekEntry(missing);
  EXPECT_TRUE(entries_.NoEntry());
  EXPECT_EQ(entries_.CurrentEntry.Stamp, missing);
  EXPECT_EQ(entries_.CurrentEntry.Content, "");

  entries_.SeekLaterEntry();
  ExpectCurrent(kTuesday, "two");
  entries_.SeekEarlierEntry();
  ExpectCurrent(kMonday, "one");
  entries_.SeekEarlierEntry();
  ExpectNone();

  entries_.CurrentEntry.Stamp = kWednesday;
  entries_.SeekLaterEntry();
  ExpectNone();

  // After a miss the cursor steps on from where the stamp would be.
  entries_.SeekEntry(missing);
  entries_.MoveNextEntry();
  ExpectCurrent(kTuesday, "two");
}

// A seek that finds no entry leaves the cursor where the stamp would stand, whatever it was
// on before: Next and Previous step from there, either way, and on from where they land.
TEST_F(EntryStoreTest, AfterASeekThatMissesNextAndPreviousStepFromTheStampSought) {
  SaveThree();
  const Stamp before_monday{2026, 12, 1, 0, 0, 0};
  const Stamp between{2026, 12, 8, 0, 0, 0};  // Monday < between < Tuesday
  const Stamp after_wednesday{2026, 12, 31, 0, 0, 0};
  // The cursor on the oldest, on the newest, and past either end before each seek.
  const std::function<void()> places[] = {
      [&] { entries_.MoveFirstEntry(); },
      [&] { entries_.MoveLastEntry(); },
      [&] {
        entries_.MoveLastEntry();
        entries_.MoveNextEntry();
      },
      [&] {
        entries_.MoveFirstEntry();
        entries_.MovePreviousEntry();
      },
  };
  for (std::size_t place = 0; place < std::size(places); ++place) {
    SCOPED_TRACE("cursor placed by way " + std::to_string(place));
    places[place]();
    entries_.SeekEntry(between);
    entries_.MoveNextEntry();
    ExpectCurrent(kTuesday, "two");
    entries_.MoveNextEntry();
    ExpectCurrent(kWednesday, "three");

    places[place]();
    entries_.SeekEntry(between);
    entries_.MovePreviousEntry();
    ExpectCurrent(kMonday, "one");
    entries_.MoveNextEntry();
    ExpectCurrent(kTuesday, "two");

    // Before the oldest and after the newest.
    places[place]();
    entries_.SeekEntry(before_monday);
    entries_.MoveNextEntry();
    ExpectCurrent(kMonday, "one");
    places[place]();
    entries_.SeekEntry(before_monday);
    entries_.MovePreviousEntry();
    ExpectNone();
    entries_.MoveNextEntry();
    ExpectCurrent(kMonday, "one");

    places[place]();
    entries_.SeekEntry(after_wednesday);
    entries_.MovePreviousEntry();
    ExpectCurrent(kWednesday, "three");
    places[place]();
    entries_.SeekEntry(after_wednesday);
    entries_.MoveNextEntry();
    ExpectNone();
    entries_.MovePreviousEntry();
    ExpectCurrent(kWednesday, "three");
  }
  // A seek that finds its entry steps from it alike.
  entries_.SeekEntry(kTuesday);
  entries_.MovePreviousEntry();
  ExpectCurrent(kMonday, "one");
  entries_.SeekEntry(kTuesday);
  entries_.MoveNextEntry();
  ExpectCurrent(kWednesday, "three");
}

TEST_F(EntryStoreTest, DeletingLeavesANeighbourCurrent) {
  SaveThree();
  entries_.DeleteEntry(kTuesday);
  EXPECT_EQ(entries_.EntryCount(), 2);
  ExpectCurrent(kWednesday, "three");

  entries_.DeleteEntry(kWednesday);
  EXPECT_EQ(entries_.EntryCount(), 1);
  ExpectCurrent(kMonday, "one");

  entries_.DeleteEntry(kMonday);
  EXPECT_EQ(entries_.EntryCount(), 0);
  ExpectNone();
  entries_.DeleteEntry(kMonday);
  ExpectNone();
}

TEST_F(EntryStoreTest, DeletingTheNewestOfThreeLeavesTheMiddleOne) {
  SaveThree();
  entries_.DeleteEntry(kWednesday);
  ExpectCurrent(kTuesday, "two");
  entries_.MoveLastEntry();
  ExpectCurrent(kTuesday, "two");
}

TEST_F(EntryStoreTest, MovingAnEntryNeverOverwritesAnother) {
  SaveThree();
  entries_.MoveFirstEntry();
  EXPECT_TRUE(entries_.HasEntry(kTuesday));
  EXPECT_FALSE(entries_.HasEntry(Stamp{2026, 12, 10, 8, 30, 0}));
  EXPECT_EQ(entries_.CurrentEntry.Content, "one");  // asking does not move the cursor

  EXPECT_FALSE(entries_.MoveEntry(kMonday, kTuesday, "one"));
  EXPECT_EQ(entries_.EntryCount(), 3);
  entries_.SeekEntry(kTuesday);
  ExpectCurrent(kTuesday, "two");

  const Stamp thursday{2026, 12, 10, 8, 30, 0};
  EXPECT_TRUE(entries_.MoveEntry(kMonday, thursday, "  one moved  "));
  EXPECT_EQ(entries_.EntryCount(), 3);
  EXPECT_FALSE(entries_.HasEntry(kMonday));
  entries_.SeekEntry(thursday);
  ExpectCurrent(thursday, "one moved");
  // Onto its own stamp: rewritten in place.
  EXPECT_TRUE(entries_.MoveEntry(thursday, thursday, "again"));
  entries_.SeekEntry(thursday);
  ExpectCurrent(thursday, "again");
}

TEST_F(EntryStoreTest, LegacyDataTableMovesIntoTheTitleTable) {
  RunSql(database_,
         "CREATE TABLE Data (Date TEXT PRIMARY KEY, Content TEXT);"
         "INSERT INTO Data VALUES ('2026-12-07 08:30:00', '  old one  '),"
         " ('2026-12-08 21:15:09', 'old two');"
         "CREATE TABLE \"My Log\" (Date TEXT PRIMARY KEY, Content TEXT);"
         "INSERT INTO \"My Log\" VALUES ('2026-12-08 21:15:09', 'replaced'),"
         " ('2026-12-09 12:00:00', 'kept');");
  entries_.MoveFirstEntry();
  EXPECT_FALSE(entries_.TableExists("Data"));
  EXPECT_EQ(entries_.EntryCount(), 3);
  ExpectCurrent(kMonday, "old one");
  entries_.MoveNextEntry();
  ExpectCurrent(kTuesday, "old two");
  entries_.MoveNextEntry();
  ExpectCurrent(kWednesday, "kept");
}

TEST_F(EntryStoreTest, AnEmptyLegacyTableStaysAndATitleNamedDataIsNoMigration) {
  RunSql(database_, "CREATE TABLE Data (Date TEXT PRIMARY KEY, Content TEXT);");
  entries_.MoveLastEntry();
  EXPECT_TRUE(entries_.TableExists("Data"));
  ExpectNone();

  RunSql(database_, "INSERT INTO Data VALUES ('2026-12-07 08:30:00', 'under data');");
  settings_.Settings().Title = "data";
  settings_.LoadSettings(true);
  entries_.MoveLastEntry();
  ExpectCurrent(kMonday, "under data");
  EXPECT_TRUE(entries_.TableExists("Data"));
}

TEST_F(EntryStoreTest, AnyTitleNamesItsOwnTableSafely) {
  const std::string awkward = "Ann's \"Log\" [v2]; DROP TABLE x;--";
  RunSql(database_, "CREATE TABLE x (y); INSERT INTO x VALUES (1);");
  settings_.Settings().Title = awkward;
  settings_.LoadSettings(true);
  Save(kMonday, "safe");
  entries_.MoveLastEntry();
  ExpectCurrent(kMonday, "safe");
  EXPECT_TRUE(entries_.TableExists(awkward));
  EXPECT_TRUE(entries_.TableExists("x"));

  // A title that differs only in letter case finds the same table.
  settings_.Settings().Title = "ANN'S \"LOG\" [V2]; drop table X;--";
  settings_.LoadSettings(true);
  entries_.MoveLastEntry();
  ExpectCurrent(kMonday, "safe");
}

TEST_F(EntryStoreTest, ANewTitleStartsAnEmptyTableAndTheOldEntriesStay) {
  Save(kMonday, "old title");
  settings_.Settings().Title = "Renamed";
  settings_.LoadSettings(true);
  EXPECT_FALSE(entries_.IsOpen());
  entries_.MoveLastEntry();
  ExpectNone();
  settings_.Settings().Title = "My Log";
  settings_.LoadSettings(true);
  entries_.MoveLastEntry();
  ExpectCurrent(kMonday, "old title");
}

// Every store reading the settings follows their next load, however many there are and
// whichever came last.
TEST_F(EntryStoreTest, EveryStoreOnTheSettingsFollowsANewTitle) {
  Save(kMonday, "old title");
  EntryStore second(settings_);
  second.MoveLastEntry();
  settings_.Settings().Title = "Renamed";
  settings_.LoadSettings(true);
  EXPECT_FALSE(entries_.IsOpen());
  EXPECT_FALSE(second.IsOpen());
  entries_.MoveLastEntry();
  second.MoveLastEntry();
  ExpectNone();
  EXPECT_TRUE(second.NoEntry());
}

TEST_F(EntryStoreTest, AnotherTitlesEntriesAreCopiedWholeOrNotAtAll) {
  SaveThree();
  settings_.Settings().Title = "Renamed";
  settings_.LoadSettings(true);
  EXPECT_EQ(entries_.CountEntriesOf("my log"), 3);
  EXPECT_EQ(entries_.CountEntriesOf("Renamed"), 0);
  entries_.MoveLastEntry();
  ExpectNone();
  entries_.CopyEntriesFrom("My Log");
  EXPECT_EQ(entries_.EntryCount(), 3);
  entries_.MoveLastEntry();
  ExpectCurrent(kWednesday, "three");
  EXPECT_EQ(entries_.CountEntriesOf("My Log"), 3);

  // One stamp is taken already: none of the others arrive either.
  settings_.Settings().Title = "Third";
  settings_.LoadSettings(true);
  Save(kTuesday, "mine");
  EXPECT_THROW(entries_.CopyEntriesFrom("My Log"), core::QuillError);
  EXPECT_EQ(entries_.CountEntriesOf("Third"), 1);
}

void ExpectFailure(const std::function<void()>& operation, std::vector<std::string> parts) {
  try {
    operation();
    ADD_FAILURE() << "no error";
  } catch (const core::QuillError& error) {
    for (const std::string& part : parts) {
      EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
    }
  }
}

TEST_F(EntryStoreTest, ATitleTheEngineRefusesIsReportedByName) {
  settings_.Settings().Title = "sqlite_entries";
  settings_.LoadSettings(true);
  ExpectFailure([&] { entries_.MoveLastEntry(); }, {"\"sqlite_entries\"", database_});

  settings_.Settings().Title = "";
  settings_.LoadSettings(true);
  ExpectFailure([&] { entries_.MoveLastEntry(); }, {"no title"});
}

TEST_F(EntryStoreTest, AProjectWithoutOutputFolderHasNowhereToKeepEntries) {
  settings_.Settings().Template = "";
  settings_.LoadSettings(true);
  ExpectFailure([&] { entries_.MoveLastEntry(); }, {"no output folder"});
}

TEST_F(EntryStoreTest, ACorruptFileIsReportedAndLeftAlone) {
  const std::string junk(3000, '\x07');
  testing::WriteFile(database_, junk);
  ExpectFailure([&] { entries_.MoveLastEntry(); }, {database_, "not a database"});
  EXPECT_EQ(testing::ReadFile(database_), junk);
  EXPECT_FALSE(entries_.IsOpen());
}

TEST_F(EntryStoreTest, AFileLockedByAnotherProgramFailsTheSaveAndLosesNothing) {
  Save(kMonday, "stored");
  EntryStore impatient(settings_, 50);
  impatient.MoveLastEntry();

  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(database_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  impatient.CurrentEntry = {kTuesday, "blocked"};
  ExpectFailure([&] { impatient.SaveEntry(); }, {database_, "locked"});
  EXPECT_EQ(impatient.EntryCount(), 1);
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);

  impatient.MoveLastEntry();
  EXPECT_EQ(impatient.CurrentEntry.Content, "stored");
  impatient.CurrentEntry = {kTuesday, "now it goes"};
  impatient.SaveEntry();
  EXPECT_EQ(impatient.EntryCount(), 2);
}

TEST_F(EntryStoreTest, AMissingOutputFolderIsReportedWithItsPath) {
  settings_.Settings().Template = dir_.File("gone/template.html");
  settings_.LoadSettings(true);
  ExpectFailure([&] { entries_.MoveLastEntry(); }, {dir_.File("gone/Blog.mdb")});
}

}  // namespace
}  // namespace quill::store
