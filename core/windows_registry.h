#pragma once

#include <string>

#include "core/registry.h"

namespace quill::core {

// The real per-user registry, through advapi32. Names and text travel as UTF-16 and are
// converted to and from UTF-8 at this boundary.
class WindowsRegistry final : public Registry {
 public:
  // `user_key`, when given, is a key below HKEY_CURRENT_USER that stands in for
  // HKEY_CURRENT_USER itself, so that a test's settings never touch the user's own.
  explicit WindowsRegistry(std::string user_key = {});

  // The environment variable naming such a stand-in key for the programs.
  static constexpr const char* kUserKeyVariable = "QUILLSMITH_USER_KEY";

 protected:
  RegValue Read(RegRoot root, std::string_view sub_key, std::string_view name) override;
  bool Write(RegRoot root, std::string_view sub_key, std::string_view name,
             const RegValue& value) override;
  bool DeleteValue(RegRoot root, std::string_view sub_key, std::string_view name) override;
  bool DeleteKey(RegRoot root, std::string_view sub_key) override;
  std::vector<RegValueInfo> Enum(RegRoot root, std::string_view sub_key) override;

 private:
  // The sub key as the registry functions take it: below the stand-in key for
  // HKEY_CURRENT_USER, without leading or trailing backslashes.
  std::string Path(RegRoot root, std::string_view sub_key) const;

  std::string user_key_;
};

}  // namespace quill::core
