// The editor's Synch with the real uploader beside it and a real FTP server on loopback.

#include <cstdlib>
#include <filesystem>

#include "support/editor_fixture.h"
#include "support/ftp_server.h"
#include "ui/start/frm_enter.h"

namespace quill::ui {
namespace {

// Points the uploader at the test's own profile, without a display, for one test.
class ChildEnvironment {
 public:
  explicit ChildEnvironment(const std::string& config) {
    Save("XDG_CONFIG_HOME", config.c_str());
    Save("DISPLAY", nullptr);
    Save("WAYLAND_DISPLAY", nullptr);
  }
  ~ChildEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  void Save(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class SynchEndToEndTest : public testing::EditorFixture {};

TEST_F(SynchEndToEndTest, OutputThenSynchUploadsAndTheButtonGoesBlank) {
  const std::string root = dir_.File("server") + "/";
  std::filesystem::create_directories(root);
  testing::FtpServer server(root, dir_.File("received.log"));
  std::filesystem::create_symlink(QUILLPUSH_PATH, (app_folder_ + "quillpush").toStdString());
  app_.Settings().SetProjectValue("PostFTP", "1");
  app_.Settings().SetProjectValue("FtpHost", "127.0.0.1:" + std::to_string(server.Port()));
  app_.Settings().SetProjectValue("FtpUser", "ann");
  app_.Settings().SetProjectValue("FtpPass", "secret");
  app_.Settings().SetProjectValue("FtpPath", "blog");
  services_.run_programs = true;
  ChildEnvironment environment(dir_.Path().string());

  app_.StartProgram();
  app_.Unload(app_.Chooser());
  Open();
  ASSERT_TRUE(app_.UploaderPresent());
  Type("Uploaded words");
  Click(Nav(1));
  clock_.Set({2026, 12, 7, 9, 30, 0});
  Click(Nav(2));  // Output; "Cool!" answered No
  ASSERT_TRUE(std::filesystem::exists(dir_.File("site/index.html")));
  ASSERT_EQ(Nav(3)->text(), "Synch");

  Click(Nav(3));
  ASSERT_EQ(services_.launches.size(), 1u);
  EXPECT_NE(testing::ReadFile(root + "blog/index.html").find("<p>Uploaded words</p>"),
            std::string::npos);
  EXPECT_EQ(app_.Project().FtpDate.size(), 6u);
  EXPECT_EQ(Nav(3)->text(), "");
  EXPECT_FALSE(Nav(3)->isEnabled());
}

}  // namespace
}  // namespace quill::ui
