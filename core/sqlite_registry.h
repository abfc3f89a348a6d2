#pragma once

#include <memory>
#include <string>

#include "core/registry.h"

namespace quill::core {

class QuillError;
class SqliteDb;

// The registry kept in an SQLite file, for systems without a Windows registry. The file's
// two tables are a documented format that the uploader and users' scripts share; every
// write is one transaction and a busy file is waited for, so programs using it at the same
// time lose nothing. Values enumerate in the order they were first created, as the file's
// readers are told.
class SqliteRegistry final : public Registry {
 public:
  explicit SqliteRegistry(std::string path);
  ~SqliteRegistry() override;

  std::string LastFailure() const override { return failure_; }

 protected:
  RegValue Read(RegRoot root, std::string_view sub_key, std::string_view name) override;
  bool Write(RegRoot root, std::string_view sub_key, std::string_view name,
             const RegValue& value) override;
  bool DeleteValue(RegRoot root, std::string_view sub_key, std::string_view name) override;
  bool DeleteKey(RegRoot root, std::string_view sub_key) override;
  std::vector<RegValueInfo> Enum(RegRoot root, std::string_view sub_key) override;

 private:
  // The open file, opened (and created with its tables) on first use; nullptr when it
  // cannot be opened, which every operation reports as a plain failure.
  SqliteDb* Db();
  // Keeps why an operation failed, for LastFailure(); `doing` is "use", "read" or "write".
  void Note(std::string_view doing, const QuillError& error);

  std::string path_;
  std::string failure_;
  std::unique_ptr<SqliteDb> db_;
};

}  // namespace quill::core
