#include "core/registry.h"

#include <cstdlib>

#include "core/sqlite_registry.h"
#include "core/text.h"
#ifdef _WIN32
#include "core/windows_registry.h"
#endif

namespace quill::core {

std::string_view RegRootName(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case RegRoot::CurrentUser:
      return "HKEY_CURRENT_USER";
    case RegRoot::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RegRoot::Users:
      return "HKEY_USERS";
    case RegRoot::CurrentConfig:
      return "HKEY_CURRENT_CONFIG";
  }
  return {};
}

RegValue Registry::ReadRegValue(RegRoot root, std::string_view sub_key, std::string_view name) {
  if (RegRootName(root).empty()) return {};
  return Read(root, sub_key, name);
}

bool Registry::WriteRegValue(RegRoot root, std::string_view sub_key, std::string_view name,
                             const RegValue& value) {
  if (RegRootName(root).empty()) return false;
  if (value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz) {
    RegValue trimmed = value;
    trimmed.text = Trim(value.text);
    return Write(root, sub_key, name, trimmed);
  }
  return Write(root, sub_key, name, value);
}

bool Registry::DeleteRegValue(RegRoot root, std::string_view sub_key, std::string_view name) {
  return !RegRootName(root).empty() && DeleteValue(root, sub_key, name);
}

bool Registry::DeleteRegKey(RegRoot root, std::string_view sub_key) {
  return !RegRootName(root).empty() && DeleteKey(root, sub_key);
}

std::vector<RegValueInfo> Registry::EnumRegValues(RegRoot root, std::string_view sub_key) {
  if (RegRootName(root).empty()) return {};
  return Enum(root, sub_key);
}

std::string DefaultRegistryPath(const char* xdg_config_home, const char* home) {
  std::string base;
  if (xdg_config_home != nullptr && *xdg_config_home != '\0') {
    base = xdg_config_home;
  } else {
    base = home != nullptr ? home : "";
    base += "/.config";
  }
  return base + "/quillsmith/registry.db";
}

std::unique_ptr<Registry> OpenUserRegistry() {
#ifdef _WIN32
  const char* user_key = std::getenv(WindowsRegistry::kUserKeyVariable);
  return std::make_unique<WindowsRegistry>(user_key != nullptr ? user_key : "");
#else
  return std::make_unique<SqliteRegistry>(
      DefaultRegistryPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
#endif
}

}  // namespace quill::core
