// quillsmith-build --publish as a timer runs it: against a real FTP server on loopback, with
// the uploader missing, and with the build lock held by a live process or left by a killed one.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "app/quillsmith_build_fixture.h"
#include "support/ftp_server.h"
#include "support/ordinary_user.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// No desktop: the uploader prints its lines instead of showing its window.
const std::vector<std::string> kNoDesktop = {"/usr/bin/env", "-u", "DISPLAY", "-u",
                                             "WAYLAND_DISPLAY"};

class PublishTest : public QuillsmithBuildTest {
 protected:
  PublishTest() {
    testing::WriteFile(site_ + "template.html", "<h1>BlogTitle</h1>\r\nBlogContent\r\n");
    Project().PostFTP = 1;
    Project().FtpUser = "ann";
    Project().FtpPass = "secret";
    Project().FtpPath = "blog";
    settings_.LoadSettings(true);
    store::EntryStore entries(settings_);
    entries.CurrentEntry = {{2026, 12, 1, 8, 0, 0}, "Monday"};
    entries.SaveEntry();
    settings_.StampSave();
  }
  Outcome Publish(const std::vector<std::string>& options = {}) {
    std::vector<std::string> arguments = {"--publish"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back("My Log");
    return Quillsmith(arguments, kNoDesktop);
  }
  void ServeOn(int port) {
    settings_.SetProjectValue("FtpHost", "127.0.0.1:" + std::to_string(port));
  }

  std::string root_ = home_.File("server") + "/";
  std::string lock_ = site_ + "Blog.mdb-lock";
};

TEST_F(PublishTest, BuildsAndUploadsWhatChangedThenHasNothingToDo) {
  fs::create_directories(root_);
  testing::FtpServer server(root_, home_.File("ftp.log"));
  ServeOn(server.Port());
  const Outcome dry = Publish({"--dry-run"});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_NE(dry.out.find("Would build the site of \"My Log\": entries were saved"),
            std::string::npos)
      << dry.out;
  EXPECT_NE(dry.out.find("Would upload it with "), std::string::npos);
  EXPECT_FALSE(fs::exists(site_ + "index.html"));

  const Outcome run = Publish();
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("Built 1 entries"), std::string::npos) << run.out;
  EXPECT_NE(ReadFile(root_ + "blog/index.html").find("Monday"), std::string::npos);
  EXPECT_TRUE(fs::exists(lock_));
  EXPECT_FALSE(fs::exists(root_ + "blog/Blog.mdb"));
  EXPECT_FALSE(fs::exists(root_ + "blog/Blog.mdb-lock"));
  EXPECT_NE(Stored("FtpDate"), "");

  const Outcome again = Publish();
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, "Nothing to do: the site of \"My Log\" is up to date and uploaded.\n");
}

TEST_F(PublishTest, WithUploadingOffItBuildsOnlyAndSaysSo) {
  settings_.SetProjectValue("PostFTP", "0");
  const Outcome run = Publish();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(
      run.out.find("Uploading is switched off for the project (setup, FTP page): built only."),
      std::string::npos)
      << run.out;
  EXPECT_TRUE(fs::exists(site_ + "index.html"));
}

TEST_F(PublishTest, ASettingsFileThatCannotBeWrittenStopsItBeforeTheUpload) {
  fs::create_directories(root_);
  testing::FtpServer server(root_, home_.File("ftp.log"));
  ServeOn(server.Port());
  const std::string registry = registry_.File();
  fs::permissions(registry, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  testing::AsOrdinaryUser(registry_.ConfigHome());  // the folder is the user's, the file not
  std::vector<std::string> prefix = testing::AsOrdinaryUserArguments(home_.Path());
  prefix.insert(prefix.end(), kNoDesktop.begin(), kNoDesktop.end());
  const Outcome run = Quillsmith({"--publish", "My Log"}, prefix);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Cannot write the settings file " + registry), std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(root_ + "blog/index.html"));  // a site whose stamps were not kept
  EXPECT_EQ(Stored("OutDate"), "");
  EXPECT_EQ(Stored("FtpDate"), "");
}

TEST_F(PublishTest, WithoutTheUploaderBesideItNothingIsBuiltAndItSaysWhere) {
  fs::create_directories(home_.File("bin"));
  const std::string alone = home_.File("bin/quillsmith-build");
  fs::copy_file(QUILLSMITH_BUILD_PATH, alone);
  const publish::OutputFiles output{home_.File("out.txt"), home_.File("err.txt")};
  const publish::LaunchResult missing =
      publish::RunAndWait("/usr/bin/env", {"-u", "DISPLAY", alone, "--publish", "My Log"}, output);
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(ReadFile(output.err).find("The uploader is not there: " + home_.File("bin/quillpush")),
            std::string::npos)
      << ReadFile(output.err);
  EXPECT_FALSE(fs::exists(site_ + "index.html"));
}

TEST_F(PublishTest, ALockHeldByALiveProcessRefusesAtOnceAndOneLeftByAKilledOneLocksNothing) {
  settings_.SetProjectValue("PostFTP", "0");
  // util-linux flock holds the lock as the program does (flock(2)); -o keeps it to itself.
  const std::string ready = home_.File("ready");
  std::vector<std::string> args = {
      "/usr/bin/flock",
      "-o",
      lock_,
      "/bin/sh",
      "-c",
      "echo $$ > " + ready + ".tmp && mv " + ready + ".tmp " + ready + " && exec sleep 60"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t holder = 0;
  ASSERT_EQ(posix_spawn(&holder, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  for (int i = 0; i < 500 && !fs::exists(ready); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(fs::exists(ready));
  const Outcome busy = Publish();
  EXPECT_EQ(busy.status, 1);
  EXPECT_NE(busy.err.find("Another build of \"My Log\" is running (it holds " + lock_ + ")"),
            std::string::npos)
      << busy.err;
  EXPECT_FALSE(fs::exists(site_ + "index.html"));

  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  kill(std::stoi(ReadFile(ready)), SIGKILL);
  ASSERT_TRUE(fs::exists(lock_));  // left behind, as a killed build leaves it
  const Outcome after = Publish();
  EXPECT_EQ(after.status, 0) << after.err;
  EXPECT_TRUE(fs::exists(site_ + "index.html"));
}

}  // namespace
}  // namespace quill
