#include "ui/editor/frm_blog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <filesystem>

#include "core/product.h"
#include "core/text.h"
#include "support/editor_fixture.h"
#include "ui/start/frm_enter.h"

namespace quill::ui {
namespace {

using core::Stamp;

const Stamp kMorning{2026, 12, 7, 9, 0, 0};
const Stamp kNoon{2026, 12, 7, 12, 0, 0};
const Stamp kEvening{2026, 12, 7, 20, 30, 15};

class EditorTest : public testing::EditorFixture {
 protected:
  EditorTest() { clock_.Set(kMorning); }

  QPushButton* Done() { return Child<QPushButton>(editor_, "cmdDone"); }
  QPushButton* SetupButton() { return Child<QPushButton>(editor_, "cmdSetup"); }
  QString Date() { return Child<QLabel>(editor_, "Label1")->text(); }

  // The captions of cmdNav 0-3, cmdDone and cmdSetup, with "*" after each enabled one.
  std::vector<QString> Buttons() {
    std::vector<QString> captions;
    for (QPushButton* button : {Nav(0), Nav(1), Nav(2), Nav(3), Done(), SetupButton()}) {
      captions.push_back(button->text() + (button->isEnabled() ? "*" : ""));
    }
    return captions;
  }

  // Saves entries as new entries, each at the clock's time then.
  void SaveAt(const Stamp& stamp, const QString& text) {
    clock_.Set(stamp);
    editor_->SwitchMode(0);
    Type(text);
    Click(Nav(1));
  }
};

TEST_F(EditorTest, NewEntryModeOffersSaveOnlyForText) {
  Open();
  EXPECT_EQ(editor_->windowTitle(), "Ardentware Quillsmith : My Log");
  EXPECT_EQ(Buttons(), (std::vector<QString>{"Review*", "", "", "", "Egress*", "Setup*"}));
  EXPECT_EQ(Date(), "Monday, December 07, 2026 @ 09:00 AM");
  EXPECT_EQ(Done()->toolTip(), "Close the current Blog project");

  Type("   ");
  EXPECT_EQ(Nav(1)->text(), "");
  EXPECT_FALSE(Nav(1)->isEnabled());
  Type("x");
  EXPECT_EQ(Nav(1)->text(), "Save");
  EXPECT_TRUE(Nav(1)->isEnabled());
}

TEST_F(EditorTest, ANewEntryIsStampedWhenNewEntryModeBegan) {
  Open();
  clock_.Set(kNoon);  // typing takes a while
  Type("First");
  Click(Nav(1));
  app_.Entries().SeekEntry(kMorning);
  EXPECT_FALSE(app_.Entries().NoEntry());
  EXPECT_EQ(app_.Entries().CurrentEntry.Content, "First");
  EXPECT_EQ(editor_->NewEntryStamp(), kNoon);
  EXPECT_EQ(Date(), "Monday, December 07, 2026 @ 12:00 PM");
  EXPECT_EQ(Text()->toPlainText(), "");
  EXPECT_EQ(app_.Project().SavDate, "261207");
  EXPECT_EQ(app_.Project().SavTime, "120000");

  // The next entry takes the moment of that save; one on the same stamp replaces it.
  Type("Second\nline");
  Click(Nav(1));
  Type("Replaced");
  Click(Nav(1));
  EXPECT_EQ(app_.Entries().EntryCount(), 2);
  app_.Entries().SeekEntry(kNoon);
  EXPECT_EQ(app_.Entries().CurrentEntry.Content, "Replaced");
}

TEST_F(EditorTest, ReviewingAnEmptyBlogStaysInNewEntryMode) {
  Open();
  Type("unsaved");
  Click(Nav(0));
  EXPECT_EQ(editor_->Mode(), 0);
  EXPECT_EQ(Text()->toPlainText(), "unsaved");  // kept as the draft it is
}

TEST_F(EditorTest, ReviewWalksFromTheNewestAndStopsAtBothEnds) {
  Open();
  SaveAt(kMorning, "one");
  SaveAt(kNoon, "two\nlines");
  SaveAt(kEvening, "three");
  Click(Nav(0));
  EXPECT_EQ(editor_->Mode(), 1);
  EXPECT_EQ(editor_->windowTitle(), "Ardentware Quillsmith - Review : My Log");
  EXPECT_EQ(Buttons(), (std::vector<QString>{"Previous*", "Edit*", "Next*", "", "Blog*", "List*"}));
  EXPECT_TRUE(Text()->isReadOnly());
  EXPECT_EQ(Text()->toPlainText(), "three");
  EXPECT_EQ(Date(), "Monday, December 07, 2026 @ 08:30 PM");

  Click(Nav(2));  // Next on the newest stays there
  EXPECT_EQ(Text()->toPlainText(), "three");
  Click(Nav(0));
  EXPECT_EQ(Text()->toPlainText(), "two\nlines");
  Click(Nav(0));
  Click(Nav(0));  // Previous on the oldest stays there
  EXPECT_EQ(Text()->toPlainText(), "one");
  Click(Nav(2));
  EXPECT_EQ(Text()->toPlainText(), "two\nlines");

  Click(Done());  // Blog
  EXPECT_EQ(editor_->Mode(), 0);
}

TEST_F(EditorTest, EditingSavesInPlaceAndCancelLeavesTheStoreAlone) {
  Open();
  SaveAt(kMorning, "one");
  SaveAt(kNoon, "two");
  Click(Nav(0));
  Click(Nav(1));  // Edit
  EXPECT_EQ(editor_->Mode(), 2);
  EXPECT_EQ(editor_->windowTitle(), "Ardentware Quillsmith - Edit : My Log");
  EXPECT_EQ(Buttons(), (std::vector<QString>{"Save*", "", "Date*", "", "Cancel*", "Delete*"}));
  EXPECT_EQ(Date(), "Monday, December 07, 2026 @ 12:00:00 PM");
  EXPECT_FALSE(Text()->isReadOnly());

  QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);
  Type(" changed");
  Click(Done());  // Cancel
  EXPECT_EQ(editor_->Mode(), 1);
  EXPECT_EQ(Text()->toPlainText(), "two changed");  // shown until the next move
  app_.Entries().SeekEntry(kNoon);
  EXPECT_EQ(app_.Entries().CurrentEntry.Content, "two");
  Click(Nav(0));
  Click(Nav(2));
  EXPECT_EQ(Text()->toPlainText(), "two");

  clock_.Set(kEvening);
  Click(Nav(1));
  QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);
  Type(" edited  ");
  Click(Nav(0));  // Save
  EXPECT_EQ(editor_->Mode(), 0);
  app_.Entries().SeekEntry(kNoon);
  EXPECT_EQ(app_.Entries().CurrentEntry.Content, "two edited");
  EXPECT_EQ(app_.Entries().EntryCount(), 2);
  EXPECT_EQ(app_.Project().SavTime, "203015");
}

// No-break spaces inside, at either end and alone are stored byte for byte, from a new
// entry and from Edit; an entry saved from Edit unchanged stays byte-identical.
TEST_F(EditorTest, TextIsStoredExactlyAsTyped) {
  Open();
  const std::string nbsp = "\xC2\xA0";
  for (const std::string& text :
       {"a" + nbsp + "b", nbsp + "ab", "ab" + nbsp, nbsp, "x\r\n" + nbsp + "\r\ny"}) {
    SCOPED_TRACE(text);
    editor_->SwitchMode(0);
    Text()->setPlainText(QString::fromStdString(core::ReplaceAll(text, "\r\n", "\n")));
    ASSERT_TRUE(Nav(1)->isEnabled());  // a no-break space is not blank
    Click(Nav(1));
    app_.Entries().MoveLastEntry();
    EXPECT_EQ(app_.Entries().CurrentEntry.Content, text);

    Click(Nav(0));  // Review the newest
    Click(Nav(1));  // Edit
    Click(Nav(0));  // Save unchanged
    app_.Entries().MoveLastEntry();
    EXPECT_EQ(app_.Entries().CurrentEntry.Content, text);

    Click(Nav(0));
    Click(Nav(1));
    QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);
    Text()->insertPlainText(QString::fromUtf8(nbsp + "z"));
    Click(Nav(0));
    app_.Entries().MoveLastEntry();
    EXPECT_EQ(app_.Entries().CurrentEntry.Content, text + nbsp + "z");
    clock_.Set({2026, 12, 7, 10, app_.Entries().EntryCount(), 0});
  }
}

TEST_F(EditorTest, DeletingInEditModeShowsTheNeighbourUntilNoneIsLeft) {
  Open();
  SaveAt(kMorning, "one");
  SaveAt(kNoon, "two");
  SaveAt(kEvening, "three");
  Click(Nav(0));
  Click(Nav(0));  // to "two"
  Click(Nav(1));

  Click(SetupButton());  // answered No
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Delete");
  EXPECT_EQ(services_.messages[0].text,
            "Do you want to delete this entry?\n\nMonday, December 07, 2026 @ 12:00:00 PM");
  EXPECT_EQ(app_.Entries().EntryCount(), 3);

  services_.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Yes};
  Click(SetupButton());
  EXPECT_EQ(editor_->Mode(), 2);
  EXPECT_EQ(Text()->toPlainText(), "three");  // the next newer entry
  // The label now has no seconds; the second delete in a row still finds its entry.
  EXPECT_EQ(Date(), "Monday, December 07, 2026 @ 08:30 PM");
  Click(SetupButton());
  EXPECT_EQ(Text()->toPlainText(), "one");
  Click(SetupButton());
  EXPECT_EQ(editor_->Mode(), 0);
  EXPECT_EQ(app_.Entries().EntryCount(), 0);
}

TEST_F(EditorTest, OutputFollowsTheSaveAndOutputStamps) {
  Open();
  EXPECT_EQ(Nav(2)->text(), "");
  SaveAt(kMorning, "one");
  EXPECT_EQ(Nav(2)->text(), "Output");
  ASSERT_TRUE(Nav(2)->isEnabled());

  clock_.Set(kNoon);
  services_.answers = {MessageAnswer::Yes};
  Click(Nav(2));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Cool!");
  EXPECT_EQ(services_.messages[0].text, "Blog Content has been Produced\n\nYou want to see it?");
  EXPECT_EQ(services_.opened,
            std::vector<QString>{QString::fromStdString(dir_.File("site/index.html"))});
  EXPECT_TRUE(std::filesystem::exists(dir_.File("site/index.html")));
  EXPECT_EQ(app_.Project().OutTime, "120000");
  EXPECT_EQ(Nav(2)->text(), "");
  EXPECT_FALSE(Nav(2)->isEnabled());

  // A deletion is no save: the button stays blank.
  Click(Nav(0));
  Click(Nav(1));
  services_.answers = {MessageAnswer::Yes};
  Click(SetupButton());
  EXPECT_EQ(editor_->Mode(), 0);
  EXPECT_FALSE(Nav(2)->isEnabled());

  // Reopened later, a project output after its last save offers no output.
  app_.CloseAllWindows(true);
  Settle();
  Open();
  EXPECT_FALSE(Nav(2)->isEnabled());
}

TEST_F(EditorTest, AFailedOutputSaysWhereAndStampsNothing) {
  Open();
  SaveAt(kMorning, "one");
  std::filesystem::remove(app_.Project().Template);
  Click(Nav(2));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_TRUE(services_.messages[0].text.contains(QString::fromStdString(app_.Project().Template)));
  EXPECT_EQ(app_.Project().OutDate, "");
  EXPECT_TRUE(Nav(2)->isEnabled());
}

TEST_F(EditorTest, AnOutputFolderThatWentStopsOutputWithOneMessageNamingIt) {
  Open();
  SaveAt(kMorning, "one");
  std::filesystem::remove_all(dir_.File("site"));  // moved away, or its drive not mounted
  Click(Nav(2));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.startsWith(
      QString::fromStdString("The output folder " + dir_.File("site/") + " does not exist")))
      << services_.messages[0].text.toStdString();
  // An empty site made in its place would replace the real one at the next upload.
  EXPECT_FALSE(std::filesystem::exists(dir_.File("site")));
  EXPECT_EQ(app_.Project().OutDate, "");
}

TEST_F(EditorTest, ADatabaseFailureIsShownAndTheWindowGoesOn) {
  testing::WriteFile(dir_.File("site/Blog.mdb"), std::string(4096, '#'));
  Open();
  Click(Nav(0));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_TRUE(services_.messages[0].text.contains("not a database"));
  EXPECT_TRUE(editor_->isVisible());
}

TEST_F(EditorTest, WhatTheDesktopCannotOpenIsNamedWithTheReason) {
  Open();
  SaveAt(kMorning, "one");
  services_.open_failure = "no program on this desktop opens this kind of file.";
  services_.answers = {MessageAnswer::Yes};
  Click(Nav(2));  // Output, and "You want to see it?"
  ASSERT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(services_.messages[1].title, "Oops!");
  EXPECT_EQ(services_.messages[1].text,
            "Cannot open " + QString::fromStdString(dir_.File("site/index.html")) +
                ": no program on this desktop opens this kind of file.");
  QTest::mouseClick(Child<QLabel>(editor_, "lblHome_2"), Qt::LeftButton);
  ASSERT_EQ(services_.messages.size(), 3u);
  EXPECT_TRUE(services_.messages[2].text.startsWith(
      "Cannot open " + QString::fromStdString(std::string(core::kHomePage))));
}

TEST_F(EditorTest, HomeLinksForTheSiteTheBlogAndHelp) {
  Open();
  auto* site = Child<QLabel>(editor_, "lblHome_0");
  auto* blog = Child<QLabel>(editor_, "lblHome_1");
  auto* help = Child<QLabel>(editor_, "lblHome_2");
  EXPECT_TRUE(site->isHidden());
  EXPECT_TRUE(blog->isHidden());
  EXPECT_FALSE(help->isHidden());
  EXPECT_EQ(help->toolTip(), QString::fromStdString(std::string(core::kHomePage) + "help/"));
  QTest::mouseClick(help, Qt::LeftButton);
  EXPECT_EQ(services_.opened.back(), help->toolTip());

  app_.CloseAllWindows(true);
  Settle();
  app_.Settings().SetProjectValue("Site", "https://ann.example/");
  Open();
  EXPECT_FALSE(Child<QLabel>(editor_, "lblHome_0")->isHidden());
  EXPECT_EQ(Child<QLabel>(editor_, "lblHome_1")->toolTip(), "https://ann.example/");

  app_.CloseAllWindows(true);
  Settle();
  app_.Settings().SetProjectValue("Docs", "https://ann.example/blog/");
  Open();
  EXPECT_EQ(Child<QLabel>(editor_, "lblHome_1")->toolTip(), "https://ann.example/blog/");
}

class SynchTest : public EditorTest {
 protected:
  SynchTest() {
    testing::WriteFile((app_folder_ + "quillpush").toStdString(), "");
    app_.Settings().SetProjectValue("PostFTP", "1");
    app_.Settings().SetProjectValue("OutDate", "261207");
    app_.Settings().SetProjectValue("OutTime", "101500");
    app_.Settings().SetProjectValue("FtpDate", "261207");
  }
  frmBlog* Start() {
    app_.StartProgram();  // finds the uploader
    app_.Unload(app_.Chooser());
    return Open();
  }
};

TEST_F(SynchTest, OfferedWhileTheUploadIsOlderThanTheOutput) {
  app_.Settings().SetProjectValue("FtpTime", "101459");
  Start();
  EXPECT_EQ(Nav(3)->text(), "Synch");
  EXPECT_TRUE(Nav(3)->isEnabled());

  app_.CloseAllWindows(true);
  Settle();
  app_.Settings().SetProjectValue("FtpTime", "101500");
  Open();
  EXPECT_EQ(Nav(3)->text(), "");
  EXPECT_FALSE(Nav(3)->isEnabled());
}

TEST_F(SynchTest, RunsTheUploaderForTheProjectAndRereadsItsStamps) {
  app_.Settings().SetProjectValue("FtpTime", "101459");
  Start();
  services_.while_running = [&] {
    app_.Settings().SetProjectValue("FtpTime", "101500");  // the uploader's own write
  };
  Click(Nav(3));
  ASSERT_EQ(services_.launches.size(), 1u);
  EXPECT_EQ(services_.launches[0].program, (app_folder_ + "quillpush").toStdString());
  EXPECT_EQ(services_.launches[0].arguments, std::vector<std::string>{"My Log"});
  EXPECT_EQ(app_.Project().FtpTime, "101500");
  EXPECT_FALSE(Nav(3)->isEnabled());
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(SynchTest, AnUploaderThatCannotStartIsReported) {
  app_.Settings().SetProjectValue("FtpTime", "101459");
  Start();
  services_.launch_result = {false, "No such file or directory"};
  Click(Nav(3));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_TRUE(services_.messages[0].text.contains("No such file or directory"));
  EXPECT_TRUE(Nav(3)->isEnabled());  // still stale, still offered
}

TEST_F(SynchTest, AnUploaderEndedByASignalIsReportedAndTheStampsStay) {
  app_.Settings().SetProjectValue("FtpTime", "101459");
  const std::string uploader = (app_folder_ + "quillpush").toStdString();
  Start();
  services_.run_programs = true;
  for (const char* name : {"KILL", "SEGV", "TERM"}) {
    testing::WriteFile(uploader, std::string("#!/bin/sh\nulimit -c 0\nkill -") + name + " $$\n");
    std::filesystem::permissions(uploader, std::filesystem::perms::owner_all);
    services_.messages.clear();
    Click(Nav(3));
    ASSERT_EQ(services_.messages.size(), 1u) << name;
    EXPECT_EQ(services_.messages[0].title, "Oops!");
    EXPECT_TRUE(services_.messages[0].text.contains(QString("ended by SIG") + name))
        << services_.messages[0].text.toStdString();
    EXPECT_EQ(app_.Project().FtpDate, "261207");
    EXPECT_EQ(app_.Project().FtpTime, "101459");
    EXPECT_TRUE(Nav(3)->isEnabled()) << name;  // still stale, still offered
  }
}

TEST_F(SynchTest, NeverOfferedWithoutTheUploader) {
  std::filesystem::remove((app_folder_ + "quillpush").toStdString());
  app_.Settings().SetProjectValue("FtpTime", "101459");
  Start();
  EXPECT_FALSE(Nav(3)->isEnabled());
}

TEST_F(EditorTest, ClosingTheMainWindowTakesItsDialogsAlongAndEndsTheProgram) {
  Open();
  app_.OpenSetupDialog();
  editor_->close();
  Settle();
  EXPECT_EQ(quits_, 1);
  EXPECT_EQ(app_.Editor(), nullptr);
  EXPECT_EQ(Find<QWidget>("frmSetup"), nullptr);
  EXPECT_FALSE(app_.Entries().IsOpen());
}

TEST_F(EditorTest, EgressGoesBackToTheChooser) {
  app_.StartProgram();
  ListProjects({"My Log"});
  app_.Unload(app_.Chooser());
  Open();
  Click(Done());
  Settle();
  EXPECT_EQ(app_.Editor(), nullptr);
  ASSERT_NE(app_.Chooser(), nullptr);
  EXPECT_FALSE(app_.Entries().IsOpen());
  EXPECT_EQ(quits_, 0);
}

}  // namespace
}  // namespace quill::ui
