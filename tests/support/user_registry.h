#pragma once

#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "core/registry.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "core/windows_registry.h"
#endif

namespace quill::testing {

#ifdef _WIN32
// A key of the test's own below HKEY_CURRENT_USER, removed afterwards with everything in it.
class RegistrySandbox {
 public:
  RegistrySandbox() {
    std::random_device random;
    std::ostringstream name;
    name << "Software\\Ardentware\\Test-" << std::hex << random() << random();
    key_ = name.str();
  }
  ~RegistrySandbox() {
    const std::wstring key(key_.begin(), key_.end());  // plain ASCII
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  }
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  const std::string& Key() const { return key_; }

 private:
  std::string key_;
};
#endif

// The per-user registry exactly as the programs open it — the Windows registry on Windows,
// else the registry file — but on a profile of the test's own, which programs the test
// starts find too (through the environment they inherit).
class UserRegistry {
 public:
  UserRegistry() {
#ifdef _WIN32
    _putenv_s(core::WindowsRegistry::kUserKeyVariable, sandbox_.Key().c_str());
#else
    setenv("XDG_CONFIG_HOME", home_.Path().c_str(), 1);
#endif
    registry_ = core::OpenUserRegistry();
  }

  core::Registry& get() { return *registry_; }
#ifndef _WIN32
  // Where the programs look for their settings, and the registry file in it.
  const std::filesystem::path& ConfigHome() const { return home_.Path(); }
  std::string File() const { return home_.File("quillsmith/registry.db"); }
#endif

 private:
#ifdef _WIN32
  RegistrySandbox sandbox_;
#else
  TempDir home_;
#endif
  std::unique_ptr<core::Registry> registry_;
};

}  // namespace quill::testing
