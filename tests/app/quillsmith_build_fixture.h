#pragma once

// quillsmith-build run as a user would run it, on a profile of its own: the registry file
// elsewhere, the Windows registry (below a test key) on Windows.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings_store.h"
#include "publish/process.h"
#include "store/entry_store.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"
#include "support/user_registry.h"
#ifndef _WIN32
#include "support/ordinary_user.h"
#endif

namespace quill {

using testing::ReadFile;
using testing::TempDir;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// The program's output with Windows' CR LF line ends read as plain line breaks.
inline std::string Lines(std::string text) {
  for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.erase(at, 1);
  }
  return text;
}

class QuillsmithBuildTest : public ::testing::Test {
 protected:
  QuillsmithBuildTest() {
    std::filesystem::create_directories(site_);
    settings_.SetUserValue("00", "My Log");
    Project().ProjectName = "My Log";
    Project().Template = site_ + "template.html";
    Project().Title = "My Log";
    Project().IncludeRSS = 1;
    settings_.LoadSettings(true);
  }

  core::ProjectSettings& Project() { return settings_.Settings(); }

  // Runs the program with the arguments; `under` names a program (and its arguments) to run
  // it through, such as one that changes the user or the environment.
  Outcome Quillsmith(const std::vector<std::string>& arguments,
                     std::vector<std::string> under = {}) {
    under.push_back(QUILLSMITH_BUILD_PATH);
    under.insert(under.end(), arguments.begin(), arguments.end());
    const std::string program = under.front();
    under.erase(under.begin());
    const publish::OutputFiles output{home_.File("out.txt"), home_.File("err.txt")};
    const publish::LaunchResult run = publish::RunAndWait(program, under, output);
    EXPECT_TRUE(run.started) << run.error;
    return {run.exit_code, Lines(ReadFile(output.out)), Lines(ReadFile(output.err))};
  }

  std::string Stored(const std::string& name) { return settings_.GetProjectValue(name); }

  TempDir home_;
  std::string site_ = home_.File("site") + "/";
  testing::UserRegistry registry_;
  testing::FixedClock clock_;
  core::SettingsStore settings_{registry_.get(), clock_};
};

}  // namespace quill
