// A newcomer's first HTML5 blog, built by quillsmith-build from the support files "<< Create"
// writes, read by the Nu HTML checker: every page kind must have no error at all. Runs where
// Java and the checker (scripts/fetch-nu-checker.sh, run by `make test`) are present.

#include "quillsmith_build_fixture.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

// One entry with each thing the toolbar inserts, as it inserts it in an HTML5 project, and text
// beyond ASCII.
constexpr const char* kEntry =
    "Walked to the <a href=\"https://example.org/caf%C3%A9\">caf\xC3\xA9</a> by the river.\r\n"
    "<div class=\"LBox\"><img src=\"walk.jpg\" alt=\"The river path in the fog\"></div>\r\n"
    "<ul><li>bread</li><li>cr\xC3\xA8me fra\xC3\xAE"
    "che</li></ul>\r\n"
    "<blockquote>\r\nA quote from a letter, \xE2\x80\x9Cword for "
    "word\xE2\x80\x9D.\r\n</blockquote>\r\n"
    "<hr>\r\n"
    "<span style=\"font-family: Georgia; color: #800000\">Said in red</span> and "
    "<b>bold</b>.\r\n"
    "\r\n"
    "<div style=\"text-align: center\">\r\nCentred, \xCE\xB1\xCE\xB2\xCE\xB3\r\n</div>\r\n";

class Html5PagesTest : public QuillsmithBuildTest, public ::testing::WithParamInterface<int> {
 protected:
  // The checker's complaints about the files, one per line; empty when there is none.
  std::string Checked(const std::vector<std::string>& files) {
    std::vector<std::string> arguments{"-jar", QUILL_NU_CHECKER, "--errors-only", "--format",
                                       "gnu"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const publish::OutputFiles output{home_.File("nu.out"), home_.File("nu.err")};
    const publish::LaunchResult run = publish::RunAndWait(QUILL_JAVA, arguments, output);
    EXPECT_TRUE(run.started) << run.error;
    return ReadFile(output.out) + ReadFile(output.err);
  }
};

TEST_P(Html5PagesTest, EveryPageKindHasNoErrorInTheNuChecker) {
  if (std::string(QUILL_JAVA).empty() || !fs::exists(QUILL_NU_CHECKER)) {
    GTEST_SKIP() << "the Nu HTML checker needs Java (default-jre-headless) and vnu.jar "
                    "(scripts/fetch-nu-checker.sh), so the pages are not validated";
  }
  Project().Html5 = 1;
  Project().Language = "en";
  Project().EntryPages = static_cast<std::int16_t>(GetParam());
  Project().CommentPage = 1;
  Project().Docs = "https://ann.example/blog/";
  settings_.LoadSettings(true);
  {
    store::EntryStore entries(settings_);
    entries.CurrentEntry = {{2026, 12, 6, 22, 15, 7}, kEntry};
    entries.SaveEntry();
    entries.CurrentEntry = {{2026, 12, 7, 8, 0, 0}, "Second entry, <i>short</i>."};
    entries.SaveEntry();
  }
  Outcome run = Quillsmith({"--support-files", "My Log"});
  ASSERT_EQ(run.status, 0) << run.err;
  run = Quillsmith({"My Log"});
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<std::string> pages;
  for (const auto& file : fs::directory_iterator(site_)) {
    const std::string name = file.path().filename().string();
    if (file.path().extension() == ".html" && name != "template.html") {
      pages.push_back(file.path().string());
    }
  }
  std::sort(pages.begin(), pages.end());
  // blog.html/index.html, comments.html, message.html; with entry pages also two entry pages
  // and the archive.
  EXPECT_GE(pages.size(), GetParam() == 1 ? 6u : 3u);
  EXPECT_EQ(Checked(pages), "");
}

INSTANTIATE_TEST_SUITE_P(EntryPagesOffAndOn, Html5PagesTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace quill
