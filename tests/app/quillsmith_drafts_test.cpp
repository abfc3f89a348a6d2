// The real editor on a virtual display, typed into as a user would, then killed outright.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/draft_store.h"
#include "core/settings_store.h"
#include "core/sqlite_registry.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill {
namespace {

using namespace std::chrono_literals;
using testing::ReadFile;
using testing::TempDir;

// Waits, a while at most, until `done` says yes.
template <class Done>
bool WaitFor(Done done, std::chrono::milliseconds longest = 20s) {
  const auto end = std::chrono::steady_clock::now() + longest;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

// A child process that is killed, if still running, when the test lets go of it.
class Child {
 public:
  Child() = default;
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
        int pass_fd = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pass_fd >= 0) posix_spawn_file_actions_adddup2(&actions, pass_fd, 3);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> vars;
    for (const std::string& var : env) vars.push_back(const_cast<char*>(var.c_str()));
    vars.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), vars.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  Child(Child&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
  Child& operator=(Child&& other) noexcept {
    Kill();
    pid_ = std::exchange(other.pid_, -1);
    return *this;
  }
  ~Child() { Kill(); }

  bool Running() const { return pid_ > 0; }
  // Sends `number` and waits, a while at most, for the end; its wait status.
  std::optional<int> EndBy(int number, std::chrono::milliseconds longest = 20s) {
    if (pid_ <= 0 || ::kill(pid_, number) != 0) return std::nullopt;
    int status = 0;
    if (!WaitFor([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, longest)) {
      return std::nullopt;
    }
    pid_ = -1;
    return status;
  }
  // SIGTERM, so that it can tidy up, and SIGKILL when it is not gone within five seconds.
  void Terminate() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    if (WaitFor([&] { return ::waitpid(pid_, nullptr, WNOHANG) == pid_; }, 5s)) pid_ = -1;
    Kill();
  }
  // SIGKILL, then wait until it is gone.
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

class QuillsmithDraftsTest : public ::testing::Test {
 protected:
  QuillsmithDraftsTest() {
    std::filesystem::create_directories(home_.File("site"));
    std::filesystem::create_directories(home_.File("run"));
    std::filesystem::permissions(home_.File("run"), std::filesystem::perms::owner_all);
    testing::WriteFile(home_.File("site/template.html"), "BlogContent\r\n");
    core::SqliteRegistry registry(home_.File("config/quillsmith/registry.db"));
    testing::FixedClock clock;
    core::SettingsStore settings(registry, clock);
    settings.SetUserValue("00", "My Log");
    settings.SetUserValue("Last", "My Log");
    settings.Settings().ProjectName = "My Log";
    settings.Settings().Template = home_.File("site/template.html");
    settings.Settings().Title = "My Log";
    settings.LoadSettings(true);
  }

  // Starts a virtual display of its own; false when there is none to be had.
  bool StartDisplay() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    xvfb_ = Child({"/usr/bin/Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten",
                   "tcp", "-noreset"},
                  {"PATH=/usr/bin:/bin"}, fds[1]);
    close(fds[1]);
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&ready, 1, 20000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    display_ = ":" + number;
    return xvfb_.Running() && !number.empty();
  }

  Child StartEditor() {
    const std::string home = home_.Path().string();
    return Child({QUILLSMITH_PATH},
                 {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                  "XDG_STATE_HOME=" + home + "/state", "XDG_RUNTIME_DIR=" + home + "/run",
                  "DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb", "PATH=/usr/bin:/bin"});
  }

  // Runs xdotool on the display, for 20 seconds at most; its output.
  std::optional<std::string> XDoTool(const std::string& arguments) {
    const std::string command =
        "DISPLAY=" + display_ + " timeout 20 xdotool " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    if (pclose(pipe) != 0) return std::nullopt;
    return out;
  }

  // Waits for the window named `title` and gives it the keyboard; its window id. A window
  // that is still being mapped (or one of a killed program the server has not yet taken
  // away) refuses the focus: the search is made again, a few times.
  std::optional<std::string> Focus(const std::string& title) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (attempt > 0) std::this_thread::sleep_for(300ms);
      auto window = XDoTool("search --sync --onlyvisible --name '^" + title + "$'");
      if (!window) return std::nullopt;  // none in 20 seconds
      window = window->substr(0, window->find('\n'));
      if (XDoTool("windowfocus --sync " + *window)) return window;
    }
    return std::nullopt;
  }

  // Clicks "Go >>", at the chooser's bottom right, to open the project the chooser shows.
  bool OpenChosenProject() {
    const auto window = Focus("Select");
    if (!window) return false;
    const auto geometry = XDoTool("getwindowgeometry --shell " + *window);
    if (!geometry) return false;
    const auto value = [&](const std::string& name) {
      const std::size_t at = geometry->find(name + "=");
      return at == std::string::npos ? 0 : std::atoi(geometry->c_str() + at + name.size() + 1);
    };
    return XDoTool("mousemove --window " + *window + " " + std::to_string(value("WIDTH") - 40) +
                   " " + std::to_string(value("HEIGHT") - 20) + " click 1")
        .has_value();
  }

  bool TypeIntoEditor(const std::string& text) {
    return Focus("Ardentware Quillsmith : My Log") && XDoTool("type --delay 20 '" + text + "'");
  }

  // Ctrl+K in the editor: once the link dialog shows, every key typed before it was taken.
  bool KeysTaken() { return XDoTool("key ctrl+k") && Focus("Insert URL"); }

  std::string Draft() {
    return ReadFile(core::DraftStore(home_.File("state/quillsmith")).ProjectFolder("My Log") +
                    "new-entry.txt");
  }

  ~QuillsmithDraftsTest() override { xvfb_.Terminate(); }

  TempDir home_;
  Child xvfb_;
  std::string display_;
};

TEST_F(QuillsmithDraftsTest, TextTypedBeforeACrashIsBackAfterTheRestart) {
  ASSERT_TRUE(StartDisplay()) << "Xvfb did not start";
  {
    Child editor = StartEditor();
    ASSERT_TRUE(OpenChosenProject()) << "no project chooser";
    ASSERT_TRUE(TypeIntoEditor("Nothing typed is lost")) << "no main window";
    // No switch, no close: only the pause after typing writes the draft.
    EXPECT_TRUE(WaitFor([&] { return Draft() == "Nothing typed is lost"; })) << Draft();
  }  // killed outright

  Child editor = StartEditor();
  ASSERT_TRUE(OpenChosenProject()) << "no project chooser after the crash";
  // What is typed now lands after the text that came back.
  ASSERT_TRUE(TypeIntoEditor(", not even now")) << "no main window after the crash";
  EXPECT_TRUE(WaitFor([&] { return Draft() == "Nothing typed is lost, not even now"; })) << Draft();
}

// A logout or shutdown ends the program by a signal, long before the pause after typing
// is over: the text is written at once and the program ends as it would by its close box.
TEST_F(QuillsmithDraftsTest, TextTypedJustBeforeATerminateOrHangUpIsWrittenAndComesBack) {
  ASSERT_TRUE(StartDisplay()) << "Xvfb did not start";
  for (const int number : {SIGTERM, SIGHUP}) {
    const std::string text = "Typed before signal " + std::to_string(number);
    std::filesystem::remove(
        core::DraftStore(home_.File("state/quillsmith")).ProjectFolder("My Log") + "new-entry.txt");
    Child editor = StartEditor();
    ASSERT_TRUE(OpenChosenProject()) << "no project chooser";
    ASSERT_TRUE(TypeIntoEditor(text)) << "no main window";
    ASSERT_TRUE(KeysTaken()) << "no link dialog";
    // Should a slow machine have let the pause pass already, this run proves nothing.
    ASSERT_NE(Draft(), text) << "the draft was written before the signal; try again";
    const auto status = editor.EndBy(number);
    ASSERT_TRUE(status.has_value()) << "still running after signal " << number;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        << "signal " << number << " ended it with status " << *status;
    EXPECT_EQ(Draft(), text);
  }

  Child editor = StartEditor();
  ASSERT_TRUE(OpenChosenProject()) << "no project chooser after the signal";
  ASSERT_TRUE(TypeIntoEditor(", back")) << "no main window after the signal";
  EXPECT_TRUE(WaitFor([&] { return Draft() == "Typed before signal 1, back"; })) << Draft();
}

}  // namespace
}  // namespace quill
