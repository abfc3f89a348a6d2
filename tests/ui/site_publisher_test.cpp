#include "ui/editor/site_publisher.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <filesystem>

#include "support/editor_fixture.h"
#include "ui/editor/frm_links.h"
#include "ui/start/frm_enter.h"

namespace quill::ui {
namespace {

class LinkReportTest : public testing::EditorFixture {
 protected:
  LinkReportTest() { clock_.Set({2026, 12, 7, 9, 0, 0}); }

  // Markup as the toolbar's link dialog puts it in (typed, "<" would become "&lt;").
  void SaveNew(const QString& text) {
    Text()->setPlainText(text);
    Click(Nav(1));
  }
  QLabel* Summary() { return Child<QLabel>(editor_, "lblLinks"); }
  QWidget* Bar() { return Child<QWidget>(editor_, "LinkBar"); }
};

TEST_F(LinkReportTest, OutputSaysHowManyLinksLeadNowhereAndShowOpensTheirEntries) {
  Open();
  SaveNew("See <a href=\"gone.html\">this</a>");
  Click(Nav(2));  // Output; "You want to see it?" answered No
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].text,
            "Blog Content has been Produced\n\n1 link leads nowhere (Show lists them).\n\n"
            "You want to see it?");
  EXPECT_FALSE(Bar()->isHidden());
  EXPECT_EQ(Summary()->text(), "1 link leads nowhere");

  Click(Child<QPushButton>(editor_, "cmdLinks"));
  auto* links = Find<frmLinks>("frmLinks");
  ASSERT_NE(links, nullptr);
  auto* list = Child<QListWidget>(links, "List");
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(),
            "index.html, entry 2026-12-07 09:00:00: gone.html: no such file");

  // A double click opens the entry, ready to mend.
  emit list->itemDoubleClicked(list->item(0));
  EXPECT_EQ(editor_->Mode(), 2);
  EXPECT_EQ(Text()->toPlainText(), "See <a href=\"gone.html\">this</a>");

  // Mended and output again: the bar goes.
  Text()->setPlainText("See this");
  clock_.Set({2026, 12, 7, 9, 5, 0});
  Click(Nav(0));  // Save
  Click(Nav(2));
  EXPECT_EQ(services_.messages.back().text,
            "Blog Content has been Produced\n\nYou want to see it?");
  EXPECT_TRUE(Bar()->isHidden());
  EXPECT_EQ(list->count(), 0);
}

TEST_F(LinkReportTest, SynchAsksOnceBeforeUploadingASiteWithLinksThatLeadNowhere) {
  testing::WriteFile((app_folder_ + "quillpush").toStdString(), "");
  app_.Settings().SetProjectValue("PostFTP", "1");
  app_.Settings().SetProjectValue("OutDate", "261207");
  app_.Settings().SetProjectValue("OutTime", "101500");
  testing::WriteFile(dir_.File("site/index.html"),
                     "<img src=\"a.png\"> <a href=\"b.html\">b</a> <a href=\"Index.html\">i</a>");
  app_.StartProgram();  // finds the uploader
  app_.Unload(app_.Chooser());
  Open();
  ASSERT_EQ(Nav(3)->text(), "Synch");

  Click(Nav(3));  // answered No: nothing goes
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Synch");
  EXPECT_EQ(services_.messages[0].text, "3 links lead nowhere.\n\nUpload anyway?");
  EXPECT_EQ(services_.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(services_.launches.empty());
  EXPECT_EQ(Summary()->text(), "3 links lead nowhere");

  services_.answers = {MessageAnswer::Yes};
  Click(Nav(3));
  EXPECT_EQ(services_.messages.size(), 2u);  // one question, then the upload
  EXPECT_EQ(services_.launches.size(), 1u);

  // A site whose links all lead somewhere goes without a question.
  testing::WriteFile(dir_.File("site/index.html"), "<a href=\"index.html\">home</a>");
  Click(Nav(3));
  EXPECT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(services_.launches.size(), 2u);
  EXPECT_TRUE(Bar()->isHidden());
}

}  // namespace
}  // namespace quill::ui
