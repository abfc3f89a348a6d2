#include "core/sqlite_registry.h"

#include <filesystem>

#include "core/private_file.h"
#include "core/quill_error.h"
#include "core/sqlite_db.h"

namespace quill::core {
namespace {

constexpr int kBusyTimeoutMs = 10000;

// "HKEY_CURRENT_USER\Software\Ardentware\Quillsmith": the root's name, then the sub key
// without the backslashes that may lead or trail it.
std::string KeyPath(RegRoot root, std::string_view sub_key) {
  while (!sub_key.empty() && sub_key.front() == '\\') sub_key.remove_prefix(1);
  while (!sub_key.empty() && sub_key.back() == '\\') sub_key.remove_suffix(1);
  std::string path(RegRootName(root));
  if (!sub_key.empty()) {
    path += '\\';
    path += sub_key;
  }
  return path;
}

std::string Encode(const RegValue& value) {
  switch (value.type) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz:
      return value.text;
    case kRegDword: {
      std::string data(4, '\0');
      for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((value.number >> (8 * i)) & 0xFF);
      return data;
    }
    default:
      return std::string(value.bytes.begin(), value.bytes.end());
  }
}

RegValue Decode(std::uint32_t type, const std::string& data) {
  RegValue value;
  value.type = type;
  switch (type) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz:
      value.text = data;
      break;
    case kRegDword:
      for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
        value.number |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
      }
      break;
    default:
      value.bytes.assign(data.begin(), data.end());
  }
  return value;
}

}  // namespace

SqliteRegistry::SqliteRegistry(std::string path) : path_(std::move(path)) {}

SqliteRegistry::~SqliteRegistry() = default;

SqliteDb* SqliteRegistry::Db() {
  if (db_) return db_.get();
  try {
    std::error_code ignored;
    const auto folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) {
      std::filesystem::create_directories(folder, ignored);
      MakeFolderPrivate(folder.string());
    }
    // It holds every project's upload password.
    MakeFilePrivate(path_);
    auto db = std::make_unique<SqliteDb>(path_, true, kBusyTimeoutMs);
    // Tables already there need no write, so a file that may only be read still reads.
    // The question's read lock must be gone before the write lock is asked for.
    bool ready = false;
    {
      SqliteStatement tables(*db,
                             "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                             " AND name IN ('keys', 'vals')");
      ready = tables.Step() && tables.Int(0) == 2;
    }
    if (!ready) {
      SqliteTransaction transaction(*db);
      db->Exec("CREATE TABLE IF NOT EXISTS keys (path TEXT NOT NULL PRIMARY KEY COLLATE NOCASE)");
      db->Exec(
          "CREATE TABLE IF NOT EXISTS vals (key TEXT NOT NULL COLLATE NOCASE,"
          " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL,"
          " PRIMARY KEY (key, name))");
      transaction.Commit();
    }
    db_ = std::move(db);
  } catch (const QuillError& error) {
    Note("use", error);
    return nullptr;
  }
  return db_.get();
}

void SqliteRegistry::Note(std::string_view doing, const QuillError& error) {
  const auto* engine = dynamic_cast<const SqliteError*>(&error);
  failure_ = "Cannot " + std::string(doing) + " the settings file " + path_ + ": " +
             (engine != nullptr ? engine->Reason() : std::string(error.what()));
}

RegValue SqliteRegistry::Read(RegRoot root, std::string_view sub_key, std::string_view name) {
  SqliteDb* db = Db();
  if (db == nullptr) return {};
  try {
    SqliteStatement select(*db, "SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
    select.Bind(1, KeyPath(root, sub_key)).Bind(2, name);
    if (!select.Step()) return {};
    const auto type = static_cast<std::uint32_t>(select.Int(0));
    if (type == kRegNone) return {};
    return Decode(type, select.Text(1));
  } catch (const QuillError& error) {
    Note("read", error);
    return {};
  }
}

bool SqliteRegistry::Write(RegRoot root, std::string_view sub_key, std::string_view name,
                           const RegValue& value) {
  SqliteDb* db = Db();
  if (db == nullptr) return false;
  try {
    const std::string key = KeyPath(root, sub_key);
    SqliteTransaction transaction(*db);
    // The key and every key above it, below the root (roots always exist).
    SqliteStatement add_key(*db, "INSERT OR IGNORE INTO keys (path) VALUES (?1)");
    const std::size_t root_length = RegRootName(root).size();
    for (std::size_t at = key.find('\\', root_length + 1); at != std::string::npos;
         at = key.find('\\', at + 1)) {
      add_key.Bind(1, std::string_view(key).substr(0, at)).Run();
    }
    if (key.size() > root_length) add_key.Bind(1, key).Run();
    // An upsert keeps the row, so a rewritten value keeps its place in the enumeration.
    SqliteStatement put(*db,
                        "INSERT INTO vals (key, name, type, data) VALUES (?1, ?2, ?3, ?4)"
                        " ON CONFLICT (key, name) DO UPDATE SET type = excluded.type,"
                        " data = excluded.data");
    put.Bind(1, key).Bind(2, name).Bind(3, static_cast<std::int64_t>(value.type));
    put.BindBlob(4, Encode(value)).Run();
    transaction.Commit();
    return true;
  } catch (const QuillError& error) {
    Note("write", error);
    return false;
  }
}

bool SqliteRegistry::DeleteValue(RegRoot root, std::string_view sub_key, std::string_view name) {
  SqliteDb* db = Db();
  if (db == nullptr) return false;
  try {
    SqliteStatement remove(*db, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
    remove.Bind(1, KeyPath(root, sub_key)).Bind(2, name).Run();
    return db->Changes() > 0;
  } catch (const QuillError& error) {
    Note("write", error);
    return false;
  }
}

bool SqliteRegistry::DeleteKey(RegRoot root, std::string_view sub_key) {
  SqliteDb* db = Db();
  if (db == nullptr) return false;
  const std::string key = KeyPath(root, sub_key);
  if (key.size() <= RegRootName(root).size()) return false;  // a root cannot be deleted
  try {
    SqliteTransaction transaction(*db);
    // As in the Windows registry, a key with sub keys stays.
    SqliteStatement children(*db,
                             "SELECT 1 FROM keys WHERE lower(substr(path, 1, length(?1)))"
                             " = lower(?1) LIMIT 1");
    if (children.Bind(1, key + '\\').Step()) return false;
    SqliteStatement remove_key(*db, "DELETE FROM keys WHERE path = ?1");
    remove_key.Bind(1, key).Run();
    if (db->Changes() == 0) return false;
    SqliteStatement remove_values(*db, "DELETE FROM vals WHERE key = ?1");
    remove_values.Bind(1, key).Run();
    transaction.Commit();
    return true;
  } catch (const QuillError& error) {
    Note("write", error);
    return false;
  }
}

std::vector<RegValueInfo> SqliteRegistry::Enum(RegRoot root, std::string_view sub_key) {
  std::vector<RegValueInfo> values;
  SqliteDb* db = Db();
  if (db == nullptr) return values;
  try {
    SqliteStatement select(*db, "SELECT name, type FROM vals WHERE key = ?1 ORDER BY rowid");
    select.Bind(1, KeyPath(root, sub_key));
    while (select.Step()) {
      values.push_back({select.Text(0), static_cast<std::uint32_t>(select.Int(1))});
    }
  } catch (const QuillError& error) {
    Note("read", error);
    values.clear();
  }
  return values;
}

}  // namespace quill::core
