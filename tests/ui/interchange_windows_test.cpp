// The windows that bring entries in and take them out, reached from the setup's Tools page and
// after the first setup of a new project.

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "support/editor_fixture.h"
#include "ui/interchange/frm_export.h"
#include "ui/interchange/frm_import.h"
#include "ui/setup/frm_setup.h"

namespace quill::ui {
namespace {

namespace fs = std::filesystem;

constexpr char kExport[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:content="http://purl.org/rss/1.0/modules/content/"
     xmlns:wp="http://wordpress.org/export/1.2/">
<channel>
<item><title>Old</title><content:encoded>From before</content:encoded>
  <wp:post_date>2019-05-01 10:00:00</wp:post_date><wp:status>publish</wp:status></item>
<item><title>Draft</title><content:encoded>Unfinished</content:encoded>
  <wp:post_date>2019-05-02 10:00:00</wp:post_date><wp:status>draft</wp:status></item>
</channel>
</rss>
)";

class TransferTest : public testing::EditorFixture {
 protected:
  TransferTest() { testing::WriteFile(file_, kExport); }

  // The setup dialog's Tools page, its button `name` clicked.
  void ClickOnTools(const char* name) {
    app_.OpenSetupDialog();
    auto* setup = Find<frmSetup>("frmSetup");
    ASSERT_NE(setup, nullptr);
    Child<QRadioButton>(setup, "optSet_2")->click();
    Click(Child<QPushButton>(setup, name));
  }

  std::int32_t Entries() { return app_.Entries().CountEntriesOf("My Log"); }

  std::string file_ = dir_.File("wordpress.xml");
};

TEST_F(TransferTest, ImportCountsFirstThenBringsTheEntriesInAndOffersOutput) {
  Open();
  ClickOnTools("cmdImport");
  auto* import = Find<frmImport>("frmImport");
  ASSERT_NE(import, nullptr);
  services_.file_names = {QString::fromStdString(file_)};
  Click(Child<QPushButton>(import, "cmdCount"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].text, "Would import 1 entry.\nSkipped 1 post not published.");
  EXPECT_EQ(Entries(), 0);

  Child<QCheckBox>(import, "chkDrafts")->setChecked(true);
  Click(Child<QPushButton>(import, "cmdImport"));
  ASSERT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(services_.messages[1].title, "Import");
  EXPECT_EQ(services_.messages[1].text, "Imported 2 entries.");
  EXPECT_EQ(Entries(), 2);
  Settle();
  EXPECT_EQ(Find<frmImport>("frmImport"), nullptr);
  EXPECT_EQ(Nav(2)->text(), "Output");
}

TEST_F(TransferTest, ABrokenFileIsReportedAndTheWindowStays) {
  Open();
  testing::WriteFile(file_, std::string(kExport).substr(0, 200));
  ClickOnTools("cmdImport");
  auto* import = Find<frmImport>("frmImport");
  ASSERT_NE(import, nullptr);
  services_.file_names = {QString::fromStdString(file_)};
  Click(Child<QPushButton>(import, "cmdImport"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_TRUE(services_.messages[0].text.startsWith("Nothing was imported from "));
  EXPECT_NE(Find<frmImport>("frmImport"), nullptr);
}

TEST_F(TransferTest, ExportWritesForZolaAndRefusesToReplaceUnlessAsked) {
  Open();
  app_.Entries().CurrentEntry = {{2019, 5, 1, 10, 0, 0}, "Hello"};
  app_.Entries().SaveEntry();
  const std::string out = dir_.File("zola");
  fs::create_directories(out + "/content/posts");
  testing::WriteFile(out + "/content/posts/2019-05-01-100000.md", "mine");

  ClickOnTools("cmdExport");
  auto* window = Find<frmExport>("frmExport");
  ASSERT_NE(window, nullptr);
  Child<QRadioButton>(window, "optZola")->setChecked(true);
  services_.file_names = {QString::fromStdString(out)};
  Click(Child<QPushButton>(window, "cmdExport"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_EQ(testing::ReadFile(out + "/content/posts/2019-05-01-100000.md"), "mine");

  Child<QCheckBox>(window, "chkForce")->setChecked(true);
  Click(Child<QPushButton>(window, "cmdExport"));
  ASSERT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(services_.messages[1].text, "Exported 1 entry for Zola into " + QString::fromStdString(out) + ".");
  EXPECT_NE(testing::ReadFile(out + "/content/posts/2019-05-01-100000.md").find("<p>Hello</p>"),
            std::string::npos);
}

TEST_F(TransferTest, ANewProjectIsOfferedAnImportOnceItsSetupIsSaved) {
  app_.Project().Template = "";
  app_.Settings().LoadSettings(true);
  Open();
  app_.OpenSetupDialog();
  auto* setup = Find<frmSetup>("frmSetup");
  ASSERT_NE(setup, nullptr);
  // The chosen folder does not exist yet: the import makes it.
  const std::string folder = dir_.File("new blog/");
  Child<QLabel>(setup, "lblTemp")->setText(QString::fromStdString(folder));
  services_.answers = {MessageAnswer::Yes};
  Click(Child<QPushButton>(setup, "cmdSave"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Import entries from…");
  auto* import = Find<frmImport>("frmImport");
  ASSERT_NE(import, nullptr);
  services_.file_names = {QString::fromStdString(file_)};
  Click(Child<QPushButton>(import, "cmdImport"));
  EXPECT_EQ(services_.messages.back().text, "Imported 1 entry.\nSkipped 1 post not published.");
  EXPECT_TRUE(fs::exists(folder + "Blog.mdb"));

  // Set up once, the project is not asked again.
  app_.OpenSetupDialog();
  Click(Child<QPushButton>(Find<frmSetup>("frmSetup"), "cmdSave"));
  EXPECT_EQ(services_.messages.size(), 2u);
}

TEST_F(TransferTest, ImportWaitsUntilTheFolderShownIsSaved) {
  Open();
  app_.OpenSetupDialog();
  auto* setup = Find<frmSetup>("frmSetup");
  ASSERT_NE(setup, nullptr);
  Child<QLineEdit>(setup, "txtTitle")->setText("Another Title");
  Child<QRadioButton>(setup, "optSet_2")->click();
  Click(Child<QPushButton>(setup, "cmdImport"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.startsWith("Save the setup first"));
  EXPECT_EQ(Find<frmImport>("frmImport"), nullptr);
}

}  // namespace
}  // namespace quill::ui
