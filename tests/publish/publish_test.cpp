#include <gtest/gtest.h>

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

#ifndef _WIN32
TEST(RunAndWait, WaitsForTheProgramAndPassesArgumentsUntouched) {
  testing::TempDir dir;
  const std::string out = dir.File("out");
  const LaunchResult result = RunAndWait(
      "/bin/sh", {"-c", "sleep 0.3; printf '%s|' \"$@\" > \"$0\"", out, "My Blog", "a;b $HOME"});
  EXPECT_TRUE(result.started) << result.error;
  EXPECT_EQ(testing::ReadFile(out), "My Blog|a;b $HOME|");  // written before it returned

  // A window waiting meanwhile hears from it all the time.
  int idle = 0;
  EXPECT_TRUE(RunAndWait("/bin/sh", {"-c", "sleep 0.3"}, [&] { ++idle; }).started);
  EXPECT_GE(idle, 3);
}

TEST(RunAndWait, AMissingProgramSaysWhy) {
  const LaunchResult result = RunAndWait("/nonexistent/quillpush", {"My Log"});
  EXPECT_FALSE(result.started);
  EXPECT_NE(result.error.find("No such file"), std::string::npos) << result.error;
}
#endif

}  // namespace
}  // namespace quill::publish
