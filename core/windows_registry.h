#pragma once

#include "core/registry.h"

namespace quill::core {

// The real per-user registry, through advapi32. Names and text travel as UTF-16 and are
// converted to and from UTF-8 at this boundary.
class WindowsRegistry final : public Registry {
 protected:
  RegValue Read(RegRoot root, std::string_view sub_key, std::string_view name) override;
  bool Write(RegRoot root, std::string_view sub_key, std::string_view name,
             const RegValue& value) override;
  bool DeleteValue(RegRoot root, std::string_view sub_key, std::string_view name) override;
  bool DeleteKey(RegRoot root, std::string_view sub_key) override;
  std::vector<RegValueInfo> Enum(RegRoot root, std::string_view sub_key) override;
};

}  // namespace quill::core
