#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_store.h"
#include "store/entry.h"

namespace quill::core {
class SqliteDb;
class SqliteStatement;
class SqliteTransaction;
}  // namespace quill::core

namespace quill::store {

// The open project's entries, kept in Blog.mdb in its output folder (one table per blog
// title), with a cursor that walks them in stamp order. Every positioning operation copies
// the entry it lands on into CurrentEntry and says through NoEntry() whether it found one.
// The database opens itself on the first entry operation and reads the path and title from
// the settings then; after every load of the settings the next operation opens it afresh, so
// a changed title or output folder takes effect then. Any number of stores may read one
// settings store.
//
// Database failures throw core::QuillError naming the file and the reason.
class EntryStore final {
 public:
  // `busy_timeout_ms`: how long to wait for another program's lock on the file before the
  // operation fails.
  explicit EntryStore(core::SettingsStore& settings, int busy_timeout_ms = 5000);
  ~EntryStore();
  EntryStore(const EntryStore&) = delete;
  EntryStore& operator=(const EntryStore&) = delete;

  // The entry positioning filled, or that the caller fills before SaveEntry.
  Entry CurrentEntry;
  bool NoEntry() const { return no_entry_; }
  std::int32_t EntryCount() const { return entry_count_; }

  void OpenBlogDatabase();
  void OpenEntryTable();
  void CloseBlogDatabase();
  // Open, and opened from the settings as they are loaded now.
  bool IsOpen() const { return db_ != nullptr && opened_at_load_ == settings_.Loads(); }

  // Whether the database holds a table of that name; names compare without regard to case,
  // as the engine compares them.
  bool TableExists(std::string_view name);
  void CreateEntryTable();
  // Moves the entries of the legacy "Data" table into the title's table.
  void MigrateDataTable();

  void MoveFirstEntry();
  void MoveLastEntry();
  void MoveNextEntry();
  void MovePreviousEntry();
  // The entry with exactly this stamp; when there is none, CurrentEntry keeps the stamp
  // with empty content.
  void SeekEntry(const core::Stamp& stamp);
  // The oldest entry later than, or the newest entry earlier than, CurrentEntry.Stamp.
  void SeekLaterEntry();
  void SeekEarlierEntry();

  // Stores CurrentEntry, replacing the entry with the same stamp if there is one. The
  // content loses its leading and trailing spaces. The cursor does not move.
  void SaveEntry();
  // Deletes the entry with that stamp and positions on the next newer entry, or on the
  // newest when the newest was deleted.
  void DeleteEntry(const core::Stamp& stamp);

  // Whether an entry with exactly this stamp is stored; the cursor does not move.
  bool HasEntry(const core::Stamp& stamp);
  // Moves the entry at `from` to `to` with the given content (spaces trimmed at both ends),
  // in one step that either happens whole or not at all. Refused (false, nothing changed)
  // when another entry already stands at `to`. The cursor does not move.
  bool MoveEntry(const core::Stamp& from, const core::Stamp& to, const std::string& content);

  // Told after each write of entries this store commits (saving, moving, deleting, a
  // WriteBatch): the database file's change counter as the write found it, which the commit
  // moved on by one, and the stored stamps of the entries it added, changed or removed. A save that finds
  // the same text stored writes nothing and tells nothing. Writes of whole tables (copying
  // entries, moving the old table's rows) are not told.
  using WriteListener =
      std::function<void(std::uint32_t counter_before, const std::vector<std::string>& dates)>;
  void SetWriteListener(WriteListener listener) { write_listener_ = std::move(listener); }

  // How many entries the blog titled `title` keeps in this database; 0 when it has no table.
  // The cursor does not move.
  std::int32_t CountEntriesOf(std::string_view title);
  // Copies every entry kept under the title `from` into the open title's table, in one
  // transaction: all of them arrive, or none. The table of `from` stays as it is. Fails when
  // an entry of the same stamp is already there.
  void CopyEntriesFrom(std::string_view from);

  // While a Horizon stands, walks (NewestFirst) pass over the entries dated later than its
  // stamp, as if they were not stored yet, and PublishedCount() leaves them out: a build sees
  // only the entries whose time has come. Without a stamp it changes nothing. Dates compare
  // as their stored text, which orders them as time does.
  class Horizon {
   public:
    Horizon(EntryStore& entries, std::optional<core::Stamp> newest);
    ~Horizon();
    Horizon(const Horizon&) = delete;
    Horizon& operator=(const Horizon&) = delete;

   private:
    EntryStore& entries_;
    std::optional<std::string> outer_;
  };
  // How many entries a walk visits: every one, or under a Horizon those at or before it.
  std::int32_t PublishedCount();
  // Whether an entry is dated later than `after` and no later than `up_to`; the cursor does
  // not move.
  bool HasEntryBetween(const core::Stamp& after, const core::Stamp& up_to);

  // Walks the entries from the newest to the oldest, visiting what MoveLastEntry and
  // MovePreviousEntry would, but with one running query instead of a search for each step,
  // and with each entry's text read where the database holds it rather than copied. The
  // cursor ends where the walk stopped: on the entry it was at, or past the oldest when it
  // came to the end. Meant for reading inside a ReadBatch; save and delete only after it.
  class NewestFirst {
   public:
    explicit NewestFirst(EntryStore& entries);
    ~NewestFirst();
    NewestFirst(const NewestFirst&) = delete;
    NewestFirst& operator=(const NewestFirst&) = delete;

    bool Done() const { return done_; }
    const core::Stamp& Stamp() const { return stamp_; }
    // Whether the row's stored date reads as a date; Stamp() is the empty entry's when not.
    bool Dated() const { return dated_; }
    // Valid until the next step.
    std::string_view Content() const { return content_; }
    void Next();

   private:
    void Read();
    void ReadOne();

    EntryStore& entries_;
    // None when a row without a usable date makes the walk go by the cursor instead.
    std::unique_ptr<core::SqliteStatement> rows_;
    bool done_ = true;
    bool dated_ = false;
    core::Stamp stamp_;
    std::string_view content_;
  };

  // Adds or replaces many entries in one transaction, as an import does: they all arrive with
  // Commit(), which tells the write listener of every stamp added or changed, and none when
  // the batch ends without it, a write having failed or not. Holds
  // the file's write lock from start to end. The cursor does not move; save and delete only
  // after it.
  class WriteBatch {
   public:
    explicit WriteBatch(EntryStore& entries);
    ~WriteBatch();
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // Whether an entry with exactly this stamp is stored, those put in this batch included.
    bool Has(const core::Stamp& stamp) { return entries_.HasEntry(stamp); }
    // Stores the entry (spaces trimmed at both ends), replacing one with the same stamp.
    void Put(const core::Stamp& stamp, std::string_view content);
    void Commit();

   private:
    EntryStore& entries_;
    std::unique_ptr<core::SqliteTransaction> transaction_;
    std::optional<std::uint32_t> counter_before_;
    std::vector<std::string> written_;  // stored stamps added or changed, told on Commit()
  };

  // Holds one read transaction over a walk through many entries, so each step is a plain
  // index lookup instead of a fresh lock on the file, and the walk sees one consistent
  // state. Only for reading: save and delete outside it.
  class ReadBatch {
   public:
    explicit ReadBatch(EntryStore& entries);
    ~ReadBatch();
    ReadBatch(const ReadBatch&) = delete;
    ReadBatch& operator=(const ReadBatch&) = delete;

   private:
    EntryStore& entries_;
  };

 private:
  struct Statements;
  enum class Place { BeforeFirst, OnRow, Between, AfterLast };

  void EnsureTableOpen();
  // What storing one entry did: the same text was there, it replaced another, or it is new.
  enum class Stored { Same, Changed, Added };
  // Stores the entry as SaveEntry does, inside a transaction the caller holds.
  Stored Store(const core::Stamp& stamp, const std::string& content);
  // Closes a database opened from the settings of an earlier load.
  void CloseIfOutdated();
  std::int32_t CountRows();
  // Whether a row's date is NULL or not text: rows only other programs write, which the
  // cursor's own searches place.
  bool HasOddDates();
  // Runs a positioning query and loads its row (if any) into CurrentEntry.
  bool Land(core::SqliteStatement& query, Place miss);
  void ReadCurrentEntry(const core::SqliteStatement* row);
  [[noreturn]] void FailOnTitle(const std::exception& error) const;
  void Told(std::uint32_t counter_before, const std::vector<std::string>& dates) const;

  core::SettingsStore& settings_;
  int busy_timeout_ms_;
  std::string path_;
  std::string title_;
  std::uint64_t opened_at_load_ = 0;
  std::unique_ptr<core::SqliteDb> db_;
  std::unique_ptr<Statements> statements_;
  bool no_entry_ = true;
  std::int32_t entry_count_ = 0;
  Place place_ = Place::BeforeFirst;
  std::string key_;  // stored stamp text of the row the cursor is on, or the stamp sought
  WriteListener write_listener_;
  std::optional<std::string> horizon_;  // stored text of the newest stamp a walk visits
};

}  // namespace quill::store
