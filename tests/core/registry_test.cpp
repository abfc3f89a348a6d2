#include "core/registry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <thread>

#include "core/sqlite_registry.h"
#include "support/temp_dir.h"

namespace quill::core {
namespace {

using testing::TempDir;

constexpr std::string_view kKey = "Software\\Ardentware\\Quillsmith\\My Log";

class RegistryFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = dir_.File("registry.db");
  SqliteRegistry registry_{path_};

  std::vector<std::string> Names(std::string_view key) {
    std::vector<std::string> names;
    for (const auto& value : registry_.EnumRegValues(RegRoot::CurrentUser, key)) {
      names.push_back(value.name);
    }
    return names;
  }
};

TEST_F(RegistryFileTest, KeyAndValueNamesIgnoreCase) {
  ASSERT_TRUE(registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("A")));
  const RegValue value = registry_.ReadRegValue(
      RegRoot::CurrentUser, "SOFTWARE\\ardentware\\QUILLSMITH\\my log", "tItLe");
  EXPECT_EQ(value.type, kRegSz);
  EXPECT_EQ(value.text, "A");

  // Rewriting under another spelling replaces the value instead of adding a second one.
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "TITLE", RegValue::Text("B"));
  EXPECT_EQ(Names(kKey), std::vector<std::string>{"Title"});
  EXPECT_EQ(registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "title").text, "B");
}

TEST_F(RegistryFileTest, ValuesEnumerateInCreationOrderAndKeepTheirPlaceWhenRewritten) {
  for (const char* name : {"Template", "Title", "DateFormat", "Articles"}) {
    registry_.WriteRegValue(RegRoot::CurrentUser, kKey, name, RegValue::Text("x"));
  }
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("again"));
  registry_.DeleteRegValue(RegRoot::CurrentUser, kKey, "Articles");
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Shading", RegValue::Text("1"));
  EXPECT_EQ(Names(kKey), (std::vector<std::string>{"Template", "Title", "DateFormat", "Shading"}));
}

TEST_F(RegistryFileTest, MissingKeysAndValuesReadAsNothing) {
  EXPECT_EQ(registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "Title").type, kRegNone);
  EXPECT_TRUE(registry_.EnumRegValues(RegRoot::CurrentUser, kKey).empty());
  EXPECT_FALSE(registry_.DeleteRegValue(RegRoot::CurrentUser, kKey, "Title"));
  EXPECT_FALSE(registry_.DeleteRegKey(RegRoot::CurrentUser, kKey));
  // Same path under another root is another key.
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("A"));
  EXPECT_EQ(registry_.ReadRegValue(RegRoot::LocalMachine, kKey, "Title").type, kRegNone);
  // A root outside the predefined ones fails at once.
  EXPECT_EQ(registry_.ReadRegValue(static_cast<RegRoot>(42), kKey, "Title").type, kRegNone);
  EXPECT_FALSE(registry_.WriteRegValue(static_cast<RegRoot>(42), kKey, "T", RegValue::Text("")));
}

TEST_F(RegistryFileTest, WritingCreatesTheKeyAndItsParentsAndKeysWithSubKeysStay) {
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("A"));
  registry_.WriteRegValue(RegRoot::CurrentUser, "Software\\Ardentware\\Quillsmith\\", "00",
                          RegValue::Text("My Log"));

  EXPECT_FALSE(registry_.DeleteRegKey(RegRoot::CurrentUser, "Software\\Ardentware"));
  EXPECT_TRUE(registry_.DeleteRegKey(RegRoot::CurrentUser, kKey));
  EXPECT_EQ(registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "Title").type, kRegNone);
  EXPECT_EQ(
      registry_.ReadRegValue(RegRoot::CurrentUser, "Software\\Ardentware\\Quillsmith", "00").text,
      "My Log");
  // The parent keys exist although nothing was written to them directly.
  EXPECT_TRUE(registry_.DeleteRegKey(RegRoot::CurrentUser, "Software\\Ardentware\\Quillsmith"));
  EXPECT_TRUE(registry_.DeleteRegKey(RegRoot::CurrentUser, "Software\\Ardentware"));
}

TEST_F(RegistryFileTest, ValuesRoundTripWhateverTheirTypeAndLength) {
  const std::string long_text(20000, 'w');
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Long", RegValue::Text(long_text));
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Padded",
                          RegValue::Text("  Über \xE2\x82\xAC  "));
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Empty", RegValue::Text(""));
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Number", RegValue::Dword(0x80000012u));
  RegValue binary{kRegBinary, {}, 0, {0, 1, 0xFF, 0}};
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Bytes", binary);

  EXPECT_EQ(registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "Long").text, long_text);
  EXPECT_EQ(registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "Padded").text, "Über \xE2\x82\xAC");
  const RegValue empty = registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "Empty");
  EXPECT_EQ(empty.type, kRegSz);
  EXPECT_EQ(empty.text, "");
  const RegValue number = registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "Number");
  EXPECT_EQ(number.type, kRegDword);
  EXPECT_EQ(number.number, 0x80000012u);
  EXPECT_EQ(registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "Bytes").bytes, binary.bytes);

  const auto values = registry_.EnumRegValues(RegRoot::CurrentUser, kKey);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[3].type, kRegDword);
  EXPECT_EQ(values[4].type, kRegBinary);
}

TEST_F(RegistryFileTest, FileFollowsTheDocumentedFormat) {
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("Mine"));

  // Another program reads and writes the file with plain SQL.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT type, CAST(data AS TEXT) FROM vals WHERE key ="
                     " 'hkey_current_user\\software\\ardentware\\quillsmith\\my log'"
                     " AND name = 'title'",
                     -1, &query, nullptr);
  ASSERT_EQ(sqlite3_step(query), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(query, 0), 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(query, 1)), "Mine");
  sqlite3_finalize(query);
  ASSERT_EQ(sqlite3_exec(db,
                         "INSERT INTO vals VALUES ('HKEY_CURRENT_USER\\Software\\Ardentware"
                         "\\Quillsmith\\My Log', 'FtpHost', 1, CAST('ftp.example' AS BLOB))",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);

  EXPECT_EQ(registry_.ReadRegValue(RegRoot::CurrentUser, kKey, "ftphost").text, "ftp.example");
}

TEST(RegistryFile, AnUnusableFileFailsQuietly) {
  TempDir dir;
  testing::WriteFile(dir.File("plain"), "not a folder");
  SqliteRegistry registry(dir.File("plain") + "/registry.db");
  EXPECT_EQ(registry.ReadRegValue(RegRoot::CurrentUser, kKey, "Title").type, kRegNone);
  EXPECT_FALSE(registry.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("A")));
  EXPECT_TRUE(registry.EnumRegValues(RegRoot::CurrentUser, kKey).empty());

  testing::WriteFile(dir.File("garbage.db"), std::string(4096, 'g'));
  SqliteRegistry garbage(dir.File("garbage.db"));
  EXPECT_FALSE(garbage.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("A")));
  EXPECT_EQ(testing::ReadFile(dir.File("garbage.db")), std::string(4096, 'g'));
}

// It holds every project's upload password: only its owner may read it, whether it is new
// or was left readable by an earlier version.
TEST(RegistryFile, IsForItsOwnerAlone) {
  namespace fs = std::filesystem;
  const auto mode = [](const std::string& path) {
    return fs::status(path).permissions() & fs::perms::all;
  };
  TempDir dir;
  const std::string fresh = dir.File("new/quillsmith/registry.db");
  SqliteRegistry created(fresh);
  ASSERT_TRUE(
      created.WriteRegValue(RegRoot::CurrentUser, "Software", "FtpPass", RegValue::Text("x")));
  EXPECT_EQ(mode(fresh), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(mode(dir.File("new/quillsmith")), fs::perms::owner_all);

  const std::string old = dir.File("old/quillsmith/registry.db");
  {
    SqliteRegistry before(old);
    before.WriteRegValue(RegRoot::CurrentUser, "Software", "FtpPass", RegValue::Text("x"));
  }
  fs::permissions(old, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::others_read);
  fs::permissions(dir.File("old/quillsmith"), fs::perms::owner_all | fs::perms::group_read |
                                                  fs::perms::group_exec | fs::perms::others_read |
                                                  fs::perms::others_exec);
  SqliteRegistry opened(old);
  EXPECT_EQ(opened.ReadRegValue(RegRoot::CurrentUser, "Software", "FtpPass").text, "x");
  EXPECT_EQ(mode(old), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(mode(dir.File("old/quillsmith")), fs::perms::owner_all);
}

TEST(RegistryFile, ProgramsWritingAtOnceLoseNothing) {
  TempDir dir;
  const std::string path = dir.File("registry.db");
  constexpr int kWrites = 150;
  auto writer = [&](std::string prefix) {
    SqliteRegistry registry(path);
    for (int i = 0; i < kWrites; ++i) {
      registry.WriteRegValue(RegRoot::CurrentUser, kKey, prefix + std::to_string(i),
                             RegValue::Text(prefix));
    }
  };
  std::thread editor(writer, "editor");
  std::thread uploader(writer, "uploader");
  editor.join();
  uploader.join();

  SqliteRegistry reader(path);
  EXPECT_EQ(reader.EnumRegValues(RegRoot::CurrentUser, kKey).size(), 2u * kWrites);
}

TEST(RegistryPath, FollowsXdgConfigHomeElseHome) {
  EXPECT_EQ(DefaultRegistryPath("/x/config", "/home/u"), "/x/config/quillsmith/registry.db");
  EXPECT_EQ(DefaultRegistryPath("", "/home/u"), "/home/u/.config/quillsmith/registry.db");
  EXPECT_EQ(DefaultRegistryPath(nullptr, "/home/u"), "/home/u/.config/quillsmith/registry.db");
}

}  // namespace
}  // namespace quill::core
