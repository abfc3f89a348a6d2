#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace quill::testing {

// The program and arguments to run a command through so that file permissions bind it.
// Root passes over them, so when the tests run as root the command runs as "nobody", who is
// given `folder` (and all in it) to work in; otherwise nothing is needed.
inline std::vector<std::string> AsOrdinaryUserArguments(const std::filesystem::path& folder) {
  if (::geteuid() != 0) return {};
  constexpr uid_t kNobody = 65534;
  [[maybe_unused]] int ignored = ::lchown(folder.c_str(), kNobody, kNobody);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    ignored = ::lchown(entry.path().c_str(), kNobody, kNobody);
  }
  return {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
}

// The same as a prefix for a shell command.
inline std::string AsOrdinaryUser(const std::filesystem::path& folder) {
  std::string command;
  for (const std::string& word : AsOrdinaryUserArguments(folder)) command += word + " ";
  return command;
}

}  // namespace quill::testing
