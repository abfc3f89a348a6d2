// The find bar of the main window: counting, stepping, matching rules and replacing.

#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "support/editor_fixture.h"

namespace quill::ui {
namespace {

class FindBarTest : public testing::EditorFixture {
 protected:
  FindBarTest() {
    Open();
    editor_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(editor_));
  }

  static void Press(QWidget* widget, const char* keys) {
    const QKeyCombination combination = QKeySequence(keys)[0];
    QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
  }
  QWidget* Bar() { return Child<QWidget>(editor_, "findBar"); }
  QLineEdit* FindField() { return Child<QLineEdit>(editor_, "txtFind"); }
  QLineEdit* ReplaceField() { return Child<QLineEdit>(editor_, "txtReplace"); }
  QString Count() { return Child<QLabel>(editor_, "lblFound")->text(); }
  QString Selected() { return Text()->textCursor().selectedText(); }
  int SelectionStart() { return Text()->textCursor().selectionStart(); }
  QPushButton* Button(const char* name) { return Child<QPushButton>(editor_, name); }

  // Opens the bar with `keys` from the text box and types `needle` into the find field.
  void Search(const char* keys, const QString& needle) {
    Text()->setFocus();
    Press(Text(), keys);
    FindField()->clear();
    QTest::keyClicks(FindField(), needle);
  }
};

TEST_F(FindBarTest, CountsAndStepsThroughTheMatchesBothWaysAroundTheText) {
  SetText("one two One three one", 0, 0);
  Search("Ctrl+F", "one");
  ASSERT_TRUE(Bar()->isVisible());
  EXPECT_EQ(Count(), "1 of 3");
  EXPECT_EQ(SelectionStart(), 0);
  Press(FindField(), "Return");
  EXPECT_EQ(Count(), "2 of 3");
  EXPECT_EQ(Selected(), "One");
  Press(FindField(), "F3");
  EXPECT_EQ(SelectionStart(), 18);
  Press(FindField(), "F3");  // past the last: back to the first
  EXPECT_EQ(Count(), "1 of 3");
  EXPECT_EQ(SelectionStart(), 0);
  Press(FindField(), "Shift+Return");  // before the first: the last
  EXPECT_EQ(Count(), "3 of 3");
  Press(FindField(), "Shift+F3");
  EXPECT_EQ(Count(), "2 of 3");
  QTest::mouseClick(Child<QToolButton>(editor_, "cmdFindNext"), Qt::LeftButton);
  EXPECT_EQ(Count(), "3 of 3");

  FindField()->clear();
  QTest::keyClicks(FindField(), "four");
  EXPECT_EQ(Count(), "No matches");
  Press(FindField(), "Escape");
  EXPECT_FALSE(Bar()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Text());
}

TEST_F(FindBarTest, MatchCaseAndWholeWordsEachNarrowTheMatches) {
  SetText("Tom met tom at the tomato stall", 0, 0);
  Search("Ctrl+F", "tom");
  EXPECT_EQ(Count(), "1 of 3");
  Child<QCheckBox>(editor_, "chkCase")->click();
  EXPECT_EQ(Count(), "1 of 2");
  EXPECT_EQ(SelectionStart(), 8);
  Child<QCheckBox>(editor_, "chkWords")->click();
  EXPECT_EQ(Count(), "1 of 1");
  Child<QCheckBox>(editor_, "chkCase")->click();
  Press(FindField(), "Return");
  EXPECT_EQ(Count(), "1 of 2");  // Tom and tom, never the tomato
  EXPECT_EQ(SelectionStart(), 0);
}

TEST_F(FindBarTest, ReplacingEditsTheTextAsTypingDoesAndReplaceAllIsOneUndoStep) {
  Type("a cat, a cat & a cat");
  ASSERT_EQ(Text()->toPlainText(), "a cat, a cat &amp; a cat");
  Select(0, 0);
  Search("Ctrl+H", "cat");
  QTest::keyClicks(ReplaceField(), "dog&pup");
  EXPECT_EQ(ReplaceField()->text(), "dog&amp;pup");  // typed as the text box takes it

  Button("cmdReplace")->click();  // the first cat was selected: replaced, and on to the next
  EXPECT_EQ(Text()->toPlainText(), "a dog&amp;pup, a cat &amp; a cat");
  EXPECT_EQ(Count(), "1 of 2");
  EXPECT_EQ(SelectionStart(), 17);

  Button("cmdReplaceAll")->click();
  EXPECT_EQ(Text()->toPlainText(), "a dog&amp;pup, a dog&amp;pup &amp; a dog&amp;pup");
  EXPECT_EQ(Count(), "2 replaced");
  Text()->undo();
  EXPECT_EQ(Text()->toPlainText(), "a dog&amp;pup, a cat &amp; a cat");

  // Only spaces left: Save goes blank, as it does when the text is typed away.
  SetText("cat", 0, 0);
  FindField()->setText("cat");
  ReplaceField()->setText("   ");
  ASSERT_EQ(Nav(1)->text(), "Save");
  Button("cmdReplaceAll")->click();
  EXPECT_EQ(Nav(1)->text(), "");
  EXPECT_FALSE(Nav(1)->isEnabled());
}

TEST_F(FindBarTest, InReviewFindWorksButNothingCanBeReplaced) {
  Type("the entry under review");
  Click(Nav(1));  // Save
  Click(Nav(0));  // Review
  ASSERT_EQ(editor_->Mode(), 1);
  Press(editor_, "Ctrl+H");
  QTest::keyClicks(FindField(), "review");
  EXPECT_EQ(Count(), "1 of 1");
  EXPECT_EQ(Selected(), "review");
  EXPECT_FALSE(ReplaceField()->isEnabled());
  EXPECT_FALSE(Button("cmdReplaceAll")->isEnabled());
  Button("cmdReplaceAll")->click();
  EXPECT_EQ(Text()->toPlainText(), "the entry under review");

  Click(Nav(1));  // Edit: replacing is on again
  EXPECT_TRUE(ReplaceField()->isEnabled());
  EXPECT_TRUE(Button("cmdReplace")->isEnabled());
}

}  // namespace
}  // namespace quill::ui
