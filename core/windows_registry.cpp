#include "core/windows_registry.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "core/windows_text.h"

namespace quill::core {
namespace {

HKEY RootHandle(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegRoot::Users:
      return HKEY_USERS;
    case RegRoot::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

// An open key, closed with the object; nullptr when it could not be opened (or created).
class Key {
 public:
  Key(RegRoot root, std::string_view sub_key, REGSAM access, bool create) {
    const HKEY parent = RootHandle(root);
    const std::wstring path = Wide(sub_key);
    if (parent == nullptr) return;
    if (RegOpenKeyExW(parent, path.c_str(), 0, access, &key_) == ERROR_SUCCESS) return;
    key_ = nullptr;
    if (create && RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                  nullptr, &key_, nullptr) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

WindowsRegistry::WindowsRegistry(std::string user_key) : user_key_(std::move(user_key)) {}

std::string WindowsRegistry::Path(RegRoot root, std::string_view sub_key) const {
  while (!sub_key.empty() && sub_key.front() == '\\') sub_key.remove_prefix(1);
  while (!sub_key.empty() && sub_key.back() == '\\') sub_key.remove_suffix(1);
  if (root != RegRoot::CurrentUser || user_key_.empty()) return std::string(sub_key);
  std::string path = user_key_;
  if (!sub_key.empty()) (path += '\\') += sub_key;
  return path;
}

RegValue WindowsRegistry::Read(RegRoot root, std::string_view sub_key, std::string_view name) {
  Key key(root, Path(root, sub_key), KEY_READ, false);
  if (key.get() == nullptr) return {};
  const std::wstring value_name = Wide(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), value_name.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  // Asked for its size first, so a value of any length reads whole.
  std::vector<BYTE> data(size);
  if (RegQueryValueExW(key.get(), value_name.c_str(), nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  data.resize(size);
  RegValue value;
  value.type = type;
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    std::wstring_view text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    value.text = Narrow(text);
  } else if (type == REG_DWORD) {
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
      value.number |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
  } else {
    value.bytes.assign(data.begin(), data.end());
  }
  return value;
}

bool WindowsRegistry::Write(RegRoot root, std::string_view sub_key, std::string_view name,
                            const RegValue& value) {
  Key key(root, Path(root, sub_key), KEY_WRITE, true);
  if (key.get() == nullptr) return false;
  const std::wstring value_name = Wide(name);
  std::vector<BYTE> data;
  if (value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz) {
    std::wstring text = Wide(value.text);
    text.push_back(L'\0');
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    data.assign(bytes, bytes + text.size() * sizeof(wchar_t));
  } else if (value.type == kRegDword) {
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<BYTE>((value.number >> (8 * i)) & 0xFF));
  } else {
    data.assign(value.bytes.begin(), value.bytes.end());
  }
  return RegSetValueExW(key.get(), value_name.c_str(), 0, value.type, data.data(),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool WindowsRegistry::DeleteValue(RegRoot root, std::string_view sub_key, std::string_view name) {
  Key key(root, Path(root, sub_key), KEY_WRITE, false);
  return key.get() != nullptr && RegDeleteValueW(key.get(), Wide(name).c_str()) == ERROR_SUCCESS;
}

bool WindowsRegistry::DeleteKey(RegRoot root, std::string_view sub_key) {
  const std::string path = Path(root, sub_key);
  // A root (or the key standing in for one) is never deleted.
  if (path.size() <= Path(root, {}).size()) return false;
  // RegDeleteKeyW itself refuses a key that has sub keys.
  return RegDeleteKeyW(RootHandle(root), Wide(path).c_str()) == ERROR_SUCCESS;
}

std::vector<RegValueInfo> WindowsRegistry::Enum(RegRoot root, std::string_view sub_key) {
  std::vector<RegValueInfo> values;
  Key key(root, Path(root, sub_key), KEY_READ, false);
  if (key.get() == nullptr) return values;
  wchar_t name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    DWORD type = 0;
    if (RegEnumValueW(key.get(), index, name, &length, nullptr, &type, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    values.push_back({Narrow(std::wstring_view(name, length)), type});
  }
  return values;
}

}  // namespace quill::core
