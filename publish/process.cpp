#include "publish/process.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <cstring>

extern char** environ;
#endif

namespace quill::publish {
namespace {
constexpr int kIdleMilliseconds = 40;
}  // namespace

#ifdef _WIN32
namespace {

std::wstring Wide(const std::string& utf8) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

// Quotes one argument so the program's C runtime reads it back unchanged.
void AppendQuoted(std::wstring& line, const std::wstring& argument) {
  line += L'"';
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

}  // namespace

LaunchResult RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        const std::function<void()>& idle) {
  std::wstring line;
  AppendQuoted(line, Wide(program));
  for (const std::string& argument : arguments) {
    line += L' ';
    AppendQuoted(line, Wide(argument));
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const std::wstring path = Wide(program);
  if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    char* text = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, GetLastError(), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    LaunchResult result{false, text != nullptr ? text : "unknown error"};
    LocalFree(text);
    return result;
  }
  while (WaitForSingleObject(process.hProcess, idle ? kIdleMilliseconds : INFINITE) ==
         WAIT_TIMEOUT) {
    idle();
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {true, {}};
}

#else

LaunchResult RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        const std::function<void()>& idle) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  pid_t child = 0;
  const int error = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) return {false, std::strerror(error)};
  int status = 0;
  const timespec pause{0, kIdleMilliseconds * 1000000L};
  for (;;) {
    const pid_t ended = waitpid(child, &status, idle ? WNOHANG : 0);
    if (ended == child || (ended < 0 && errno != EINTR)) break;
    if (ended == 0) {
      idle();
      nanosleep(&pause, nullptr);
    }
  }
  return {true, {}};
}

#endif

}  // namespace quill::publish
