// quillpush run as the editor runs it, against a real FTP server on loopback.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "core/settings_store.h"
#include "core/sqlite_registry.h"
#include "support/fixed_clock.h"
#include "support/ftp_server.h"
#include "support/ordinary_user.h"
#include "support/temp_dir.h"

extern char** environ;

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

  // Without a display unless `desktop` names the environment of one; `as` runs it as
  // another user.
  Outcome Quillpush(const std::string& arguments = "Push Log",
                    const std::string& desktop = "-u DISPLAY -u WAYLAND_DISPLAY",
                    const std::string& as = "") {
    return Finish(std::system(Command(arguments, desktop, as).c_str()));
  }
  // Starts quillpush without waiting for it; Wait() ends the run.
  pid_t Start(const std::string& arguments = "Push Log") {
    std::string command = Command(arguments, "-u DISPLAY -u WAYLAND_DISPLAY", "");
    std::vector<char*> argv = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),
                               command.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return child;
  }
  Outcome Wait(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return Finish(status);
  }
  std::string Command(const std::string& arguments, const std::string& desktop,
                      const std::string& as) {
    return as + "env " + desktop + " XDG_CONFIG_HOME='" + dir_.Path().string() + "' '" +
           QUILLPUSH_PATH + "' " + arguments + " >'" + dir_.File("out.txt") + "' 2>'" +
           dir_.File("err.txt") + "'";
  }
  Outcome Finish(int status) {
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_.File("out.txt")),
            ReadFile(dir_.File("err.txt"))};
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
  // Every file of the server's folder, by name, as the test sees it.
  std::vector<std::string> ServerFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      if (entry.is_regular_file()) names.push_back(entry.path().lexically_relative(root_));
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Whether every site file is on the server byte for byte.
  void ExpectServerMirrorsTheSite() {
    for (const auto& entry : fs::recursive_directory_iterator(site_)) {
      const std::string name = entry.path().lexically_relative(site_);
      if (!entry.is_regular_file() || name.starts_with(".") || name.starts_with("Blog.mdb")) {
        continue;
      }
      EXPECT_TRUE(Remote(name) == ReadFile(entry.path())) << name;
    }
  }
  std::vector<std::string> ManifestNames() {
    std::vector<std::string> names;
    std::ifstream in(site_ + ".quillpush-manifest");
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    while (std::getline(in, line)) {
      const std::string name = line.substr(line.rfind('\t') + 1);
      if (line.starts_with("-\t-\t")) {  // withdrawn by a later upload
        std::erase(names, name);
      } else {
        names.push_back(name);
      }
    }
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

  // Over one connection the files go one by one, in the order of their phases.
  Outcome run = Quillpush("--quiet --connections 1 Push Log");
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

// The server's command log as (connection, command, argument), taken whole and emptied.
struct ServerCommand {
  int connection;
  std::string verb;
  std::string argument;
};
std::vector<ServerCommand> TakeCommands(const std::string& log) {
  std::vector<ServerCommand> commands;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    const std::size_t space = line.find(' ');
    const std::size_t second = line.find(' ', space + 1);
    commands.push_back({std::stoi(line.substr(0, space)),
                        line.substr(space + 1, second - space - 1),
                        second == std::string::npos ? "" : line.substr(second + 1)});
  }
  fs::remove(log);
  return commands;
}

// How often the server got each command with its argument ("STOR public/blog/a.css").
std::map<std::string, int> CountCommands(const std::string& log) {
  std::map<std::string, int> counts;
  for (const ServerCommand& command : TakeCommands(log)) {
    ++counts[command.verb + " " + command.argument];
  }
  return counts;
}

TEST_F(QuillpushTest, FilesGoByTheirWholePathOverOneLoginPerConnection) {
  const std::string log = dir_.File("commands.log");
  testing::FtpServer server(root_, log_, 0, 0, "", {"--commands", log});
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  std::map<int, int> logins;
  std::map<std::string, int> made;
  std::vector<std::string> stored;
  for (const ServerCommand& command : TakeCommands(log)) {
    EXPECT_NE(command.verb, "CWD");
    EXPECT_NE(command.verb, "CDUP");
    if (command.verb == "USER") ++logins[command.connection];
    if (command.verb == "MKD") ++made[command.argument];
    if (command.verb == "STOR") stored.push_back(command.argument);
  }
  EXPECT_LE(logins.size(), 4u);
  for (const auto& [connection, count] : logins) EXPECT_EQ(count, 1) << connection;
  for (const auto& [folder, count] : made) EXPECT_EQ(count, 1) << folder;
  EXPECT_EQ(made.count("public/blog/images"), 1u);
  std::sort(stored.begin(), stored.end());
  EXPECT_EQ(stored,
            (std::vector<std::string>{
                "public/blog/blog1.html", "public/blog/blog2.html", "public/blog/blog3.html",
                "public/blog/default.css", "public/blog/images/walk.jpg", "public/blog/index.html",
                "public/blog/quillsmith.css", "public/blog/rss.xml", "public/blog/template.html"}));
  ExpectServerMirrorsTheSite();
}

// The phase each file of the phase test's site goes up in.
const std::map<std::string, int> kPhases = {{"default.css", 0},
                                            {"quillsmith.css", 0},
                                            {"template.html", 0},
                                            {"images/walk.jpg", 0},
                                            {"images/big.jpg", 0},
                                            {"2026-12-05-090000.html", 1},
                                            {"2026-12-06-093000.html", 1},
                                            {"archive-2026.html", 2},
                                            {"archive.html", 3},
                                            {"blog3.html", 4},
                                            {"blog2.html", 4},
                                            {"blog1.html", 4},
                                            {"index.html", 5},
                                            {"rss.xml", 6},
                                            {"sitemap-1.xml", 7},
                                            {"sitemap.xml", 8}};

TEST_F(QuillpushTest, EachPhaseStartsOnlyOnceEveryFileBeforeItHasArrived) {
  for (const auto& [name, phase] : kPhases) {
    if (!fs::exists(site_ + name)) WriteFile(site_ + name, "content of " + name);
  }
  WriteFile(site_ + "images/big.jpg", std::string(400000, 'b'));  // a second or so
  // The numbered pages take half a second each, so that they are under way side by side
  // even when a loaded machine starts the connections' uploads some way apart.
  for (const char* page : {"blog1.html", "blog2.html", "blog3.html"}) {
    WriteFile(site_ + page, std::string(200000, 'p'));
  }
  const std::string log = dir_.File("commands.log");
  testing::FtpServer server(root_, log_, 0, 0, "", {"--slow", "--commands", log});
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  ExpectServerMirrorsTheSite();

  const std::string folder = "public/blog/";
  std::set<std::string> arrived;
  std::size_t under_way = 0;
  std::size_t most_under_way = 0;
  for (const ServerCommand& command : TakeCommands(log)) {
    if (command.verb == "received") {
      arrived.insert(command.argument.substr(folder.size()));
      --under_way;
    } else if (command.verb == "STOR") {
      const std::string name = command.argument.substr(folder.size());
      for (const auto& [before, phase] : kPhases) {
        if (phase < kPhases.at(name)) {
          EXPECT_EQ(arrived.count(before), 1u) << before << " before " << name;
        }
      }
      most_under_way = std::max(most_under_way, ++under_way);
    }
  }
  EXPECT_EQ(arrived.size(), kPhases.size());
  EXPECT_GE(most_under_way, 3u);  // the files of a phase go side by side
}

TEST_F(QuillpushTest, AConnectionAwaitingItsLastReplyHoldsUpNoOther) {
  // While the server holds back the reply that ends the first picture's upload, the other
  // connections go on with the rest of the phase.
  for (int i = 0; i < 13; ++i) {
    WriteFile(site_ + "images/p" + (i < 10 ? "0" : "") + std::to_string(i) + ".jpg",
              "picture " + std::to_string(i));
  }
  const std::string log = dir_.File("commands.log");
  testing::FtpServer server(root_, log_, 0, 0, "",
                            {"--hold-last-reply", "p00.jpg", "--commands", log});
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  ExpectServerMirrorsTheSite();
  std::map<std::string, int> held;
  for (const ServerCommand& command : TakeCommands(log)) ++held[command.verb];
  EXPECT_EQ(held["released"], 1);
  EXPECT_EQ(held["gave-up"], 0);
}

TEST_F(QuillpushTest, AServerTakingTwoConnectionsGetsEverythingOverThoseTwo) {
  const std::string log = dir_.File("commands.log");
  testing::FtpServer server(root_, log_, 0, 0, "", {"--max-connections", "2", "--commands", log});
  ServeOn(server.Port());
  const Outcome run = Quillpush();
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectServerMirrorsTheSite();
  const std::string said = "refused one more connection";
  ASSERT_NE(run.err.find(said), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(said, run.err.find(said) + 1), std::string::npos) << run.err;  // once
  EXPECT_NE(run.err.find("went on with 2 connections at once"), std::string::npos) << run.err;
  std::set<int> logged_in;
  for (const ServerCommand& command : TakeCommands(log)) {
    if (command.verb == "USER") logged_in.insert(command.connection);
  }
  EXPECT_EQ(logged_in.size(), 2u);
  EXPECT_EQ(Stamp().size(), 12u);
}

TEST_F(QuillpushTest, AConnectionDroppedMidFileIsOpenedAgainAndTheFileSentWhole) {
  const std::string log = dir_.File("commands.log");
  {
    testing::FtpServer dropping(root_, log_, 0, 0, "", {"--drop-once", "walk.jpg", "--commands", log});
    ServeOn(dropping.Port());
    const Outcome run = Quillpush();
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectServerMirrorsTheSite();
    EXPECT_EQ(CountCommands(log)["STOR public/blog/images/walk.jpg"],
              2);  // dropped once, then sent whole
  }
  // A file whose connection drops every time fails the run after a few tries, named.
  WriteFile(site_ + "images/walk.jpg", std::string(80000, 'w'));
  settings_.SetProjectValue("FtpDate", "");
  settings_.SetProjectValue("FtpTime", "");
  testing::FtpServer dropping(root_, log_, 0, 0, "",
                              {"--drop-always", "walk.jpg", "--commands", log});
  ServeOn(dropping.Port());
  const Outcome run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Cannot send images/walk.jpg"), std::string::npos) << run.err;
  EXPECT_EQ(CountCommands(log)["STOR public/blog/images/walk.jpg"],
            4);  // once and three times again
  const std::vector<std::string> listed = ManifestNames();
  EXPECT_EQ(std::find(listed.begin(), listed.end(), "images/walk.jpg"), listed.end());
  EXPECT_EQ(Stamp(), "");
}

TEST_F(QuillpushTest, VerifySendsAgainExactlyWhatTheServerLostAndLeavesStrangersAlone) {
  const std::string log = dir_.File("commands.log");
  testing::FtpServer server(root_, log_, 0, 0, "", {"--commands", log});
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  Received();
  fs::remove(root_ + "public/blog/blog2.html");
  fs::resize_file(root_ + "public/blog/images/walk.jpg", 1000);
  WriteFile(root_ + "public/blog/guestbook.txt", "someone else's");
  fs::create_directories(root_ + "public/blog/old");
  WriteFile(root_ + "public/blog/old/notes.txt", "someone else's too");
  TakeCommands(log);

  Outcome run = Quillpush();  // trusts the manifest, and asks the server nothing
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Received().empty());
  EXPECT_TRUE(TakeCommands(log).empty());

  run = Quillpush("--verify Push Log");
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<std::string> sent = Received();
  std::sort(sent.begin(), sent.end());
  EXPECT_EQ(sent,
            (std::vector<std::string>{"public/blog/blog2.html", "public/blog/images/walk.jpg"}));
  ExpectServerMirrorsTheSite();
  EXPECT_NE(run.err.find("2 files at ftp://"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\n  guestbook.txt\n  old/notes.txt"), std::string::npos) << run.err;

  // With --delete too, only what the manifest lists and the site lost goes.
  fs::remove(site_ + "default.css");
  run = Quillpush("--verify --delete Push Log");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(root_ + "public/blog/default.css"));
  EXPECT_EQ(ReadFile(root_ + "public/blog/guestbook.txt"), "someone else's");
  EXPECT_EQ(ReadFile(root_ + "public/blog/old/notes.txt"), "someone else's too");
  EXPECT_TRUE(Received().empty());
}

TEST_F(QuillpushTest, VerifyReadsTheListingOfAServerWithoutMlsd) {
  testing::FtpServer server(root_, log_, 0, 0, "", {"--no-mlsd"});
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  Received();
  fs::resize_file(root_ + "public/blog/images/walk.jpg", 1000);
  WriteFile(root_ + "public/blog/images/theirs b.jpg", "someone else's");
  const Outcome run = Quillpush("--verify Push Log");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Received(), std::vector<std::string>{"public/blog/images/walk.jpg"});
  EXPECT_NE(run.err.find("\n  images/theirs b.jpg"), std::string::npos) << run.err;
  ExpectServerMirrorsTheSite();
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
  std::vector<std::string> pages = Received();
  ASSERT_EQ(pages.size(), 5u);
  std::sort(pages.begin(), pages.begin() + 3);  // the numbered pages go side by side
  EXPECT_EQ(pages, (std::vector<std::string>{"public/blog/blog1.html", "public/blog/blog2.html",
                                             "public/blog/blog3.html", "public/blog/index.html",
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
  EXPECT_EQ(Quillpush("--force Push Log").status, 2);  // only with --delete
  EXPECT_EQ(Quillpush("--frobnicate Push Log").status, 2);
  EXPECT_EQ(Quillpush("--version").out, "quillpush 1.0.142\n");
  run = Quillpush("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: quillpush", 0), 0u);
}

TEST_F(QuillpushTest, NothingOutsideTheSiteIsSentOrWritten) {
  const std::string outside = dir_.File("outside") + "/";
  fs::create_directories(outside + "photos");
  WriteFile(outside + "hostname", "a private file");
  WriteFile(outside + "photos/me.jpg", "a private picture");
  WriteFile(outside + "notes", "the user's notes");
  fs::create_symlink(outside + "hostname", site_ + "x");
  fs::create_symlink(outside + "photos", site_ + "images/linked");
  fs::create_symlink(outside + "notes", site_ + ".quillpush-manifest");
  // The generator's leftovers stay home; files that merely look alike go.
  WriteFile(site_ + "blog015.html.tmp-0000427c", "left by a killed build");
  WriteFile(site_ + "notes.tmp", "a genuine file");
  WriteFile(site_ + "draft.tmp-1", "another");
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());

  const Outcome run = Quillpush("--quiet Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("Skipped x: it is a symbolic link"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Skipped images/linked: it is a symbolic link"), std::string::npos);
  EXPECT_NE(run.err.find(".quillpush-manifest is a symbolic link"), std::string::npos);
  for (const std::string& name : ServerFiles()) {
    EXPECT_TRUE(name.starts_with("public/blog/")) << name;
    EXPECT_EQ(name.find("linked"), std::string::npos) << name;
    EXPECT_EQ(name.find("tmp-0000427c"), std::string::npos) << name;
  }
  EXPECT_FALSE(fs::exists(root_ + "public/blog/x"));
  EXPECT_EQ(Remote("notes.tmp"), "a genuine file");
  EXPECT_EQ(Remote("draft.tmp-1"), "another");
  EXPECT_EQ(ReadFile(outside + "notes"), "the user's notes");
  EXPECT_FALSE(fs::is_symlink(site_ + ".quillpush-manifest"));
  EXPECT_EQ(ManifestNames().size(), 11u);
}

TEST_F(QuillpushTest, AFileCutOffOnTheServerIsNeverTakenForSent) {
  testing::FtpServer first(root_, log_);
  const int port = first.Port();  // the manifest belongs to host and port
  ServeOn(port);
  ASSERT_EQ(Quillpush().status, 0);
  first.Stop();

  // The picture changes, and the server dies halfway through the new one...
  const std::string picture = site_ + "images/walk.jpg";
  WriteFile(picture, std::string(70000, 'k'));
  {
    testing::FtpServer dying(root_, log_, port, 0, "", {"--die-in-file", "0"});
    EXPECT_EQ(Quillpush().status, 1);
  }
  EXPECT_LT(Remote("images/walk.jpg").size(), 70000u);
  // ...then a rebuild brings back the old content, which the manifest once listed.
  WriteFile(picture, std::string(70000, 'j'));
  {
    // A server that keeps only half of what it got: the size check catches it.
    testing::FtpServer truncating(root_, log_, port, 0, "", {"--truncate"});
    const Outcome run = Quillpush();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("The server holds 35000 bytes of images/walk.jpg"), std::string::npos)
        << run.err;
  }
  settings_.SetProjectValue("FtpDate", "");
  testing::FtpServer healthy(root_, log_, port);
  const Outcome run = Quillpush();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Remote("images/walk.jpg") == std::string(70000, 'j'));
  EXPECT_EQ(Stamp().size(), 12u);
}

// Waits, boundedly, until the server has begun to write `path`.
bool ArrivingOnTheServer(const std::string& path) {
  for (int tries = 0; tries < 600; ++tries) {
    std::error_code error;
    if (fs::file_size(path, error) > 0 && !error) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST_F(QuillpushTest, AFileThatGrowsOrShrinksWhileItIsSentGoesAgainNextTime) {
  const std::string big = site_ + "images/big.bin";
  const std::string remote = root_ + "public/blog/images/big.bin";
  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"grows", [&] { std::ofstream(big, std::ios::app) << std::string(5000, 'g'); }},
      {"shrinks", [&] { fs::resize_file(big, 200000); }},
  };
  testing::FtpServer server(root_, log_, 0, 0, "", {"--slow"});  // a megabyte takes seconds
  ServeOn(server.Port());
  for (const auto& c : cases) {
    WriteFile(big, std::string(600000, c.what[0]));
    fs::remove(remote);
    settings_.SetProjectValue("FtpDate", "");
    settings_.SetProjectValue("FtpTime", "");
    const pid_t child = Start();
    ASSERT_TRUE(ArrivingOnTheServer(remote)) << c.what;
    c.change();
    const Outcome run = Wait(child);
    EXPECT_EQ(run.status, 1) << c.what << ": " << run.err;
    EXPECT_NE(run.err.find("images/big.bin"), std::string::npos) << c.what << ": " << run.err;
    const std::vector<std::string> listed = ManifestNames();
    EXPECT_EQ(std::find(listed.begin(), listed.end(), "images/big.bin"), listed.end()) << c.what;
    EXPECT_EQ(Stamp(), "") << c.what;

    const Outcome again = Quillpush("--quiet Push Log");
    EXPECT_EQ(again.status, 0) << c.what << ": " << again.err;
    EXPECT_TRUE(ReadFile(remote) == ReadFile(big)) << c.what;
    EXPECT_EQ(Stamp().size(), 12u) << c.what;
  }
}

TEST_F(QuillpushTest, ANameTheServerCannotTakeStopsTheRunBeforeAnythingGoes) {
  WriteFile(site_ + "bad\aname.html", "page");
  WriteFile(site_ + "images/two\nlines.jpg", "picture");
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  const Outcome run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad\\x07name.html (a control character)"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("images/two\\x0Alines.jpg"), std::string::npos) << run.err;
  EXPECT_TRUE(Received().empty());
  EXPECT_EQ(Stamp(), "");
}

TEST_F(QuillpushTest, DryRunListsWhatWouldChangeAndTouchesNothing) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  server.Stop();  // a dry run connects to nothing
  WriteFile(site_ + "blog2.html", "a new page two");
  WriteFile(site_ + "extra.css", "p {}");
  fs::remove(site_ + "default.css");
  const std::string manifest = ReadFile(site_ + ".quillpush-manifest");
  settings_.SetProjectValue("FtpDate", "");

  Outcome run = Quillpush("--dry-run Push Log");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "new      extra.css (4 bytes)\n"
            "changed  blog2.html (14 bytes)\n"
            "gone     default.css (stays on the server; --delete deletes it)\n"
            "2 to send (18 bytes) to ftp://127.0.0.1:" +
                std::to_string(server.Port()) +
                "/public/blog/, 0 to delete, 7 unchanged; this was a dry run, nothing was sent.\n");
  run = Quillpush("--dry-run --delete Push Log");
  EXPECT_NE(run.out.find("delete   default.css\n"), std::string::npos) << run.out;
  EXPECT_EQ(ReadFile(site_ + ".quillpush-manifest"), manifest);
  EXPECT_EQ(settings_.GetProjectValue("FtpDate"), "");
}

TEST_F(QuillpushTest, DeleteRemovesExactlyWhatVanishedWithinTheCap) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  WriteFile(root_ + "public/blog/guestbook.txt", "never sent from here");
  fs::remove(site_ + "default.css");
  fs::remove(site_ + "images/walk.jpg");

  ASSERT_EQ(Quillpush().status, 0);  // without --delete, nothing goes
  EXPECT_TRUE(fs::exists(root_ + "public/blog/default.css"));
  Outcome run = Quillpush("--delete Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Deleted default.css"), std::string::npos) << run.out;
  EXPECT_EQ(ServerFiles(),
            (std::vector<std::string>{"public/blog/blog1.html", "public/blog/blog2.html",
                                      "public/blog/blog3.html", "public/blog/guestbook.txt",
                                      "public/blog/index.html", "public/blog/quillsmith.css",
                                      "public/blog/rss.xml", "public/blog/template.html"}));
  EXPECT_EQ(ManifestNames().size(), 7u);

  // Four of seven is more than half.
  for (const char* name : {"blog1.html", "blog2.html", "blog3.html", "rss.xml"}) {
    fs::remove(site_ + name);
  }
  Received();
  run = Quillpush("--delete Push Log");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("4 of the 7 files on the server would be deleted"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("--delete --force"), std::string::npos);
  EXPECT_EQ(ServerFiles().size(), 8u);
  run = Quillpush("--delete --force Push Log");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ServerFiles(),
            (std::vector<std::string>{"public/blog/guestbook.txt", "public/blog/index.html",
                                      "public/blog/quillsmith.css", "public/blog/template.html"}));
  EXPECT_TRUE(Received().empty());
}

TEST_F(QuillpushTest, ADeletionTheServerRefusesFailsNamingTheFileAndIsTriedAgain) {
  int port = 0;
  {
    testing::FtpServer server(root_, log_);
    port = server.Port();
    ServeOn(port);
    ASSERT_EQ(Quillpush().status, 0);
  }
  fs::remove(site_ + "default.css");
  settings_.SetProjectValue("FtpDate", "");
  settings_.SetProjectValue("FtpTime", "");
  {
    testing::FtpServer refusing(root_, log_, port, 0, "", {"--refuse-delete"});
    const Outcome run = Quillpush("--delete Push Log");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Cannot delete default.css"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("550 Permission denied."), std::string::npos) << run.err;
  }
  EXPECT_TRUE(fs::exists(root_ + "public/blog/default.css"));
  const std::vector<std::string> listed = ManifestNames();
  EXPECT_NE(std::find(listed.begin(), listed.end(), "default.css"), listed.end());
  EXPECT_EQ(Stamp(), "");

  // The next run tries again; a file someone else already took off the server is no failure.
  fs::remove(site_ + "images/walk.jpg");
  fs::remove(root_ + "public/blog/images/walk.jpg");
  testing::FtpServer healthy(root_, log_, port);
  const Outcome run = Quillpush("--delete Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Deleted default.css"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Deleted images/walk.jpg"), std::string::npos) << run.out;
  EXPECT_FALSE(fs::exists(root_ + "public/blog/default.css"));
  EXPECT_EQ(ManifestNames().size(), 7u);
  EXPECT_EQ(Stamp().size(), 12u);
}

TEST_F(QuillpushTest, ADryRunOfARefusedRunFailsWithTheSameMessage) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);
  for (const char* name : {"blog1.html", "blog2.html", "blog3.html", "rss.xml", "default.css"}) {
    fs::remove(site_ + name);  // five of nine: more than half
  }
  const Outcome dry = Quillpush("--dry-run --delete Push Log");
  EXPECT_EQ(dry.status, 1);
  EXPECT_NE(dry.err.find("5 of the 9 files on the server would be deleted"), std::string::npos)
      << dry.err;
  const Outcome real = Quillpush("--delete Push Log");
  EXPECT_EQ(real.status, 1);
  EXPECT_EQ(real.err, dry.err);
  EXPECT_EQ(ServerFiles().size(), 9u);
  EXPECT_EQ(Quillpush("--dry-run --delete --force Push Log").status, 0);
  EXPECT_EQ(Quillpush("--dry-run Push Log").status, 0);  // nothing to delete, nothing refused

  WriteFile(site_ + "bad\tname.html", "page");
  const Outcome bad_dry = Quillpush("--dry-run Push Log");
  EXPECT_EQ(bad_dry.status, 1);
  EXPECT_NE(bad_dry.err.find("bad\\x09name.html"), std::string::npos) << bad_dry.err;
  const Outcome bad_real = Quillpush();
  EXPECT_EQ(bad_real.status, 1);
  EXPECT_EQ(bad_real.err, bad_dry.err);
  EXPECT_EQ(ServerFiles().size(), 9u);
}

// Deletes `count` of the files named in `names` from the site, then checks that a dry run
// and the real run agree with `allowed`.
class DeletionCapTest : public QuillpushTest {
 protected:
  void ExpectDeletion(const std::vector<std::string>& names, std::size_t count, bool allowed) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (i < count) {
        fs::remove(site_ + names[i]);
      } else if (!fs::exists(site_ + names[i])) {
        WriteFile(site_ + names[i], "file " + names[i]);  // as it was sent
      }
    }
    const std::size_t held = ServerFiles().size();
    const int expected = allowed ? 0 : 1;
    EXPECT_EQ(Quillpush("--dry-run --delete Push Log").status, expected) << count;
    const Outcome run = Quillpush("--delete Push Log");
    EXPECT_EQ(run.status, expected) << count << ": " << run.err;
    EXPECT_EQ(ServerFiles().size(), allowed ? held - count : held) << count;
  }
  std::vector<std::string> AddFiles(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
      names.push_back("files/f" + std::to_string(i) + ".txt");
      fs::create_directories(site_ + "files");
      WriteFile(site_ + names.back(), "file " + names.back());
    }
    return names;
  }
};

TEST_F(DeletionCapTest, ExactlyHalfOfTheFilesMayGoButNotOneMore) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  const std::vector<std::string> names = AddFiles(3);  // twelve files on the server
  ASSERT_EQ(Quillpush().status, 0);
  const std::vector<std::string> pages = {"blog1.html",   "blog2.html",   "blog3.html",  "rss.xml",
                                          "files/f0.txt", "files/f1.txt", "files/f2.txt"};
  ExpectDeletion(pages, 7, false);
  ExpectDeletion(pages, 6, true);
}

TEST_F(DeletionCapTest, AHundredFilesMayGoButNotOneMore) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  const std::vector<std::string> names = AddFiles(202);  // 211 on the server
  ASSERT_EQ(Quillpush("--quiet Push Log").status, 0);
  ExpectDeletion(names, 101, false);
  ExpectDeletion(names, 100, true);
}

// Killed at random moments and run again, the upload always ends with exact copies.
TEST_F(QuillpushTest, KilledAtRandomMomentsTheServerStillEndsUpWithExactCopies) {
  std::mt19937 random(20261207);
  const auto content = [&](std::size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>('a' + random() % 26);
    return bytes;
  };
  std::vector<std::string> names;
  for (int i = 0; i < 24; ++i) {
    names.push_back("images/p" + std::to_string(i) + ".jpg");
    WriteFile(site_ + names.back(), content(4000 + random() % 40000));
  }
  testing::FtpServer server(root_, log_, 0, 0, "", {"--slow"});
  ServeOn(server.Port());
  ASSERT_EQ(Quillpush().status, 0);

  const std::string config = "XDG_CONFIG_HOME=" + dir_.Path().string();
  for (int run = 0; run < 10; ++run) {
    std::map<std::string, std::string> before;
    for (const std::string& name : names) {
      if (random() % 3 != 0) continue;
      before[name] = ReadFile(site_ + name);
      WriteFile(site_ + name, content(4000 + random() % 40000));
    }
    std::vector<std::string> args = {
        "/usr/bin/env", "-u",           "DISPLAY", "-u",   "WAYLAND_DISPLAY",
        config,         QUILLPUSH_PATH, "--quiet", "Push", "Log"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 600));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    // Half the changed files go back to what they were, as a rebuild may bring them back.
    for (const auto& [name, old] : before) {
      if (random() % 2 == 0) WriteFile(site_ + name, old);
    }
    const Outcome rerun = Quillpush();
    ASSERT_EQ(rerun.status, 0) << "run " << run << ": " << rerun.err;
    ExpectServerMirrorsTheSite();
  }
}

TEST_F(QuillpushTest, SettingsFileFailuresAreNamed) {
  const std::string registry = dir_.File("quillsmith/registry.db");
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());

  // Read-only: everything arrives, but without the upload time the run has failed.
  fs::permissions(registry, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  Outcome run =
      Quillpush("Push Log", "-u DISPLAY -u WAYLAND_DISPLAY", testing::AsOrdinaryUser(dir_.Path()));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Everything arrived"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Cannot write the settings file " + registry +
                         ": attempt to write a "
                         "readonly database"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Stamp(), "");

  fs::remove(registry);
  WriteFile(registry, std::string(4096, 'x'));
  run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Cannot use the settings file " + registry + ": file is not a database"),
            std::string::npos)
      << run.err;
}

TEST_F(QuillpushTest, CheckSendsNothingWhileLinksLeadNowhere) {
  testing::FtpServer server(root_, log_);
  ServeOn(server.Port());
  WriteFile(site_ + "index.html", "<a href=\"blog1.html\">older</a> <img src=\"images/Walk.jpg\">");

  Outcome run = Quillpush("--check Push Log");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("index.html: images/Walk.jpg: differs only in letter case from "
                         "images/walk.jpg\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("quillpush: 1 link leads nowhere; nothing was sent "
                         "(--allow-broken-links sends the site anyway)\n"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(ServerFiles().empty());
  EXPECT_EQ(Stamp(), "");

  run = Quillpush("--check --allow-broken-links --quiet Push Log");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("quillpush: warning: 1 link leads nowhere; sending the site anyway\n"),
            std::string::npos)
      << run.err;
  ExpectServerMirrorsTheSite();

  // --force keeps its one meaning, the deletion cap.
  EXPECT_EQ(Quillpush("--allow-broken-links Push Log").status, 2);
  EXPECT_EQ(Quillpush("--check --force Push Log").status, 2);
}

}  // namespace
}  // namespace quill::push
