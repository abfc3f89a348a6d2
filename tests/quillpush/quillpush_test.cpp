// quillpush run as the editor runs it, against a real FTP server on loopback.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "core/settings_store.h"
#include "core/sqlite_registry.h"
#include "support/fixed_clock.h"
#include "support/ftp_server.h"
#include "support/temp_dir.h"

namespace quill::push {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class QuillpushTest : public ::testing::Test {
 protected:
  QuillpushTest() {
    fs::create_directories(site_ + "images");
    fs::create_directories(root_);
    settings_.SetUserValue("00", "Push Log");
    auto& project = settings_.Settings();
    project.ProjectName = "Push Log";
    project.Template = site_ + "template.html";
    project.Title = "Push Log";
    project.FtpUser = "ann";
    project.FtpPass = "secret";
    project.FtpPath = "public/blog";
    settings_.LoadSettings(true);
    for (const char* name : {"template.html", "index.html", "blog1.html", "blog2.html",
                             "blog3.html", "rss.xml", "default.css", "quillsmith.css"}) {
      WriteFile(site_ + name, std::string("content of ") + name);
    }
    WriteFile(site_ + "images/walk.jpg", std::string(70000, 'j'));
    WriteFile(site_ + "Blog.mdb", "entries");
    WriteFile(site_ + "Blog.mdb-journal", "journal");
    WriteFile(site_ + ".hidden", "hidden");
  }

  void ServeOn(int port) {
    settings_.SetProjectValue("FtpHost", "127.0.0.1:" + std::to_string(port));
  }

  // Without a display unless `desktop` names the environment of one.
  Outcome Quillpush(const std::string& arguments = "Push Log",
                    const std::string& desktop = "-u DISPLAY -u WAYLAND_DISPLAY") {
    const std::string out = dir_.File("out.txt");
    const std::string err = dir_.File("err.txt");
    const std::string command = "env " + desktop + " XDG_CONFIG_HOME='" + dir_.Path().string() +
                                "' '" + QUILLPUSH_PATH + "' " + arguments + " >'" + out + "' 2>'" +
                                err + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
  }

  std::vector<std::string> Received() {
    std::vector<std::string> names;
    std::ifstream log(log_);
    for (std::string line; std::getline(log, line);) names.push_back(line);
    fs::remove(log_);
    return names;
  }
  std::string Stamp() {
    return settings_.GetProjectValue("FtpDate") + settings_.GetProjectValue("FtpTime");
  }
  std::string Remote(const std::string& name) { return ReadFile(root_ + "public/blog/" + name); }
  std::vector<std::string> ManifestNames() {
    std::vector<std::string> names;
    std::ifstream in(site_ + ".quillpush-manifest");
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    while (std::getline(in, line)) names.push_back(line.substr(line.rfind('\t') + 1));
    return names;
  }

  testing::TempDir dir_;
  std::string site_ = dir_.File("site") + "/";
  std::string root_ = dir_.File("server") + "/";
  std::string log_ = dir_.File("received.log");
  core::SqliteRegistry registry_{dir_.File("quillsmith/registry.db")};
  testing::FixedClock clock_;
  core::SettingsStore settings_{registry_, clock_};
};

TEST_F(QuillpushTest, SendsTheSitePagesLastThenOnlyWhatChanged) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());

  Outcome run = Quillpush("--quiet Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(
      Received(),
      (std::vector<std::string>{
          "public/blog/default.css", "public/blog/images/walk.jpg", "public/blog/quillsmith.css",
          "public/blog/template.html", "public/blog/blog3.html", "public/blog/blog2.html",
          "public/blog/blog1.html", "public/blog/index.html", "public/blog/rss.xml"}));
  EXPECT_EQ(Remote("images/walk.jpg"), std::string(70000, 'j'));
  EXPECT_FALSE(fs::exists(root_ + "public/blog/Blog.mdb"));
  EXPECT_FALSE(fs::exists(root_ + "public/blog/.hidden"));
  EXPECT_EQ(Stamp().size(), 12u);

  settings_.SetProjectValue("FtpDate", "");
  run = Quillpush();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Received().empty());
  EXPECT_NE(run.out.find("Sent 0 files"), std::string::npos) << run.out;
  EXPECT_EQ(Stamp().size(), 12u);  // everything is there, so the upload counts

  WriteFile(site_ + "blog2.html", "a new page two");
  run = Quillpush();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Received(), std::vector<std::string>{"public/blog/blog2.html"});
  EXPECT_EQ(Remote("blog2.html"), "a new page two");
}

TEST_F(QuillpushTest, OnADesktopTheWindowSaysWhatWasSentAndGoes) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  const Outcome run = Quillpush("Push Log", "DISPLAY=:99 QT_QPA_PLATFORM=offscreen");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");  // the window speaks instead of the terminal
  EXPECT_EQ(Received().size(), 9u);
  EXPECT_EQ(Stamp().size(), 12u);
}

TEST_F(QuillpushTest, AnotherRemoteFolderGetsEverything) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  Received();
  settings_.SetProjectValue("FtpPath", "mirror");
  ASSERT_EQ(Quillpush().status, 0);
  EXPECT_EQ(Received().size(), 9u);
}

TEST_F(QuillpushTest, AWrongPasswordFailsWithoutAStamp) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  settings_.SetProjectValue("FtpPass", "wrong");
  const Outcome run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("530"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("127.0.0.1"), std::string::npos) << run.err;
  EXPECT_EQ(Stamp(), "");
  EXPECT_TRUE(ManifestNames().empty());
}

TEST_F(QuillpushTest, AServerLostHalfwayIsResumedWithTheRest) {
  int port = 0;
  {
    testing::FtpServer dying(root_, log_, 0, 4);
    port = dying.Port();
    ServeOn(port);
    const Outcome run = Quillpush();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Cannot send"), std::string::npos) << run.err;
  }
  EXPECT_EQ(Stamp(), "");
  const std::vector<std::string> arrived = Received();
  ASSERT_EQ(arrived.size(), 4u);
  auto listed = ManifestNames();
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"default.css", "images/walk.jpg", "quillsmith.css",
                                              "template.html"}));

  testing::FtpServer again(root_, log_, port);
  const Outcome run = Quillpush();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Received(),
            (std::vector<std::string>{"public/blog/blog3.html", "public/blog/blog2.html",
                                      "public/blog/blog1.html", "public/blog/index.html",
                                      "public/blog/rss.xml"}));
  EXPECT_EQ(Stamp().size(), 12u);
  EXPECT_EQ(ManifestNames().size(), 9u);
}

TEST_F(QuillpushTest, BadSettingsSayWhatIsWrong) {
  Outcome run = Quillpush("Nobody Here");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no project named \"Nobody Here\""), std::string::npos) << run.err;

  run = Quillpush();  // no host yet
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no FTP host"), std::string::npos) << run.err;

  ServeOn(1);  // nothing listens there
  run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("127.0.0.1:1"), std::string::npos) << run.err;

  settings_.SetProjectValue("Template", dir_.File("gone/template.html"));
  run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("does not exist"), std::string::npos) << run.err;
  EXPECT_EQ(Stamp(), "");

  EXPECT_EQ(Quillpush("").status, 2);
  run = Quillpush("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: quillpush", 0), 0u);
}

}  // namespace
}  // namespace quill::push
