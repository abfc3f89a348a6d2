#include "core/sqlite_db.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace quill::core {
namespace {

// The engine's message, and the system's reason when the file itself failed.
std::string ReasonOf(sqlite3* db, int rc) {
  std::string reason = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  const int primary = (db != nullptr ? sqlite3_errcode(db) : rc) & 0xFF;
  const int system = db != nullptr ? sqlite3_system_errno(db) : 0;
  if (system != 0 && (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR)) {
    reason += " (";
    reason += std::strerror(system);
    reason += ")";
  }
  return reason;
}

}  // namespace

SqliteDb::SqliteDb(std::string path, bool create, int busy_timeout_ms)
    : path_(std::move(path)), busy_timeout_(busy_timeout_ms) {
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string reason = ReasonOf(db_, rc);
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError("Cannot open " + path_ + ": " + reason, reason);
  }
  sqlite3_extended_result_codes(db_, 1);
  // The engine's own timeout counts time spent waiting, however busy the holder is: a writer
  // that keeps the file busy (another program saving many values) would have made the
  // waiter give up and lose its write, as waiters are not served in turn.
  sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file_);
  sqlite3_busy_handler(db_, &SqliteDb::WaitWhileBusy, this);
}

int SqliteDb::WaitWhileBusy(void* self, int attempt) {
  auto& db = *static_cast<SqliteDb*>(self);
  const auto now = std::chrono::steady_clock::now();
  const std::uint32_t change = db.ChangeCounter();
  if (attempt == 0 || change != db.last_change_) {
    db.last_change_ = change;
    db.unchanged_since_ = now;
  } else if (now - db.unchanged_since_ >= db.busy_timeout_) {
    return 0;
  }
  // Soon at first, as most locks are short; then a few times in every tenth of a second.
  std::this_thread::sleep_for(std::chrono::milliseconds(std::min(1 << std::min(attempt, 5), 25)));
  return 1;
}

std::uint32_t SqliteDb::ChangeCounter() const {
  // Four bytes, big-endian, at offset 24 of the header.
  unsigned char bytes[4] = {};
  if (file_ == nullptr || file_->pMethods == nullptr ||
      file_->pMethods->xRead(file_, bytes, sizeof bytes, 24) != SQLITE_OK) {
    return 0;
  }
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::string SqliteDb::FileHeader(const char* schema, std::size_t size) const {
  sqlite3_file* file = nullptr;
  std::string header(size, '\0');
  if (sqlite3_file_control(db_, schema, SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
      file == nullptr || file->pMethods == nullptr ||
      file->pMethods->xRead(file, header.data(), static_cast<int>(size), 0) != SQLITE_OK) {
    return {};
  }
  return header;
}

SqliteDb::~SqliteDb() { sqlite3_close_v2(db_); }

void SqliteDb::Fail(std::string_view what) const {
  const std::string reason = ReasonOf(db_, SQLITE_ERROR);
  std::string message(path_);
  message += ": ";
  message += reason;
  if (!what.empty()) {
    message += " (";
    message += what;
    message += ")";
  }
  throw SqliteError(message, reason);
}

void SqliteDb::Exec(std::string_view sql) {
  SqliteStatement statement(*this, sql);
  statement.Run();
}

std::int64_t SqliteDb::Changes() const { return sqlite3_changes64(db_); }

SqliteStatement::SqliteStatement(SqliteDb& db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
      SQLITE_OK) {
    db.Fail(sql);
  }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  if (done_) Reset();
  if (sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) !=
      SQLITE_OK) {
    db_.Fail(sqlite3_sql(stmt_));
  }
  return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int index, std::string_view bytes) {
  if (done_) Reset();
  // A zero-length blob still binds as a blob, never as NULL.
  if (sqlite3_bind_blob64(stmt_, index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
    db_.Fail(sqlite3_sql(stmt_));
  }
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t number) {
  if (done_) Reset();
  if (sqlite3_bind_int64(stmt_, index, number) != SQLITE_OK) db_.Fail(sqlite3_sql(stmt_));
  return *this;
}

bool SqliteStatement::Step() {
  if (done_) Reset();
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  done_ = true;
  if (rc != SQLITE_DONE) {
    std::string sql = sqlite3_sql(stmt_);
    sqlite3_reset(stmt_);
    db_.Fail(sql);
  }
  return false;
}

void SqliteStatement::Run() {
  while (Step()) {
  }
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  done_ = false;
}

std::int64_t SqliteStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string SqliteStatement::Text(int column) const { return std::string(View(column)); }

std::string_view SqliteStatement::View(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  if (data == nullptr || size <= 0) return {};
  return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

SqliteTransaction::~SqliteTransaction() {
  if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::Commit() {
  db_.Exec("COMMIT");
  open_ = false;
}

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  quoted += '"';
  return quoted;
}

}  // namespace quill::core
