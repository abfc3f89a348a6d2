#include "store/entry_store.h"

#include <sqlite3.h>

#include "core/private_file.h"
#include "core/quill_error.h"
#include "core/sqlite_db.h"
#include "core/text.h"

namespace quill::store {

using core::QuillError;
using core::ReplaceAll;
using core::SqliteDb;
using core::SqliteStatement;
using core::SqliteTransaction;

namespace {

constexpr std::string_view kLegacyTable = "Data";

// A row whose Date is NULL (another program wrote it) is the entry of the empty stamp and
// stands at 1899-12-30 12:00:00, walked to from either side like any other.
// (The empty stamp's text, as an SQL literal.)
std::string NullDate() { return "'1899-12-30 12:00:00'"; }

// The row of stamp ?1, a NULL date included.
std::string SameStamp() { return "(Date = ?1 OR (Date IS NULL AND ?1 = " + NullDate() + "))"; }

// The first row of `order` ("" or "DESC") among the rows whose Date meets `condition`
// (on ?1), NULL dates counted at their stamp. Each half is a plain index lookup.
std::string Nearest(const std::string& table, const std::string& condition,
                    std::string_view order) {
  const std::string null_condition = ReplaceAll(condition, "Date", NullDate());
  return "SELECT Date, Content FROM (SELECT * FROM (SELECT Date, Content FROM " + table +
         " WHERE " + condition + " ORDER BY Date " + std::string(order) +
         " LIMIT 1) UNION ALL SELECT * FROM (SELECT Date, Content FROM " + table +
         " WHERE Date IS NULL AND " + null_condition + " LIMIT 1)) ORDER BY coalesce(Date, " +
         NullDate() + ") " + std::string(order) + " LIMIT 1";
}

}  // namespace

// The queries of the open entries table, prepared once when it opens.
struct EntryStore::Statements {
  Statements(SqliteDb& db, const std::string& table)
      : first(db, Nearest(table, "Date IS NOT NULL", "")),
        last(db, Nearest(table, "Date IS NOT NULL", "DESC")),
        exact(db, "SELECT Date, Content FROM " + table + " WHERE " + SameStamp() + " LIMIT 1"),
        later(db, Nearest(table, "Date > ?1", "")),
        earlier(db, Nearest(table, "Date < ?1", "DESC")),
        at_or_later(db, Nearest(table, "Date >= ?1", "")),
        at_or_earlier(db, Nearest(table, "Date <= ?1", "DESC")),
        update(db, "UPDATE " + table + " SET Content = ?2 WHERE " + SameStamp() +
                       " AND Content IS NOT ?2"),
        insert(db, "INSERT INTO " + table + " (Date, Content) VALUES (?1, ?2)"),
        remove(db, "DELETE FROM " + table + " WHERE " + SameStamp()),
        count(db, "SELECT count(*) FROM " + table) {}

  SqliteStatement first, last, exact, later, earlier, at_or_later, at_or_earlier;
  SqliteStatement update, insert, remove, count;
};

EntryStore::EntryStore(core::SettingsStore& settings, int busy_timeout_ms)
    : settings_(settings), busy_timeout_ms_(busy_timeout_ms) {}

EntryStore::~EntryStore() { CloseBlogDatabase(); }

EntryStore::ReadBatch::ReadBatch(EntryStore& entries) : entries_(entries) {
  entries_.EnsureTableOpen();
  entries_.db_->Exec("BEGIN");
}

EntryStore::ReadBatch::~ReadBatch() {
  // A reading transaction has nothing to lose; ending it cannot fail in a way that matters.
  if (entries_.db_) sqlite3_exec(entries_.db_->Handle(), "COMMIT", nullptr, nullptr, nullptr);
}

void EntryStore::CloseBlogDatabase() {
  statements_.reset();
  db_.reset();
}

void EntryStore::CloseIfOutdated() {
  if (db_ && opened_at_load_ != settings_.Loads()) CloseBlogDatabase();
}

void EntryStore::OpenBlogDatabase() {
  CloseIfOutdated();
  if (db_) return;
  const core::ProjectSettings& settings = settings_.Settings();
  // Without an output folder the database would land in whatever folder the program was
  // started from.
  if (settings.OutputFolder.empty()) {
    throw QuillError("The project has no output folder yet, so its entries have no home.");
  }
  if (settings.Title.empty()) {
    throw QuillError("The blog has no title yet, and its entries are kept under the title.");
  }
  opened_at_load_ = settings_.Loads();
  path_ = settings.DatabasePath;
  title_ = settings.Title;
  // Entries may be drafts nobody else should read before they are published.
  core::MakeFilePrivate(path_);
  auto db = std::make_unique<SqliteDb>(path_, true, busy_timeout_ms_);
  // Reading the schema finds a file that is not a database before anything is written.
  db->Exec("SELECT count(*) FROM sqlite_master");
  db_ = std::move(db);
  try {
    if (!core::EqualsIgnoringCase(title_, kLegacyTable) && TableExists(kLegacyTable)) {
      MigrateDataTable();
    }
  } catch (...) {
    CloseBlogDatabase();
    throw;
  }
}

bool EntryStore::TableExists(std::string_view name) {
  SqliteStatement query(*db_,
                        "SELECT 1 FROM sqlite_master WHERE type = 'table'"
                        " AND name = ?1 COLLATE NOCASE");
  return query.Bind(1, name).Step();
}

void EntryStore::FailOnTitle(const std::exception& error) const {
  throw QuillError("The blog title \"" + title_ + "\" cannot name an entries table in " + path_ +
                   ": " + error.what());
}

void EntryStore::CreateEntryTable() {
  try {
    db_->Exec("CREATE TABLE " + core::QuoteIdentifier(title_) +
              " (Date TEXT PRIMARY KEY, Content TEXT)");
  } catch (const QuillError& error) {
    FailOnTitle(error);
  }
}

void EntryStore::MigrateDataTable() {
  const std::string table = core::QuoteIdentifier(title_);
  const std::string legacy = core::QuoteIdentifier(kLegacyTable);
  SqliteTransaction transaction(*db_);
  if (!TableExists(title_)) CreateEntryTable();
  SqliteStatement rows(*db_, "SELECT count(*) FROM " + legacy);
  rows.Step();
  const bool has_rows = rows.Int(0) > 0;
  rows.Reset();
  if (has_rows) {
    // Rows of the legacy table replace entries of the same stamp, as saving them would.
    db_->Exec("INSERT INTO " + table +
              " (Date, Content) SELECT coalesce(Date, '1899-12-30 12:00:00'),"
              " trim(coalesce(Content, ''), ' ') FROM " +
              legacy + " WHERE true ORDER BY Date" +
              " ON CONFLICT (Date) DO UPDATE SET Content = excluded.Content");
    db_->Exec("DROP TABLE " + legacy);
  }
  transaction.Commit();
}

void EntryStore::OpenEntryTable() {
  CloseIfOutdated();
  if (statements_) return;
  OpenBlogDatabase();
  if (!TableExists(title_)) CreateEntryTable();
  try {
    statements_ = std::make_unique<Statements>(*db_, core::QuoteIdentifier(title_));
  } catch (const QuillError& error) {
    FailOnTitle(error);
  }
  entry_count_ = CountRows();
  no_entry_ = entry_count_ < 1;
  place_ = Place::BeforeFirst;
  key_.clear();
}

void EntryStore::EnsureTableOpen() {
  CloseIfOutdated();
  if (!statements_) OpenEntryTable();
}

std::int32_t EntryStore::CountRows() {
  statements_->count.Step();
  const auto rows = statements_->count.Int(0);
  statements_->count.Reset();
  return static_cast<std::int32_t>(std::min<std::int64_t>(rows, INT32_MAX));
}

bool EntryStore::HasOddDates() {
  // Both halves are index lookups: NULLs sort first and blobs after all text.
  const std::string table = core::QuoteIdentifier(title_);
  SqliteStatement odd(*db_, "SELECT EXISTS (SELECT 1 FROM " + table +
                                " WHERE Date IS NULL) OR EXISTS (SELECT 1 FROM " + table +
                                " WHERE Date >= x'')");
  return odd.Step() && odd.Int(0) != 0;
}

EntryStore::NewestFirst::NewestFirst(EntryStore& entries) : entries_(entries) {
  entries_.EnsureTableOpen();
  if (entries_.HasOddDates()) {
    entries_.MoveLastEntry();
  } else {
    // Dates are unique text here, so the index gives the cursor's order.
    rows_ = std::make_unique<SqliteStatement>(
        *entries_.db_, "SELECT Date, Content FROM " + core::QuoteIdentifier(entries_.title_) +
                           " WHERE Date IS NOT NULL ORDER BY Date DESC");
  }
  Read();
}

EntryStore::NewestFirst::~NewestFirst() {
  if (!rows_) return;
  const bool done = done_;
  const std::string key = done ? std::string() : std::string(rows_->View(0));
  rows_.reset();
  if (done) {
    entries_.no_entry_ = true;
    entries_.place_ = Place::BeforeFirst;
    entries_.ReadCurrentEntry(nullptr);
  } else {
    try {
      entries_.Land(entries_.statements_->exact.Bind(1, key), Place::Between);
    } catch (const QuillError&) {
      // The walk already read this row; a cursor that cannot follow is left where it was.
    }
  }
}

void EntryStore::NewestFirst::Next() {
  if (!rows_) entries_.MovePreviousEntry();
  Read();
}

void EntryStore::NewestFirst::Read() {
  ReadOne();
  // Entries beyond the horizon are the newest, so they come first and are passed over.
  const std::optional<std::string>& horizon = entries_.horizon_;
  if (!horizon) return;
  while (!done_ && (rows_ ? rows_->View(0) : std::string_view(entries_.key_)) > *horizon) {
    if (!rows_) entries_.MovePreviousEntry();
    ReadOne();
  }
}

void EntryStore::NewestFirst::ReadOne() {
  if (!rows_) {
    done_ = entries_.NoEntry();
    dated_ = !done_ && core::Stamp::FromText(entries_.key_).has_value();
    stamp_ = entries_.CurrentEntry.Stamp;
    content_ = entries_.CurrentEntry.Content;
    return;
  }
  done_ = !rows_->Step();
  if (done_) {
    content_ = {};
    return;
  }
  const auto stamp = core::Stamp::FromText(rows_->View(0));
  dated_ = stamp.has_value();
  stamp_ = stamp.value_or(core::Stamp::Empty());
  content_ = rows_->View(1);
}

EntryStore::Horizon::Horizon(EntryStore& entries, std::optional<core::Stamp> newest)
    : entries_(entries), outer_(entries.horizon_) {
  if (newest) entries_.horizon_ = newest->ToText();
}

EntryStore::Horizon::~Horizon() { entries_.horizon_ = outer_; }

std::int32_t EntryStore::PublishedCount() {
  EnsureTableOpen();
  if (!horizon_) return entry_count_;
  SqliteStatement later(*db_, "SELECT count(*) FROM " + core::QuoteIdentifier(title_) +
                                  " WHERE typeof(Date) = 'text' AND Date > ?1");
  later.Bind(1, *horizon_).Step();
  return entry_count_ - static_cast<std::int32_t>(later.Int(0));
}

bool EntryStore::HasEntryBetween(const core::Stamp& after, const core::Stamp& up_to) {
  EnsureTableOpen();
  SqliteStatement between(*db_, "SELECT 1 FROM " + core::QuoteIdentifier(title_) +
                                    " WHERE Date > ?1 AND Date <= ?2 LIMIT 1");
  return between.Bind(1, after.ToText()).Bind(2, up_to.ToText()).Step();
}

void EntryStore::ReadCurrentEntry(const SqliteStatement* row) {
  if (row == nullptr) {
    CurrentEntry = Entry{};
    return;
  }
  const auto stamp = row->IsNull(0) ? std::nullopt : core::Stamp::FromText(row->Text(0));
  CurrentEntry.Stamp = stamp.value_or(core::Stamp::Empty());
  CurrentEntry.Content = row->Text(1);
}

bool EntryStore::Land(SqliteStatement& query, Place miss) {
  const bool found = query.Step();
  no_entry_ = !found;
  if (found) {
    place_ = Place::OnRow;
    key_ = query.IsNull(0) ? core::Stamp::Empty().ToText() : query.Text(0);
    ReadCurrentEntry(&query);
  } else {
    place_ = miss;
    ReadCurrentEntry(nullptr);
  }
  query.Reset();
  return found;
}

void EntryStore::MoveFirstEntry() {
  EnsureTableOpen();
  Land(statements_->first, Place::BeforeFirst);
}

void EntryStore::MoveLastEntry() {
  EnsureTableOpen();
  Land(statements_->last, Place::AfterLast);
}

void EntryStore::MoveNextEntry() {
  EnsureTableOpen();
  switch (place_) {
    case Place::BeforeFirst:
      Land(statements_->first, Place::AfterLast);
      break;
    case Place::OnRow:
    case Place::Between:
      Land(statements_->later.Bind(1, key_), Place::AfterLast);
      break;
    case Place::AfterLast:
      no_entry_ = true;
      ReadCurrentEntry(nullptr);
      break;
  }
}

void EntryStore::MovePreviousEntry() {
  EnsureTableOpen();
  switch (place_) {
    case Place::AfterLast:
      Land(statements_->last, Place::BeforeFirst);
      break;
    case Place::OnRow:
    case Place::Between:
      Land(statements_->earlier.Bind(1, key_), Place::BeforeFirst);
      break;
    case Place::BeforeFirst:
      no_entry_ = true;
      ReadCurrentEntry(nullptr);
      break;
  }
}

void EntryStore::SeekEntry(const core::Stamp& stamp) {
  EnsureTableOpen();
  const std::string key = stamp.ToText();
  if (!Land(statements_->exact.Bind(1, key), Place::Between)) {
    // A miss keeps the stamp sought, and the cursor waits there for the next step.
    key_ = key;
    CurrentEntry.Stamp = stamp;
  }
}

void EntryStore::SeekLaterEntry() {
  EnsureTableOpen();
  Land(statements_->later.Bind(1, CurrentEntry.Stamp.ToText()), Place::AfterLast);
}

void EntryStore::SeekEarlierEntry() {
  EnsureTableOpen();
  Land(statements_->earlier.Bind(1, CurrentEntry.Stamp.ToText()), Place::BeforeFirst);
}

EntryStore::Stored EntryStore::Store(const core::Stamp& stamp, const std::string& content) {
  const std::string key = stamp.ToText();
  statements_->update.Bind(1, key).Bind(2, content).Run();
  if (db_->Changes() > 0) return Stored::Changed;
  // Not changed: the same text is stored, or there is no such entry yet.
  if (HasEntry(stamp)) return Stored::Same;
  statements_->insert.Bind(1, key).Bind(2, content).Run();
  return Stored::Added;
}

void EntryStore::SaveEntry() {
  EnsureTableOpen();
  SqliteTransaction transaction(*db_);
  const std::uint32_t counter = db_->ChangeCounter();
  const Stored stored = Store(CurrentEntry.Stamp, core::Trim(CurrentEntry.Content));
  transaction.Commit();
  if (stored == Stored::Added) ++entry_count_;
  if (stored != Stored::Same) Told(counter, {CurrentEntry.Stamp.ToText()});
}

void EntryStore::Told(std::uint32_t counter_before, const std::vector<std::string>& dates) const {
  if (write_listener_) write_listener_(counter_before, dates);
}

EntryStore::WriteBatch::WriteBatch(EntryStore& entries) : entries_(entries) {
  entries_.EnsureTableOpen();
  transaction_ = std::make_unique<SqliteTransaction>(*entries_.db_);
}

// Without Commit(), the transaction rolls back as it goes, the count stays as it was and
// nobody is told.
EntryStore::WriteBatch::~WriteBatch() = default;

void EntryStore::WriteBatch::Put(const core::Stamp& stamp, std::string_view content) {
  // The counter as the batch's first write finds it: the transaction holds the file from then.
  if (!counter_before_) counter_before_ = entries_.db_->ChangeCounter();
  if (entries_.Store(stamp, core::Trim(content)) != Stored::Same) {
    written_.push_back(stamp.ToText());
  }
}

void EntryStore::WriteBatch::Commit() {
  transaction_->Commit();
  entries_.entry_count_ = entries_.CountRows();
  if (!written_.empty()) entries_.Told(*counter_before_, written_);
}

bool EntryStore::HasEntry(const core::Stamp& stamp) {
  EnsureTableOpen();
  auto& query = statements_->exact;
  const bool found = query.Bind(1, stamp.ToText()).Step();
  query.Reset();
  return found;
}

bool EntryStore::MoveEntry(const core::Stamp& from, const core::Stamp& to,
                           const std::string& content) {
  EnsureTableOpen();
  SqliteTransaction transaction(*db_);
  if (to != from && HasEntry(to)) return false;
  const std::uint32_t counter = db_->ChangeCounter();
  statements_->remove.Bind(1, from.ToText()).Run();
  statements_->insert.Bind(1, to.ToText()).Bind(2, core::Trim(content)).Run();
  transaction.Commit();
  entry_count_ = CountRows();
  Told(counter, {from.ToText(), to.ToText()});
  return true;
}

std::int32_t EntryStore::CountEntriesOf(std::string_view title) {
  OpenBlogDatabase();
  if (!TableExists(title)) return 0;
  SqliteStatement rows(*db_, "SELECT count(*) FROM " + core::QuoteIdentifier(title));
  rows.Step();
  return static_cast<std::int32_t>(rows.Int(0));
}

void EntryStore::CopyEntriesFrom(std::string_view from) {
  OpenBlogDatabase();
  SqliteTransaction transaction(*db_);
  if (!TableExists(title_)) CreateEntryTable();
  db_->Exec("INSERT INTO " + core::QuoteIdentifier(title_) +
            " (Date, Content) SELECT Date, Content FROM " + core::QuoteIdentifier(from) +
            " ORDER BY Date");
  transaction.Commit();
  if (statements_) {
    entry_count_ = CountRows();
    no_entry_ = entry_count_ < 1;
  }
}

void EntryStore::DeleteEntry(const core::Stamp& stamp) {
  EnsureTableOpen();
  CurrentEntry.Stamp = stamp;
  const std::string key = stamp.ToText();
  if (entry_count_ > 0) {
    SqliteTransaction transaction(*db_);
    const std::uint32_t counter = db_->ChangeCounter();
    statements_->remove.Bind(1, key).Run();
    const bool removed = db_->Changes() > 0;
    transaction.Commit();
    if (removed) Told(counter, {key});
    entry_count_ = CountRows();
  }
  if (entry_count_ < 1) {
    no_entry_ = true;
    place_ = Place::BeforeFirst;
    ReadCurrentEntry(nullptr);
    return;
  }
  if (!Land(statements_->at_or_later.Bind(1, key), Place::AfterLast)) {
    Land(statements_->at_or_earlier.Bind(1, key), Place::BeforeFirst);
  }
}

}  // namespace quill::store
