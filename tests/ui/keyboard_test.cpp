// The main window driven from the keyboard and read by a screen reader.

#include <QAccessible>
#include <QKeySequence>
#include <QLineEdit>

#include "support/editor_fixture.h"
#include "ui/editor/frm_lst.h"
#include "ui/editor/frm_url.h"

namespace quill::ui {
namespace {

class KeyboardTest : public testing::EditorFixture {
 protected:
  KeyboardTest() {
    Open();
    editor_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(editor_));
    Text()->setFocus();
  }

  static void Press(QWidget* widget, const char* keys) {
    const QKeyCombination combination = QKeySequence(keys)[0];
    QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
  }
  static QString AccessibleName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
  }
};

TEST_F(KeyboardTest, EachShortcutDoesWhatItsLabelsClickDoes) {
  const std::pair<int, const char*> wrapping[] = {{0, "Ctrl+B"},  {1, "Ctrl+U"},  {2, "Ctrl+I"},
                                                  {11, "Ctrl+1"}, {12, "Ctrl+2"}, {13, "Ctrl+3"}};
  for (const auto& [index, keys] : wrapping) {
    SetText("say hello", 4, 9);
    ClickCode(index);
    const QString clicked = Text()->toPlainText();
    const int caret = Caret();
    SetText("say hello", 4, 9);
    Press(Text(), keys);
    EXPECT_EQ(Text()->toPlainText(), clicked) << keys;
    EXPECT_EQ(Caret(), caret) << keys;
    EXPECT_TRUE(Code(index)->toolTip().endsWith(QString(" (%1)").arg(keys))) << keys;
  }
  EXPECT_EQ(Code(0)->toolTip(), "Bold (Ctrl+B)");
  EXPECT_EQ(Code(5)->toolTip(), "Insert Image (Ctrl+Shift+I)");
  EXPECT_EQ(Code(3)->toolTip(), "Font size and color");  // no keys of its own

  // Ctrl+K opens the link dialog with the selection as the text to show, as a click does;
  // the text box does not take the key for itself.
  SetText("our site", 4, 8);
  Press(Text(), "Ctrl+K");
  EXPECT_EQ(Text()->toPlainText(), "our site");
  auto* link = Find<frmURL>("frmURL");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(Child<QLineEdit>(link, "Text2")->text(), "site");
}

TEST_F(KeyboardTest, ListAndImageShortcutsOpenTheirDialogs) {
  Press(Text(), "Ctrl+L");
  EXPECT_NE(Find<frmLst>("frmLst"), nullptr);
  editor_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(editor_));
  Press(Text(), "Ctrl+Shift+I");
  EXPECT_NE(Find<QWidget>("frmIMG"), nullptr);
}

TEST_F(KeyboardTest, CtrlSSavesOnlyWhereSaveIsEnabled) {
  Press(Text(), "Ctrl+S");  // nothing typed: Save is blank
  EXPECT_EQ(app_.Entries().EntryCount(), 0);
  Type("first entry");
  Press(Text(), "Ctrl+S");
  EXPECT_EQ(app_.Entries().EntryCount(), 1);

  Click(Nav(0));  // Review: no Save button
  ASSERT_EQ(editor_->Mode(), 1);
  Press(Nav(0), "Ctrl+S");
  EXPECT_EQ(editor_->Mode(), 1);

  Click(Nav(1));  // Edit: Save is the first button
  ASSERT_EQ(editor_->Mode(), 2);
  Text()->setFocus();
  Press(Text(), "Ctrl+End");
  QTest::keyClicks(Text(), " changed");
  Press(Text(), "Ctrl+S");
  EXPECT_EQ(editor_->Mode(), 0);  // as a click on Save
  app_.Entries().SeekEntry({2026, 12, 7, 9, 0, 0});
  EXPECT_EQ(app_.Entries().CurrentEntry.Content, "first entry changed");
  EXPECT_EQ(app_.Entries().EntryCount(), 1);
}

TEST_F(KeyboardTest, LabelsAndButtonsHaveNamesAndTabFollowsTheLayout) {
  EXPECT_EQ(AccessibleName(Code(0)), "Bold");
  EXPECT_EQ(AccessibleName(Code(14)), "Edit HTML Code");
  EXPECT_EQ(AccessibleName(Child<QLabel>(editor_, "lblHome_2")), "Help");
  EXPECT_EQ(AccessibleName(Text()), "Entry text");
  for (QLabel* label : editor_->findChildren<QLabel*>()) {
    EXPECT_FALSE(AccessibleName(label).isEmpty()) << label->objectName().toStdString();
  }
  for (QPushButton* button : editor_->findChildren<QPushButton*>()) {
    if (!button->text().isEmpty()) {
      EXPECT_EQ(AccessibleName(button), button->text());
    }
  }

  std::vector<QString> order;
  QWidget* widget = Text();
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) != 0 && editor_->isAncestorOf(widget)) {
      order.push_back(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  } while (widget != Text());
  // From the text: the buttons, then round to the top: the home links, the toolbar's labels.
  EXPECT_EQ(order,
            (std::vector<QString>{
                "Rtf",       "cmdNav_0",  "cmdNav_1",   "cmdNav_2",   "cmdNav_3",   "cmdSetup",
                "cmdDone",   "lblHome_0", "lblHome_1",  "lblHome_2",  "lblCode_14", "lblCode_0",
                "lblCode_1", "lblCode_2", "lblCode_11", "lblCode_12", "lblCode_13", "lblCode_16",
                "lblCode_8", "lblCode_9", "lblCode_10", "lblCode_7",  "lblCode_3",  "lblCode_4",
                "lblCode_5", "lblCode_6", "lblCode_15"}));
  // Tab types a tab in the text box; Ctrl+Tab leaves it for the first enabled button, and
  // Ctrl+Shift+Tab for the toolbar's last label just above it.
  Text()->setFocus();
  Press(Text(), "Ctrl+Tab");
  EXPECT_EQ(QApplication::focusWidget(), Nav(0));
  Text()->setFocus();
  Press(Text(), "Ctrl+Shift+Tab");
  EXPECT_EQ(QApplication::focusWidget(), Code(15));
  EXPECT_EQ(Text()->toPlainText(), "");
}

TEST_F(KeyboardTest, SpaceOrEnterOnAFocusedLabelDoesWhatItsClickDoes) {
  SetText("say hello", 4, 9);
  Code(0)->setFocus();
  Press(Code(0), "Space");
  EXPECT_EQ(Text()->toPlainText(), "say <strong>hello</strong>");
  EXPECT_EQ(QApplication::focusWidget(), Text());  // back to writing
  Code(10)->setFocus();
  Press(Code(10), "Return");
  EXPECT_TRUE(Text()->toPlainText().contains("<hr size=\"1\" />"));
  services_.open_failure.clear();
  auto* help = Child<QLabel>(editor_, "lblHome_2");
  help->setFocus();
  Press(help, "Enter");
  EXPECT_EQ(services_.opened.size(), 1u);
}

}  // namespace
}  // namespace quill::ui
