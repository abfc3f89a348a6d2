#pragma once

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <cstdint>
#include <filesystem>
#include <string>

namespace quill::testing {

// The file's identity on disk (its inode, or Windows' file index): a replaced file is a new
// one. Zero when the file cannot be looked at.
inline std::uint64_t FileIdentity(const std::string& path) {
#ifdef _WIN32
  const std::wstring wide = std::filesystem::path(path).wstring();
  const HANDLE file =
      CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  return known ? (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow : 0;
#else
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
#endif
}

}  // namespace quill::testing
