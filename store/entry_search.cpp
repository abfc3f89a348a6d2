#include "store/entry_search.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <optional>

#include "core/private_file.h"
#include "core/quill_error.h"
#include "core/reader_text.h"
#include "core/sqlite_db.h"
#include "core/text.h"
#include "core/utf8.h"

namespace quill::store {

using core::QuillError;
using core::SqliteDb;
using core::SqliteStatement;

namespace {

namespace fs = std::filesystem;

// What the index holds; another value makes it start afresh.
constexpr std::string_view kFormat = "2";
constexpr std::string_view kIndexSuffix = "-search";
// Entries compared with the index in one slice, and the longest the database's read lock is
// held for a run of slices.
constexpr int kSliceRows = 250;
constexpr std::chrono::milliseconds kLongestHold{500};

// Characters that are neither letters nor digits, among those above ASCII.
constexpr std::array<std::pair<char32_t, char32_t>, 9> kNoWordRanges{{
    {0x80, 0xA9},
    {0xAB, 0xB1},
    {0xB4, 0xB4},
    {0xB6, 0xB8},
    {0xBB, 0xBF},
    {0x2000, 0x206F},  // general punctuation
    {0x2190, 0x2BFF},  // arrows, mathematical and technical signs, boxes, shapes, symbols
    {0x3000, 0x303F},  // CJK punctuation
    {0xFE30, 0xFE4F},
}};

bool IsWordCharacter(char32_t c) {
  if (c < 0x80) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  }
  if (c == 0xD7 || c == 0xF7) return false;
  for (const auto& [first, last] : kNoWordRanges) {
    if (c >= first && c <= last) return false;
  }
  return true;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// How many letters and digits `chunk` ends with.
int TrailingWordCharacters(std::string_view chunk) {
  int count = 0;
  for (std::size_t at = 0; at < chunk.size();) {
    char32_t c = 0;
    const std::size_t length = core::DecodeUtf8(chunk, at, c);
    count = length > 0 && IsWordCharacter(c) ? count + 1 : 0;
    at += std::max<std::size_t>(length, 1);
  }
  return count;
}

bool HoldsWord(std::string_view chunk) {
  for (std::size_t at = 0; at < chunk.size();) {
    char32_t c = 0;
    const std::size_t length = core::DecodeUtf8(chunk, at, c);
    if (length > 0 && IsWordCharacter(c)) return true;
    at += std::max<std::size_t>(length, 1);
  }
  return false;
}

// Every run of `words` between spaces that holds a word, as an FTS5 phrase, all of them
// required; with `last_is_start` the last word of the last run may be the start of a longer
// one, once it has two characters (a single letter would find nearly every entry, and take
// the longest to do it). Each phrase is split into words by the index's own tokenizer, as
// the entries were.
std::string MatchExpression(std::string_view words, bool last_is_start) {
  std::string expression;
  bool last_open = false;
  for (std::size_t at = 0; at < words.size();) {
    while (at < words.size() && IsSpace(words[at])) ++at;
    std::size_t end = at;
    while (end < words.size() && !IsSpace(words[end])) ++end;
    const std::string_view chunk = words.substr(at, end - at);
    at = end;
    if (!HoldsWord(chunk)) continue;
    if (!expression.empty()) expression += " AND ";
    expression += '"' + core::ReplaceAll(chunk, "\"", "\"\"") + '"';
    last_open = last_is_start && end == words.size() && TrailingWordCharacters(chunk) >= 2;
  }
  if (last_open) expression += '*';
  return expression;
}

std::string_view ValueBytes(sqlite3_value* value) {
  const void* data = sqlite3_value_blob(value);
  const int size = sqlite3_value_bytes(value);
  if (data == nullptr || size <= 0) return {};
  return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

// quill_digest(text): a 64-bit hash of the bytes, eight at a time, which tells a changed
// entry. (Comparing every entry after another program's write reads them all; the hash is
// the part of that work this program adds to the engine's own.)
void Digest(sqlite3_context* context, int, sqlite3_value** values) {
  const std::string_view bytes = ValueBytes(values[0]);
  const auto mix = [](std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 29);
  };
  std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ bytes.size();
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + at, 8);
    hash = mix(hash, word);
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
  sqlite3_result_int64(context, static_cast<sqlite3_int64>(mix(mix(hash, tail), 0)));
}

// quill_reader_text(html): the words an entry's reader sees.
void ReaderText(sqlite3_context* context, int, sqlite3_value** values) {
  const std::string text = core::ReaderText(ValueBytes(values[0]));
  sqlite3_result_text64(context, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// The header of the database file as it stands, read while the index's transaction holds
// its read lock; the change counter sits at offset 24, the journal mode at 18 (2: WAL).
constexpr std::size_t kHeaderSize = 28;

// The file's change counter, which every commit in rollback mode moves on by one; none in
// WAL mode, where commits may leave it as it was.
std::optional<std::uint32_t> CounterOf(const std::string& header) {
  if (header.size() < kHeaderSize || header[18] == 2) return std::nullopt;
  const auto byte = [&](int at) { return std::uint32_t{static_cast<unsigned char>(header[at])}; };
  return byte(24) << 24 | byte(25) << 16 | byte(26) << 8 | byte(27);
}

// The database file as it stands: its change counter, size and time, which every write
// moves on. Empty where the counter tells nothing.
std::string Signature(const std::string& path, const std::string& header) {
  const auto counter = CounterOf(header);
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (!counter || error) return {};
  const auto time = fs::last_write_time(path, error);
  if (error) return {};
  return std::to_string(*counter) + " " + std::to_string(size) + " " +
         std::to_string(time.time_since_epoch().count());
}

bool CannotBeRead(const core::SqliteError& error) {
  return error.Reason().starts_with(sqlite3_errstr(SQLITE_CORRUPT)) ||
         error.Reason().starts_with(sqlite3_errstr(SQLITE_NOTADB));
}

// A transaction that writes to the index and only reads the entries' database. BEGIN
// IMMEDIATE would take the write lock of every attached database, Blog.mdb's too, and a
// program that read Blog.mdb and then saves would be refused at once rather than wait.
class IndexTransaction {
 public:
  explicit IndexTransaction(SqliteDb& db) : db_(db) {
    db_.Exec("BEGIN");
    db_.Exec("UPDATE meta SET value = value WHERE name = 'format'");  // the index's write lock
  }
  ~IndexTransaction() {
    if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
  IndexTransaction(const IndexTransaction&) = delete;
  IndexTransaction& operator=(const IndexTransaction&) = delete;

  void Commit() {
    db_.Exec("COMMIT");
    open_ = false;
  }

 private:
  SqliteDb& db_;
  bool open_ = true;
};

}  // namespace

// The statements each entry brought into the index runs, prepared once.
struct EntrySearch::Statements {
  Statements(SqliteDb& db, const std::string& table)
      : add(db, "INSERT INTO entries (date, digest) VALUES (?1, ?2)"),
        add_words(db,
                  "INSERT INTO words (rowid, text) SELECT ?1, quill_reader_text(Content) FROM " +
                      table + " WHERE Date = ?2"),
        forget(db, "DELETE FROM entries WHERE id = ?1") {}

  SqliteStatement add, add_words, forget;
};

EntrySearch::EntrySearch(core::SettingsStore& settings, int busy_timeout_ms)
    : settings_(settings), busy_timeout_ms_(busy_timeout_ms) {}

EntrySearch::~EntrySearch() = default;

bool EntrySearch::HasWords(std::string_view words) {
  return !MatchExpression(words, false).empty();
}

void EntrySearch::Close() {
  statements_.reset();
  db_.reset();
  matched_version_ = -1;
  matched_counter_.reset();
  passing_ = false;
  pass_done_ = pass_total_ = 0;
  stamps_.clear();
}

void EntrySearch::NoteWrite(std::uint32_t counter_before, const std::vector<std::string>& dates) {
  // Notes no look has followed for long are of no more use than a comparison of everything.
  if (noted_.size() >= 256) noted_.clear();
  noted_.emplace_back(counter_before, dates);
}

bool EntrySearch::Open() {
  if (db_ && opened_at_load_ == settings_.Loads()) return true;
  Close();
  const core::ProjectSettings& project = settings_.Settings();
  if (project.OutputFolder.empty() || project.Title.empty()) return false;
  std::error_code error;
  if (!fs::is_regular_file(project.DatabasePath, error)) return false;
  if (sqlite3_compileoption_used("ENABLE_FTS5") == 0) {
    throw QuillError("Searching needs SQLite's full-text search (FTS5), which this build lacks.");
  }
  opened_at_load_ = settings_.Loads();
  // Noted writes count the commits of one file.
  if (project.DatabasePath != database_) noted_.clear();
  database_ = project.DatabasePath;
  table_ = "blog." + core::QuoteIdentifier(project.Title);
  OpenIndex(database_ + std::string(kIndexSuffix));
  SqliteStatement attach(*db_, "ATTACH DATABASE ?1 AS blog");
  attach.Bind(1, database_).Run();
  statements_ = std::make_unique<Statements>(*db_, table_);
  LoadStamps();
  return true;
}

void EntrySearch::OpenIndex(const std::string& path) {
  in_memory_ = false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      // It holds every entry's words, as the database holds the entries.
      core::MakeFilePrivate(path);
      db_ = std::make_unique<SqliteDb>(path, true, busy_timeout_ms_);
      PrepareIndex();
      return;
    } catch (const core::SqliteError& failure) {
      db_.reset();
      if (attempt > 0 || !CannotBeRead(failure)) break;
      // An index is only ever a copy; one that cannot be read is made again.
      std::error_code ignored;
      fs::remove(path, ignored);
      fs::remove(path + "-journal", ignored);
    }
  }
  in_memory_ = true;
  db_ = std::make_unique<SqliteDb>(":memory:", true, busy_timeout_ms_);
  PrepareIndex();
}

void EntrySearch::PrepareIndex() {
  sqlite3* handle = db_->Handle();
  sqlite3_create_function_v2(handle, "quill_digest", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                             &Digest, nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(handle, "quill_reader_text", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                             nullptr, &ReaderText, nullptr, nullptr, nullptr);
  core::SqliteTransaction transaction(*db_);
  db_->Exec("CREATE TABLE IF NOT EXISTS meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)");
  if (MetaValue("format") != kFormat) {
    db_->Exec("DROP TABLE IF EXISTS entries");
    db_->Exec("DROP TABLE IF EXISTS words");
    db_->Exec("DELETE FROM meta");
    // Row numbers are never used twice, so a row left over from a removed entry never
    // answers for another one.
    db_->Exec(
        "CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT, date TEXT NOT NULL UNIQUE,"
        " digest INTEGER NOT NULL)");
    db_->Exec(
        "CREATE VIRTUAL TABLE words USING fts5(text, content = '',"
        " tokenize = 'unicode61 remove_diacritics 2', prefix = '1 2')");
    SetMetaValue("format", kFormat);
  }
  transaction.Commit();
  // The index is a copy that is made again whenever it cannot be read: its writes need not
  // wait for the disk, and in WAL mode an interrupted one leaves it whole.
  db_->Exec("PRAGMA journal_mode = WAL");
  db_->Exec("PRAGMA synchronous = NORMAL");
}

void EntrySearch::LoadStamps() {
  stamps_.clear();
  SqliteStatement rows(*db_, "SELECT id, date FROM entries");
  while (rows.Step()) {
    if (const auto stamp = core::Stamp::FromText(rows.View(1))) stamps_[rows.Int(0)] = *stamp;
  }
  leftovers_ = std::atoll(MetaValue("leftovers").c_str());
  const std::string counter = MetaValue("counter");
  if (!counter.empty()) matched_counter_ = static_cast<std::uint32_t>(std::stoull(counter));
}

std::string EntrySearch::MetaValue(std::string_view name) {
  SqliteStatement query(*db_, "SELECT value FROM meta WHERE name = ?1");
  return query.Bind(1, name).Step() ? query.Text(0) : std::string();
}

void EntrySearch::SetMetaValue(std::string_view name, std::string_view value) {
  SqliteStatement(*db_, "INSERT OR REPLACE INTO meta (name, value) VALUES (?1, ?2)")
      .Bind(1, name)
      .Bind(2, value)
      .Run();
}

bool EntrySearch::Update(std::chrono::milliseconds budget) {
  if (!Open()) return true;
  using Clock = std::chrono::steady_clock;
  const auto started = Clock::now();
  // (A budget without end would overflow the clock's own units.)
  const bool bounded = budget != std::chrono::milliseconds::max();
  const auto spent = [&] { return bounded && Clock::now() - started >= budget; };
  for (;;) {
    IndexTransaction transaction(*db_);
    // Reading the database's schema takes its read lock: nobody commits to it until the
    // transaction ends, so what one transaction reads is one state of the file.
    SqliteStatement(*db_, "SELECT count(*) FROM blog.sqlite_master").Step();
    SqliteStatement version_query(*db_, "PRAGMA blog.data_version");
    version_query.Step();
    const std::int64_t version = version_query.Int(0);
    if (!passing_) {
      if (version == matched_version_) return true;  // nobody wrote to it since
      const std::string header = db_->FileHeader("blog", kHeaderSize);
      const bool same_title =
          core::EqualsIgnoringCase(MetaValue("title"), settings_.Settings().Title);
      const std::string signature = Signature(database_, header);
      const auto counter = CounterOf(header);
      if (same_title &&
          ((matched_version_ < 0 && !signature.empty() && signature == MetaValue("signature")) ||
           (counter && FollowNotedWrites(*counter)))) {
        Matched(version, header);
        transaction.Commit();
        return true;
      }
      StartPass(version, same_title);
    }
    // Slices until the budget is spent, but the read lock is let go every half second, so a
    // program waiting to save never waits long.
    const auto slice_started = Clock::now();
    bool done = false;
    while (!(done = ReconcileSlice()) && !spent() && Clock::now() - slice_started < kLongestHold) {
    }
    if (done) {
      if (version == pass_version_) {
        // Nobody wrote while the entries were compared: the index matches this state.
        Matched(version, db_->FileHeader("blog", kHeaderSize));
      } else {
        StartPass(version, true);
      }
    }
    SetMetaValue("leftovers", std::to_string(leftovers_));
    transaction.Commit();
    if (!passing_) return true;
    if (spent()) return false;
  }
}

void EntrySearch::Matched(std::int64_t version, const std::string& header) {
  passing_ = false;
  pass_done_ = pass_total_ = 0;
  matched_version_ = version;
  matched_counter_ = CounterOf(header);
  noted_.clear();
  SetMetaValue("signature", Signature(database_, header));
  SetMetaValue("counter", matched_counter_ ? std::to_string(*matched_counter_) : "");
}

bool EntrySearch::FollowNotedWrites(std::uint32_t counter) {
  if (!matched_counter_) return false;
  std::vector<const std::vector<std::string>*> chain;
  for (std::uint32_t at = *matched_counter_; at != counter; ++at) {
    const auto note = std::find_if(noted_.begin(), noted_.end(),
                                   [&](const auto& noted) { return noted.first == at; });
    if (note == noted_.end()) return false;  // somebody else wrote too
    chain.push_back(&note->second);
  }
  for (const auto* dates : chain) {
    for (const std::string& date : *dates) Refresh(date);
  }
  return true;
}

void EntrySearch::Refresh(const std::string& date) {
  std::int64_t held = -1;
  {
    SqliteStatement query(*db_, "SELECT id FROM entries WHERE date = ?1");
    if (query.Bind(1, date).Step()) held = query.Int(0);
  }
  if (held >= 0) Forget(held);
  SqliteStatement stored(*db_, "SELECT quill_digest(Content) FROM " + table_ +
                                   " WHERE Date = ?1 AND typeof(Date) = 'text'");
  if (stored.Bind(1, date).Step()) {
    const std::int64_t digest = stored.Int(0);
    stored.Reset();
    Add(date, digest);
  }
}

void EntrySearch::StartPass(std::int64_t version, bool same_title) {
  if (!same_title || leftovers_ > 1000 + static_cast<std::int64_t>(stamps_.size()) / 4) {
    db_->Exec("INSERT INTO words (words) VALUES ('delete-all')");
    db_->Exec("DELETE FROM entries");
    stamps_.clear();
    leftovers_ = 0;
  }
  // Until the comparison ends, the index vouches for no state of the file.
  SetMetaValue("title", settings_.Settings().Title);
  SetMetaValue("signature", "");
  SetMetaValue("counter", "");
  matched_counter_.reset();
  passing_ = true;
  pass_version_ = version;
  pass_after_.clear();
  pass_done_ = 0;
  pass_total_ = 0;
  SqliteStatement table(*db_,
                        "SELECT 1 FROM blog.sqlite_master WHERE type = 'table' AND name = ?1"
                        " COLLATE NOCASE");
  if (table.Bind(1, settings_.Settings().Title).Step()) {
    SqliteStatement count(*db_, "SELECT count(*) FROM " + table_);
    if (count.Step()) pass_total_ = count.Int(0);
  }
}

bool EntrySearch::ReconcileSlice() {
  struct Row {
    std::string date;
    std::int64_t digest;
    std::int64_t id;
  };
  std::vector<Row> stored;
  SqliteStatement table(*db_,
                        "SELECT 1 FROM blog.sqlite_master WHERE type = 'table' AND name = ?1"
                        " COLLATE NOCASE");
  if (table.Bind(1, settings_.Settings().Title).Step()) {
    SqliteStatement rows(*db_,
                         "SELECT Date, quill_digest(Content) FROM " + table_ +
                             " WHERE Date > ?1 AND typeof(Date) = 'text' ORDER BY Date LIMIT ?2");
    rows.Bind(1, pass_after_).Bind(2, std::int64_t{kSliceRows});
    while (rows.Step()) stored.push_back({rows.Text(0), rows.Int(1), 0});
  }
  const bool last = stored.size() < static_cast<std::size_t>(kSliceRows);
  // What the index holds for the same stretch of dates.
  std::vector<Row> indexed;
  SqliteStatement rows(*db_, last ? "SELECT date, digest, id FROM entries WHERE date > ?1"
                                    " ORDER BY date"
                                  : "SELECT date, digest, id FROM entries WHERE date > ?1"
                                    " AND date <= ?2 ORDER BY date");
  rows.Bind(1, pass_after_);
  if (!last) rows.Bind(2, stored.back().date);
  while (rows.Step()) indexed.push_back({rows.Text(0), rows.Int(1), rows.Int(2)});

  auto held = indexed.begin();
  for (const Row& entry : stored) {
    for (; held != indexed.end() && held->date < entry.date; ++held) Forget(held->id);
    if (held != indexed.end() && held->date == entry.date) {
      if (held->digest == entry.digest) {
        ++held;
        continue;
      }
      Forget((held++)->id);
    }
    Add(entry.date, entry.digest);
  }
  for (; held != indexed.end(); ++held) Forget(held->id);
  if (!stored.empty()) pass_after_ = stored.back().date;
  pass_done_ = std::min(pass_done_ + static_cast<std::int64_t>(stored.size()), pass_total_);
  return last;
}

void EntrySearch::Forget(std::int64_t id) {
  statements_->forget.Bind(1, id).Run();
  stamps_.erase(id);
  ++leftovers_;
}

void EntrySearch::Add(const std::string& date, std::int64_t digest) {
  statements_->add.Bind(1, date).Bind(2, digest).Run();
  const std::int64_t id = sqlite3_last_insert_rowid(db_->Handle());
  statements_->add_words.Bind(1, id).Bind(2, date).Run();
  if (const auto stamp = core::Stamp::FromText(date)) stamps_[id] = *stamp;
}

std::vector<core::Stamp> EntrySearch::Find(std::string_view words, bool last_is_start) {
  if (!HasWords(words)) return {};
  Update();
  return FindAsIndexed(words, last_is_start);
}

std::vector<core::Stamp> EntrySearch::FindAsIndexed(std::string_view words, bool last_is_start) {
  std::vector<core::Stamp> found;
  const std::string expression = MatchExpression(words, last_is_start);
  if (expression.empty() || !Open()) return found;
  SqliteStatement query(*db_, "SELECT rowid FROM words WHERE words MATCH ?1");
  query.Bind(1, expression);
  while (query.Step()) {
    const auto entry = stamps_.find(query.Int(0));
    if (entry != stamps_.end()) found.push_back(entry->second);
  }
  // Rows are numbered as entries came into the index, which is mostly oldest first.
  std::reverse(found.begin(), found.end());
  const auto newer = [](const auto& a, const auto& b) { return b < a; };
  if (!std::is_sorted(found.begin(), found.end(), newer)) {
    std::sort(found.begin(), found.end(), newer);
  }
  return found;
}

}  // namespace quill::store
