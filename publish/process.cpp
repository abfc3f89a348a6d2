#include "publish/process.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "core/windows_text.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <csignal>
#include <cstring>

extern char** environ;
#endif

namespace quill::publish {
namespace {
constexpr int kIdleMilliseconds = 40;
}  // namespace

#ifdef _WIN32
namespace {

using core::Narrow;
using core::Wide;

// The system's text for an error code, without the line break Windows ends it with.
std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text != nullptr ? text : L"";
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(code) : Narrow(message);
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

// A file the child inherits as one of its standard streams; closed again here once the
// child is started.
class InheritedFile {
 public:
  explicit InheritedFile(const std::string& path) {
    if (path.empty()) return;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    handle_ = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) error_ = path + ": " + SystemMessage(GetLastError());
  }
  ~InheritedFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  InheritedFile(const InheritedFile&) = delete;
  InheritedFile& operator=(const InheritedFile&) = delete;

  bool Used() const { return handle_ != INVALID_HANDLE_VALUE; }
  const std::string& Error() const { return error_; }
  HANDLE Or(DWORD standard) const { return Used() ? handle_ : GetStdHandle(standard); }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::string error_;
};

}  // namespace

LaunchResult RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        const OutputFiles& output, const std::function<void()>& idle) {
  std::wstring line;
  AppendQuoted(line, Wide(program));
  for (const std::string& argument : arguments) {
    line += L' ';
    AppendQuoted(line, Wide(argument));
  }
  const InheritedFile out(output.out);
  const InheritedFile err(output.err);
  if (!out.Error().empty()) return {false, out.Error()};
  if (!err.Error().empty()) return {false, err.Error()};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const bool redirected = out.Used() || err.Used();
  if (redirected) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.Or(STD_OUTPUT_HANDLE);
    startup.hStdError = err.Or(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION process{};
  const std::wstring path = Wide(program);
  if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, redirected, 0, nullptr, nullptr,
                      &startup, &process)) {
    return {false, SystemMessage(GetLastError())};
  }
  while (WaitForSingleObject(process.hProcess, idle ? kIdleMilliseconds : INFINITE) ==
         WAIT_TIMEOUT) {
    idle();
  }
  DWORD code = 0;
  const bool known = GetExitCodeProcess(process.hProcess, &code) != 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {true, {}, known ? static_cast<int>(code) : -1};
}

std::string SignalName(int signal) { return "signal " + std::to_string(signal); }

#else

namespace {

// The child's standard streams, sent to files where asked.
class SpawnFiles {
 public:
  explicit SpawnFiles(const OutputFiles& output) {
    posix_spawn_file_actions_init(&actions_);
    constexpr int kFlags = O_WRONLY | O_CREAT | O_TRUNC;
    if (!output.out.empty()) {
      posix_spawn_file_actions_addopen(&actions_, 1, output.out.c_str(), kFlags, 0644);
    }
    if (!output.err.empty()) {
      posix_spawn_file_actions_addopen(&actions_, 2, output.err.c_str(), kFlags, 0644);
    }
  }
  ~SpawnFiles() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnFiles(const SpawnFiles&) = delete;
  SpawnFiles& operator=(const SpawnFiles&) = delete;
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

LaunchResult RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        const OutputFiles& output, const std::function<void()>& idle) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const SpawnFiles files(output);
  pid_t child = 0;
  const int error =
      posix_spawn(&child, program.c_str(), files.get(), nullptr, argv.data(), environ);
  if (error != 0) return {false, std::strerror(error)};
  int status = 0;
  const timespec pause{0, kIdleMilliseconds * 1000000L};
  for (;;) {
    const pid_t ended = waitpid(child, &status, idle ? WNOHANG : 0);
    if (ended == child) break;
    if (ended < 0 && errno != EINTR) return {true, {}, -1};
    if (ended == 0) {
      idle();
      nanosleep(&pause, nullptr);
    }
  }
  return {true,
          {},
          WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          WIFSIGNALED(status) ? WTERMSIG(status) : 0};
}

std::string SignalName(int signal) {
  const char* abbreviation = sigabbrev_np(signal);
  const std::string name = abbreviation != nullptr ? "SIG" + std::string(abbreviation)
                                                   : "signal " + std::to_string(signal);
  return name + " (" + strsignal(signal) + ")";
}

#endif

}  // namespace quill::publish
