#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quill::core {

// The predefined roots a key path starts from.
enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Registry value types, numbered as the Windows registry numbers them.
enum RegType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

// A typed registry value. `type` 0 means "nothing was read".
struct RegValue {
  std::uint32_t type = kRegNone;
  std::string text;                 // REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ (UTF-8, no final NUL)
  std::uint32_t number = 0;         // REG_DWORD
  std::vector<std::uint8_t> bytes;  // REG_BINARY and any other type

  static RegValue Text(std::string text) { return {kRegSz, std::move(text), 0, {}}; }
  static RegValue Dword(std::uint32_t number) { return {kRegDword, {}, number, {}}; }
};

struct RegValueInfo {
  std::string name;
  std::uint32_t type = kRegNone;
};

// The one door through which the program reads and writes its settings. Key and value names
// compare without regard to case; a sub key is a backslash-separated path below the root.
// No operation throws: a failure is a 0 type, a false result or an empty list.
class Registry {
 public:
  virtual ~Registry() = default;

  // The value with its type; type 0 when the key or the value cannot be read.
  RegValue ReadRegValue(RegRoot root, std::string_view sub_key, std::string_view name);
  // Writes the value, creating the key (and the keys above it) when missing. Text is stored
  // without leading and trailing spaces.
  bool WriteRegValue(RegRoot root, std::string_view sub_key, std::string_view name,
                     const RegValue& value);
  bool DeleteRegValue(RegRoot root, std::string_view sub_key, std::string_view name);
  // Deletes a key and its values; a key that still has sub keys is not deleted.
  bool DeleteRegKey(RegRoot root, std::string_view sub_key);
  // The key's values, each once, in no promised order (the Windows registry lists them in
  // an order of its own); empty when there are none.
  std::vector<RegValueInfo> EnumRegValues(RegRoot root, std::string_view sub_key);

  // Why the last failed operation failed, naming where the settings live; empty when
  // nothing has failed (or the backend cannot tell). A missing key or value is no failure.
  virtual std::string LastFailure() const { return {}; }

 protected:
  virtual RegValue Read(RegRoot root, std::string_view sub_key, std::string_view name) = 0;
  virtual bool Write(RegRoot root, std::string_view sub_key, std::string_view name,
                     const RegValue& value) = 0;
  virtual bool DeleteValue(RegRoot root, std::string_view sub_key, std::string_view name) = 0;
  virtual bool DeleteKey(RegRoot root, std::string_view sub_key) = 0;
  virtual std::vector<RegValueInfo> Enum(RegRoot root, std::string_view sub_key) = 0;
};

// The root's name as it starts a key path: "HKEY_CURRENT_USER" and so on; empty for a value
// that is not one of the predefined roots.
std::string_view RegRootName(RegRoot root);

// The per-user registry: the Windows registry on Windows, else the registry file at
// DefaultRegistryPath().
std::unique_ptr<Registry> OpenUserRegistry();

// $XDG_CONFIG_HOME/quillsmith/registry.db, or $HOME/.config/quillsmith/registry.db when
// XDG_CONFIG_HOME is unset or empty.
std::string DefaultRegistryPath(const char* xdg_config_home, const char* home);

}  // namespace quill::core
