#include "ui/editor/draft_keeper.h"

#include <QDateEdit>
#include <QTextDocument>
#include <algorithm>
#include <filesystem>

#include "support/editor_fixture.h"
#include "ui/session_end.h"
#include "ui/start/frm_enter.h"

namespace quill::ui {
namespace {

using core::Stamp;

const Stamp kMorning{2026, 12, 7, 9, 0, 0};
const Stamp kNoon{2026, 12, 7, 12, 0, 0};

class DraftTest : public testing::EditorFixture {
 protected:
  DraftTest() { clock_.Set(kMorning); }

  QPushButton* Done() { return Child<QPushButton>(editor_, "cmdDone"); }
  QString Date() { return Child<QLabel>(editor_, "Label1")->text(); }
  QLabel* Note() { return Child<QLabel>(editor_, "lblDraft"); }
  QString Shown() {
    QString text = Text()->document()->toRawText();
    return text.replace(QChar::ParagraphSeparator, '\n');
  }
  bool CaretAtEnd() { return Caret() == Text()->document()->characterCount() - 1; }
  std::string DraftFile() { return app_.Drafts().ProjectFolder("My Log") + "new-entry.txt"; }

  void Store(const Stamp& stamp, const std::string& content) {
    app_.Entries().CurrentEntry = {stamp, content};
    app_.Entries().SaveEntry();
  }
  // Review, then Blog.
  void ReviewAndBack() {
    Click(Nav(0));
    EXPECT_EQ(editor_->Mode(), 1);
    Click(Done());
    EXPECT_EQ(editor_->Mode(), 0);
  }
  void EditNewest() {
    Click(Nav(0));  // Review
    Click(Nav(1));  // Edit
    QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);
  }
  // The chooser, as Egress leaves it.
  void Egress() {
    Click(Done());
    Settle();
    ASSERT_NE(app_.Chooser(), nullptr);
    app_.Unload(app_.Chooser());
    Settle();
  }
  // Edit mode on the entry with this stamp, the caret at the end of its text.
  void EditAt(const Stamp& stamp) {
    editor_->SwitchMode(1);
    app_.Entries().SeekEntry(stamp);
    editor_->ReadBlog();
    Click(Nav(1));
    QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);
  }
  // Date, then Save on that day.
  void Redate(const QDate& day) {
    Click(Nav(2));
    QWidget* dialog = Find<QWidget>("frmDate");
    ASSERT_NE(dialog, nullptr);
    Child<QDateEdit>(dialog, "DTPicker1")->setDate(day);
    Click(Child<QPushButton>(dialog, "cmdNav_1"));
    Settle();
  }
  static std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      names.push_back(file.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void AddProject(const std::string& name) {
    app_.Project() = {};
    app_.Project().ProjectName = name;
    app_.Project().Template = dir_.File(name + "/template.html");
    app_.Project().Title = name;
    app_.Settings().LoadSettings(true);
    std::filesystem::create_directories(dir_.File(name));
    testing::WriteFile(app_.Project().Template, "BlogContent\r\n");
  }
};

TEST_F(DraftTest, ANewEntryComesBackAfterReviewEgressAndARestart) {
  Store(kMorning, "stored");
  Open();
  Type("Half a thought");
  clock_.Set(kNoon);
  ReviewAndBack();
  EXPECT_EQ(Shown(), "Half a thought");
  EXPECT_TRUE(CaretAtEnd());
  EXPECT_TRUE(Nav(1)->isEnabled());
  EXPECT_EQ(Nav(1)->text(), "Save");
  EXPECT_EQ(Date(), "Monday, December 07, 2026 @ 12:00 PM");  // the time, as usual
  EXPECT_FALSE(Note()->isVisible());

  Type(", then more");
  Egress();
  Open();
  EXPECT_EQ(Shown(), "Half a thought, then more");

  // Closing the window ends the program; the next start finds the text again.
  Type("!");
  editor_->close();
  Settle();
  EXPECT_EQ(quits_, 1);
  testing::FakeDesktopServices next_services;
  App next(registry_, clock_, next_services, app_folder_,
           QString::fromStdString(dir_.File("quillsmith.lock")), dir_.File("state/quillsmith"));
  next.SetQuitHandler([] {});
  next.OpenProject("My Log");
  frmBlog* reopened = next.OpenEditor();
  editor_ = reopened;
  EXPECT_EQ(Shown(), "Half a thought, then more!");
  EXPECT_TRUE(Nav(1)->isEnabled());
  next.CloseAllWindows(false);
  Settle();
}

TEST_F(DraftTest, SavingOrEmptyingTheTextEndsTheDraft) {
  Store(kMorning, "stored");
  Open();
  Type("Kept, then saved");
  ReviewAndBack();
  Click(Nav(1));  // Save
  EXPECT_FALSE(std::filesystem::exists(DraftFile()));
  ReviewAndBack();
  EXPECT_EQ(Shown(), "");

  Type("x");
  ReviewAndBack();
  EXPECT_TRUE(std::filesystem::exists(DraftFile()));
  QTest::keyClick(Text(), Qt::Key_Backspace);
  ReviewAndBack();
  EXPECT_EQ(Shown(), "");
  EXPECT_FALSE(std::filesystem::exists(DraftFile()));
}

TEST_F(DraftTest, EditedTextComesBackWithANoteUntilSavedOrCancelled) {
  Store(kMorning, "one");
  Store(kNoon, "two");
  Open();
  EditNewest();
  Type(" changed");
  // The window closes in edit mode; the change is there at the next Edit of that entry.
  editor_->close();
  Settle();
  Open();
  Click(Nav(0));
  EXPECT_EQ(Shown(), "two");  // review shows what is stored
  Click(Nav(0));              // the older entry has no draft
  Click(Nav(1));
  EXPECT_EQ(Shown(), "one");
  EXPECT_FALSE(Note()->isVisible());
  Click(Done());  // Cancel
  Click(Nav(2));  // back to "two"
  Click(Nav(1));
  EXPECT_EQ(Shown(), "two changed");
  EXPECT_TRUE(CaretAtEnd());
  EXPECT_TRUE(Note()->isVisible());
  EXPECT_EQ(Note()->text(), QString::fromUtf8("\u2014 unsaved changes restored"));
  EXPECT_EQ(Date(), "Monday, December 07, 2026 @ 12:00:00 PM");  // Date and Delete read it

  Click(Done());  // Cancel: the user chose
  EXPECT_FALSE(Note()->isVisible());
  EXPECT_EQ(app_.Drafts().Edit("My Log", kNoon), std::nullopt);
  Click(Nav(0));
  Click(Nav(2));
  Click(Nav(1));
  EXPECT_EQ(Shown(), "two");
  EXPECT_FALSE(Note()->isVisible());
  QTest::keyClick(Text(), Qt::Key_End, Qt::ControlModifier);

  // Changed back to what is stored, there is nothing to keep.
  Type("!");
  QTest::keyClick(Text(), Qt::Key_Backspace);
  editor_->KeepDraft();
  EXPECT_EQ(app_.Drafts().Edit("My Log", kNoon), std::nullopt);

  Type(" saved");
  editor_->KeepDraft();
  EXPECT_NE(app_.Drafts().Edit("My Log", kNoon), std::nullopt);
  Click(Nav(0));  // Save
  EXPECT_EQ(app_.Drafts().Edit("My Log", kNoon), std::nullopt);
  EditNewest();
  EXPECT_EQ(Shown(), "two saved");
  EXPECT_FALSE(Note()->isVisible());
}

TEST_F(DraftTest, ADeletedEntryTakesItsDraftAlongAndAMovedOneKeepsIt) {
  Store(kMorning, "one");
  Store(kNoon, "two");
  Open();
  EditNewest();
  Type(" moved");
  Click(Nav(2));  // Date
  QWidget* dialog = Find<QWidget>("frmDate");
  ASSERT_NE(dialog, nullptr);
  Child<QDateEdit>(dialog, "DTPicker1")->setDate(QDate(2026, 12, 1));
  Click(Child<QPushButton>(dialog, "cmdNav_1"));
  Settle();
  const Stamp moved{2026, 12, 1, 12, 0, 0};
  EXPECT_EQ(editor_->Mode(), 1);
  EXPECT_EQ(Shown(), "two");  // the stored text moved; review shows it
  Click(Nav(1));
  EXPECT_EQ(Shown(), "two moved");
  EXPECT_TRUE(Note()->isVisible());

  services_.answers = {MessageAnswer::Yes};
  Click(Child<QPushButton>(editor_, "cmdSetup"));  // Delete
  EXPECT_EQ(app_.Drafts().Edit("My Log", moved), std::nullopt);
  EXPECT_EQ(Shown(), "one");
  EXPECT_FALSE(Note()->isVisible());
}

// Changes typed a moment ago, not yet written, go along with the entry to its new day; the
// old stamp keeps nothing, so another entry moved onto it later shows only its own text.
TEST_F(DraftTest, ReDatingWithUnsavedChangesMovesTheDraftAndLeavesNothingBehind) {
  const Stamp third{2026, 12, 3, 12, 0, 0};
  Store(kMorning, "one");
  Store(kNoon, "two");
  Store(third, "three");
  Open();
  EditAt(kNoon);
  Type(" changed");  // written, if at all, only as the entry moves
  Redate(QDate(2026, 12, 1));
  const Stamp moved{2026, 12, 1, 12, 0, 0};
  EXPECT_EQ(app_.Drafts().Edit("My Log", moved), "two changed");
  EXPECT_EQ(app_.Drafts().Edit("My Log", kNoon), std::nullopt);
  EXPECT_EQ(Files(app_.Drafts().ProjectFolder("My Log")),
            std::vector<std::string>{"entry-20261201-120000.txt"});

  EditAt(third);
  Redate(QDate(2026, 12, 7));  // onto the stamp the changed entry left
  EditAt(kNoon);
  EXPECT_EQ(Shown(), "three");
  EXPECT_FALSE(Note()->isVisible());
  EditAt(moved);
  EXPECT_EQ(Shown(), "two changed");
  EXPECT_TRUE(Note()->isVisible());
}

// While drafts cannot be written the changes wait in memory, under the entry's stamp: they
// follow it to another day, and stay with it when it keeps its day.
TEST_F(DraftTest, ReDatingChangesHeldInMemoryTakesThemAlong) {
  testing::WriteFile(dir_.File("state"), "a file where the state folder belongs");
  const Stamp third{2026, 12, 3, 12, 0, 0};
  Store(kNoon, "two");
  Store(third, "three");
  Open();
  EditAt(kNoon);
  Type(" changed");
  Redate(QDate(2026, 12, 1));
  EXPECT_EQ(services_.messages.size(), 1u);
  const Stamp moved{2026, 12, 1, 12, 0, 0};
  EditAt(moved);
  EXPECT_EQ(Shown(), "two changed");
  EditAt(third);
  Redate(QDate(2026, 12, 7));
  EditAt(kNoon);
  EXPECT_EQ(Shown(), "three");
  EXPECT_FALSE(Note()->isVisible());

  EditAt(moved);
  Type(" again");
  Redate(QDate(2026, 12, 1));  // the same day
  EditAt(moved);
  EXPECT_EQ(Shown(), "two changed again");
  EditAt(moved);  // shown again from memory, nothing typed since
  Redate(QDate(2026, 12, 1));
  EditAt(moved);
  EXPECT_EQ(Shown(), "two changed again");
}

TEST_F(DraftTest, TwoProjectsNeverSeeEachOthersDrafts) {
  AddProject("Other Log");
  Store(kMorning, "other's entry");
  Open();  // My Log
  Store(kMorning, "my entry");
  Type("mine");
  EditNewest();
  Type(" edited");
  editor_->close();
  Settle();

  app_.OpenProject("Other Log");
  editor_ = app_.OpenEditor();
  EXPECT_EQ(Shown(), "");
  EditNewest();
  EXPECT_EQ(Shown(), "other's entry");
  EXPECT_FALSE(Note()->isVisible());
  Click(Done());
  Click(Done());
  Type("theirs");
  Egress();

  Open();
  EXPECT_EQ(Shown(), "mine");
  EditNewest();
  EXPECT_EQ(Shown(), "my entry edited");
}

TEST_F(DraftTest, NoBreakSpacesAndALongDraftSurviveByteForByte) {
  Store(kMorning, "stored");
  Open();
  Type(QString::fromUtf8("a\u00A0b "));
  QString big;
  for (int line = 0; big.size() < 100 * 1024; ++line) {
    big += QString::fromUtf8("line %1: caf\u00E9 \u20AC\u00A0<b>&amp;</b>\t\n").arg(line);
  }
  Text()->moveCursor(QTextCursor::End);
  Text()->insertPlainText(big);
  const QString typed = Shown();
  ReviewAndBack();
  EXPECT_EQ(testing::ReadFile(DraftFile()), typed.toStdString());
  EXPECT_TRUE(Shown() == typed) << "the text box differs after restoring";
  EXPECT_TRUE(Shown().startsWith(QString::fromUtf8("a\u00A0b line 0")));
}

TEST_F(DraftTest, ADraftThatCannotBeWrittenIsReportedOnceAndTypingGoesOn) {
  testing::WriteFile(dir_.File("state"), "a file where the state folder belongs");
  Store(kMorning, "stored");
  Open();
  Type("text");
  ReviewAndBack();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_TRUE(services_.messages[0].text.contains(QString::fromStdString(dir_.File("state"))))
      << services_.messages[0].text.toStdString();
  EXPECT_EQ(Shown(), "text");
  Type(" more");
  ReviewAndBack();
  EXPECT_EQ(Shown(), "text more");
  EXPECT_EQ(services_.messages.size(), 1u);

  // Once drafts can be written again, the next failure is worth a word again.
  std::filesystem::remove(dir_.File("state"));
  Type("!");
  ReviewAndBack();
  EXPECT_EQ(testing::ReadFile(DraftFile()), "text more!");
  std::filesystem::remove_all(dir_.File("state"));
  testing::WriteFile(dir_.File("state"), "");
  Type("?");
  ReviewAndBack();
  EXPECT_EQ(services_.messages.size(), 2u);
}

TEST_F(DraftTest, TheSessionsCommitRequestWritesTheDraftAtOnceAndASignalEndsTheProgram) {
  SessionEnd session_end(app_);
  Open();
  Type("typed just before the logout");
  EXPECT_FALSE(std::filesystem::exists(DraftFile()));  // not yet due
  session_end.CommitData();
  EXPECT_EQ(testing::ReadFile(DraftFile()), "typed just before the logout");
  EXPECT_EQ(quits_, 0);  // the session manager ends the program when it is ready

  Type(", and more");
  session_end.EndNow();
  EXPECT_EQ(testing::ReadFile(DraftFile()), "typed just before the logout, and more");
  EXPECT_EQ(quits_, 1);
  EXPECT_EQ(app_.Editor(), nullptr);
}

}  // namespace
}  // namespace quill::ui
