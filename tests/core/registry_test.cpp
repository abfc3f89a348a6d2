#include "core/registry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "core/sqlite_registry.h"
#include "support/temp_dir.h"
#include "support/user_registry.h"

namespace quill::core {
namespace {

using testing::TempDir;

constexpr std::string_view kKey = "Software\\Ardentware\\Quillsmith\\My Log";

// The registry file in a fresh folder.
struct FileBackend {
  TempDir dir;
  SqliteRegistry registry{dir.File("registry.db")};
};

#ifdef _WIN32
// The Windows registry, below a key of the test's own standing in for HKEY_CURRENT_USER.
struct WindowsBackend {
  testing::RegistrySandbox sandbox;  // removed after the registry is gone
  WindowsRegistry registry{sandbox.Key()};
};
using Backends = ::testing::Types<FileBackend, WindowsBackend>;
#else
using Backends = ::testing::Types<FileBackend>;
#endif

// What every registry does alike. The order values are listed in is no part of it: the
// Windows registry keeps an order of its own.
template <typename Backend>
class RegistryContractTest : public ::testing::Test {
 protected:
  Backend backend_;
  Registry& registry_ = backend_.registry;

  RegValue Read(std::string_view key, std::string_view name) {
    return registry_.ReadRegValue(RegRoot::CurrentUser, key, name);
  }
  bool Write(std::string_view key, std::string_view name, const RegValue& value) {
    return registry_.WriteRegValue(RegRoot::CurrentUser, key, name, value);
  }
  std::vector<std::string> SortedNames(std::string_view key) {
    std::vector<std::string> names;
    for (const auto& value : registry_.EnumRegValues(RegRoot::CurrentUser, key)) {
      names.push_back(value.name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};
TYPED_TEST_SUITE(RegistryContractTest, Backends);

TYPED_TEST(RegistryContractTest, KeyAndValueNamesIgnoreCase) {
  ASSERT_TRUE(this->Write(kKey, "Title", RegValue::Text("A")));
  const RegValue value = this->Read("SOFTWARE\\ardentware\\QUILLSMITH\\my log", "tItLe");
  EXPECT_EQ(value.type, kRegSz);
  EXPECT_EQ(value.text, "A");

  // Rewriting under another spelling replaces the value instead of adding a second one.
  this->Write(kKey, "TITLE", RegValue::Text("B"));
  EXPECT_EQ(this->SortedNames(kKey), std::vector<std::string>{"Title"});
  EXPECT_EQ(this->Read(kKey, "title").text, "B");
}

TYPED_TEST(RegistryContractTest, MissingKeysAndValuesReadAsNothing) {
  Registry& registry = this->registry_;
  EXPECT_EQ(this->Read(kKey, "Title").type, kRegNone);
  EXPECT_TRUE(registry.EnumRegValues(RegRoot::CurrentUser, kKey).empty());
  EXPECT_FALSE(registry.DeleteRegValue(RegRoot::CurrentUser, kKey, "Title"));
  EXPECT_FALSE(registry.DeleteRegKey(RegRoot::CurrentUser, kKey));
  // Same path under another root is another key.
  this->Write(kKey, "Title", RegValue::Text("A"));
  EXPECT_EQ(registry.ReadRegValue(RegRoot::LocalMachine, kKey, "Title").type, kRegNone);
  // A root outside the predefined ones fails at once.
  EXPECT_EQ(registry.ReadRegValue(static_cast<RegRoot>(42), kKey, "Title").type, kRegNone);
  EXPECT_FALSE(registry.WriteRegValue(static_cast<RegRoot>(42), kKey, "T", RegValue::Text("")));
}

TYPED_TEST(RegistryContractTest, WritingCreatesTheKeyAndItsParentsAndKeysWithSubKeysStay) {
  Registry& registry = this->registry_;
  this->Write(kKey, "Title", RegValue::Text("A"));
  // The product key as the settings name it, with a trailing backslash.
  this->Write("Software\\Ardentware\\Quillsmith\\", "00", RegValue::Text("My Log"));

  EXPECT_FALSE(registry.DeleteRegKey(RegRoot::CurrentUser, "Software\\Ardentware"));
  EXPECT_TRUE(registry.DeleteRegKey(RegRoot::CurrentUser, kKey));
  EXPECT_EQ(this->Read(kKey, "Title").type, kRegNone);
  EXPECT_EQ(this->Read("Software\\Ardentware\\Quillsmith", "00").text, "My Log");
  // The parent keys exist although nothing was written to them directly.
  EXPECT_TRUE(registry.DeleteRegKey(RegRoot::CurrentUser, "Software\\Ardentware\\Quillsmith\\"));
  EXPECT_TRUE(registry.DeleteRegKey(RegRoot::CurrentUser, "Software\\Ardentware"));
  EXPECT_FALSE(registry.DeleteRegKey(RegRoot::CurrentUser, ""));  // never the root
}

TYPED_TEST(RegistryContractTest, ValuesRoundTripWhateverTheirTypeAndLength) {
  const std::string long_text(20000, 'w');
  this->Write(kKey, "Long", RegValue::Text(long_text));
  // UTF-8 text, also beyond the 16-bit range (a surrogate pair in UTF-16).
  this->Write(kKey, "Padded",
              RegValue::Text("  \xC3\x9C"
                             "ber \xE2\x82\xAC \xF0\x9F\x98\x80  "));
  this->Write(kKey, "Empty", RegValue::Text(""));
  this->Write(kKey, "Number", RegValue::Dword(0x80000012u));
  RegValue binary{kRegBinary, {}, 0, {0, 1, 0xFF, 0}};
  this->Write(kKey, "Bytes", binary);

  EXPECT_EQ(this->Read(kKey, "Long").text, long_text);
  EXPECT_EQ(this->Read(kKey, "Padded").text,
            "\xC3\x9C"
            "ber \xE2\x82\xAC \xF0\x9F\x98\x80");
  const RegValue empty = this->Read(kKey, "Empty");
  EXPECT_EQ(empty.type, kRegSz);
  EXPECT_EQ(empty.text, "");
  const RegValue number = this->Read(kKey, "Number");
  EXPECT_EQ(number.type, kRegDword);
  EXPECT_EQ(number.number, 0x80000012u);
  EXPECT_EQ(this->Read(kKey, "Bytes").type, kRegBinary);
  EXPECT_EQ(this->Read(kKey, "Bytes").bytes, binary.bytes);

  std::vector<std::string> listed;
  for (const auto& value : this->registry_.EnumRegValues(RegRoot::CurrentUser, kKey)) {
    listed.push_back(value.name + ":" + std::to_string(value.type));
  }
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed,
            (std::vector<std::string>{"Bytes:3", "Empty:1", "Long:1", "Number:4", "Padded:1"}));
}

TYPED_TEST(RegistryContractTest, DeletingAValueOrAKeyTakesItsValuesAlong) {
  Registry& registry = this->registry_;
  for (const char* name : {"Template", "Title", "Articles"}) {
    this->Write(kKey, name, RegValue::Text("x"));
  }
  EXPECT_TRUE(registry.DeleteRegValue(RegRoot::CurrentUser, kKey, "TITLE"));
  EXPECT_FALSE(registry.DeleteRegValue(RegRoot::CurrentUser, kKey, "Title"));
  EXPECT_EQ(this->SortedNames(kKey), (std::vector<std::string>{"Articles", "Template"}));

  EXPECT_TRUE(registry.DeleteRegKey(RegRoot::CurrentUser, kKey));
  EXPECT_TRUE(this->SortedNames(kKey).empty());
  EXPECT_EQ(this->Read(kKey, "Template").type, kRegNone);
  // Written again, the key starts empty.
  this->Write(kKey, "Title", RegValue::Text("new"));
  EXPECT_EQ(this->SortedNames(kKey), std::vector<std::string>{"Title"});
}

// The registry file's own promises, which other programs reading it rely on.
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

TEST_F(RegistryFileTest, ValuesEnumerateInCreationOrderAndKeepTheirPlaceWhenRewritten) {
  for (const char* name : {"Template", "Title", "DateFormat", "Articles"}) {
    registry_.WriteRegValue(RegRoot::CurrentUser, kKey, name, RegValue::Text("x"));
  }
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Title", RegValue::Text("again"));
  registry_.DeleteRegValue(RegRoot::CurrentUser, kKey, "Articles");
  registry_.WriteRegValue(RegRoot::CurrentUser, kKey, "Shading", RegValue::Text("1"));
  EXPECT_EQ(Names(kKey), (std::vector<std::string>{"Template", "Title", "DateFormat", "Shading"}));
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

#ifndef _WIN32
// It holds every project's upload password: only its owner may read it, whether it is new
// or was left readable by an earlier version. (Windows keeps settings in its registry, and
// has no such file modes.)
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
#endif

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
