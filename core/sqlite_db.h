#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/quill_error.h"

struct sqlite3;
struct sqlite3_file;
struct sqlite3_stmt;

namespace quill::core {

class SqliteDb;

// A failure of the database engine. Reason() is the engine's own account, with the system's
// where it has one ("unable to open database file (Not a directory)"), without the file and
// the statement that the message adds.
class SqliteError : public QuillError {
 public:
  SqliteError(const std::string& message, std::string reason)
      : QuillError(message), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

// One prepared statement. Bind, then Step() until it returns false; the statement resets
// itself before the next Bind after a completed run, so a cached statement can be reused.
class SqliteStatement {
 public:
  SqliteStatement(SqliteDb& db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  SqliteStatement& Bind(int index, std::string_view text);
  SqliteStatement& BindBlob(int index, std::string_view bytes);
  SqliteStatement& Bind(int index, std::int64_t number);

  // Runs one step: true when a row is ready to be read.
  bool Step();
  // Runs the statement to its end, for statements that return no rows.
  void Run();
  // Clears the bindings and rewinds, so the statement can run again.
  void Reset();

  std::int64_t Int(int column) const;
  // Text or blob column as bytes; empty for NULL.
  std::string Text(int column) const;
  // The same bytes where the engine holds them, valid until the next Step or Reset.
  std::string_view View(int column) const;
  bool IsNull(int column) const;

 private:
  SqliteDb& db_;
  sqlite3_stmt* stmt_ = nullptr;
  bool done_ = false;
};

// A connection to one database file. Errors are thrown as QuillError naming the file, the
// statement where there is one, and the engine's reason.
class SqliteDb {
 public:
  // Opens the file, creating it when `create` is set. A lock held by another connection is
  // waited for as long as the file keeps changing; only after `busy_timeout_ms` without a
  // change (its holder stuck) is the file reported as busy.
  SqliteDb(std::string path, bool create, int busy_timeout_ms);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  void Exec(std::string_view sql);
  std::int64_t Changes() const;
  sqlite3* Handle() const { return db_; }

  // The file's change counter, which every write committed by anyone moves on by one (in
  // rollback mode; commits to a write-ahead log leave it as it is). Read inside a transaction
  // that holds the write lock, it is the value before that transaction's commit.
  std::uint32_t ChangeCounter() const;
  // The first `size` bytes of the file attached as `schema` ("main" is the file itself), as
  // they stand in the file; empty when they cannot be read. Read through the engine's own
  // file, since opening and closing the file anew would let go of the engine's locks on it.
  std::string FileHeader(const char* schema, std::size_t size) const;

  [[noreturn]] void Fail(std::string_view what) const;

 private:
  // The engine's busy handler: true (go on waiting) until the timeout has passed since the
  // file last changed.
  static int WaitWhileBusy(void* self, int attempt);

  std::string path_;
  sqlite3* db_ = nullptr;
  sqlite3_file* file_ = nullptr;
  std::chrono::milliseconds busy_timeout_;
  std::uint32_t last_change_ = 0;
  std::chrono::steady_clock::time_point unchanged_since_;
};

// Runs a block of statements as one transaction that rolls back unless committed. Writers
// take the write lock at once (BEGIN IMMEDIATE), so two programs never deadlock upgrading
// their read locks.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteDb& db);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;

  void Commit();

 private:
  SqliteDb& db_;
  bool open_ = true;
};

// Quotes a name as an SQL identifier, so any text can name a table.
std::string QuoteIdentifier(std::string_view name);

}  // namespace quill::core
