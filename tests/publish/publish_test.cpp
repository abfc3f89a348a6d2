#include <gtest/gtest.h>

#include <csignal>
#include <utility>

#include "publish/process.h"
#include "publish/publish_rules.h"
#include "support/temp_dir.h"

namespace quill::publish {
namespace {

core::ProjectSettings Stamps(std::string out_date, std::string out_time, std::string ftp_date,
                             std::string ftp_time) {
  core::ProjectSettings settings;
  settings.PostFTP = 1;
  settings.OutDate = std::move(out_date);
  settings.OutTime = std::move(out_time);
  settings.FtpDate = std::move(ftp_date);
  settings.FtpTime = std::move(ftp_time);
  return settings;
}

TEST(Synch, OfferedWhileTheUploadIsOlderThanTheOutput) {
  EXPECT_TRUE(IsSynchOffered(Stamps("261207", "101500", "261207", "101459"), true));
  EXPECT_FALSE(IsSynchOffered(Stamps("261207", "101500", "261207", "101500"), true));
  EXPECT_TRUE(IsSynchOffered(Stamps("261207", "000000", "261206", "235959"), true));
  EXPECT_FALSE(IsSynchOffered(Stamps("261206", "235959", "261207", "000000"), true));
  EXPECT_TRUE(IsSynchOffered(Stamps("261207", "101500", "", ""), true));  // never uploaded
  EXPECT_FALSE(IsSynchOffered(Stamps("", "", "", ""), true));             // never output
  // Not without the uploader, nor with uploading off.
  EXPECT_FALSE(IsSynchOffered(Stamps("261207", "101500", "", ""), false));
  auto off = Stamps("261207", "101500", "", "");
  off.PostFTP = 0;
  EXPECT_FALSE(IsSynchOffered(off, true));
}

TEST(Output, StaleOnceAnEntryIsSavedAfterTheLastOutput) {
  core::ProjectSettings settings;
  EXPECT_FALSE(IsOutputStale(settings));
  settings.SavDate = "261207";
  settings.SavTime = "090000";
  EXPECT_TRUE(IsOutputStale(settings));
  settings.OutDate = "261207";
  settings.OutTime = "090000";
  EXPECT_FALSE(IsOutputStale(settings));
  settings.SavTime = "090001";
  EXPECT_TRUE(IsOutputStale(settings));
}

TEST(Uploader, TheProjectNameTravelsAsOneArgument) {
  const Command command = UploaderCommand("/opt/Quill Smith/quillpush", "My Blog; rm -rf ~");
  EXPECT_EQ(command.program, "/opt/Quill Smith/quillpush");
  EXPECT_EQ(command.arguments, std::vector<std::string>{"My Blog; rm -rf ~"});
#ifdef _WIN32
  EXPECT_EQ(UploaderPath("C:\\Apps\\Q\\"), "C:\\Apps\\Q\\quillpush.exe");
#else
  EXPECT_EQ(UploaderPath("/opt/q/"), "/opt/q/quillpush");
#endif
}

TEST(RunAndWait, WaitsForTheProgramAndPassesArgumentsUntouched) {
  testing::TempDir dir;
  const std::string out = dir.File("args");
  const std::vector<std::string> arguments = {
      "My Blog",  "say \"hi\"", "%PATH%",    "$HOME;rm x", "C:\\Program Files\\",
      "a\\\\\"b", "",           "tab\there", "\\\\",       "end"};
  std::vector<std::string> all = {out};
  all.insert(all.end(), arguments.begin(), arguments.end());

  const LaunchResult result = RunAndWait(ARG_ECHO_PATH, all);
  ASSERT_TRUE(result.started) << result.error;
  EXPECT_EQ(result.exit_code, static_cast<int>(arguments.size()));
  std::string expected;
  for (const std::string& argument : arguments) expected += argument + '\0';
  EXPECT_EQ(testing::ReadFile(out), expected);  // written before it returned

  // A window waiting meanwhile hears from it all the time.
  int idle = 0;
  EXPECT_EQ(RunAndWait(ARG_ECHO_PATH, {out, "x"}, {}, [&] { ++idle; }).exit_code, 1);
  EXPECT_GE(idle, 3);
  EXPECT_EQ(testing::ReadFile(out), std::string("x", 2));
}

#ifndef _WIN32
TEST(RunAndWait, AnUploaderEndedByASignalIsAFailureThatNamesTheSignal) {
  for (const auto& [number, name] : {std::pair{SIGKILL, "SIGKILL"}, std::pair{SIGSEGV, "SIGSEGV"},
                                     std::pair{SIGTERM, "SIGTERM"}}) {
    const LaunchResult result =
        RunAndWait("/bin/sh", {"-c", "ulimit -c 0; kill -" + std::to_string(number) + " $$"});
    ASSERT_TRUE(result.started) << result.error;
    EXPECT_EQ(result.signal, number);
    EXPECT_NE(result.exit_code, 0);
    const std::string failure = UploaderFailure("/opt/q/quillpush", result);
    EXPECT_NE(failure.find("/opt/q/quillpush was ended by " + std::string(name)), std::string::npos)
        << failure;
  }
  // An exit status is the uploader's own word, even the one a shell gives for a kill.
  const LaunchResult reported = RunAndWait("/bin/sh", {"-c", "exit 137"});
  EXPECT_EQ(reported.exit_code, 137);
  EXPECT_EQ(reported.signal, 0);
  EXPECT_EQ(UploaderFailure("/opt/q/quillpush", reported), "");
  EXPECT_EQ(UploaderFailure("/opt/q/quillpush", RunAndWait("/bin/sh", {"-c", "exit 0"})), "");
}
#endif

TEST(RunAndWait, AMissingProgramSaysWhyInOneLine) {
  testing::TempDir dir;
  const LaunchResult result = RunAndWait(dir.File("quillpush.exe"), {"My Log"});
  EXPECT_FALSE(result.started);
  ASSERT_FALSE(result.error.empty());
  EXPECT_EQ(result.error.find_first_of("\r\n"), std::string::npos) << result.error;
#ifndef _WIN32
  EXPECT_NE(result.error.find("No such file"), std::string::npos) << result.error;
#endif
}

}  // namespace
}  // namespace quill::publish
