#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "support/editor_fixture.h"

namespace quill::ui {
namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

class ToolbarTest : public testing::EditorFixture {
 protected:
  ToolbarTest() { Open(); }
};

TEST_F(ToolbarTest, SeventeenLabelsInTheirOrder) {
  const std::vector<int> order = {14, 0, 1, 2, 11, 12, 13, 16, 8, 9, 10, 7, 3, 4, 5, 6, 15};
  std::vector<std::pair<int, QString>> shown;
  for (int index : order) shown.emplace_back(Code(index)->x(), Code(index)->text());
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
  EXPECT_EQ(Code(14)->text(), "html");
  EXPECT_EQ(Code(16)->toolTip(), "blockquote");
  EXPECT_EQ(Code(7)->toolTip(), "Blank line");
  EXPECT_EQ(Code(0)->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ToolbarTest, WrappingPutsTheCaretBetweenTheTagsOnlyWithoutASelection) {
  SetText("abcdef", 6, 6);
  ClickCode(0);
  EXPECT_EQ(Text()->toPlainText(), "abcdef<strong></strong>");
  EXPECT_EQ(Caret(), 14);
  EXPECT_FALSE(HasSelection());

  SetText("say hello", 4, 9);
  ClickCode(0);
  EXPECT_EQ(Text()->toPlainText(), "say <strong>hello</strong>");
  EXPECT_EQ(Caret(), 26);

  SetText("", 0, 0);
  ClickCode(12);
  EXPECT_EQ(Text()->toPlainText(), "<h2></h2>");
  EXPECT_EQ(Caret(), 4);

  SetText("x", 1, 1);
  ClickCode(16);
  EXPECT_EQ(Text()->toPlainText(), "x<blockquote></blockquote>");
  EXPECT_EQ(Caret(), 13);

  SetText("word", 0, 4);
  ClickCode(2);
  EXPECT_EQ(Text()->toPlainText(), "<i>word</i>");
  EXPECT_EQ(Caret(), 11);
}

TEST_F(ToolbarTest, HorizontalLineReplacesAndBlankLineFollowsTheSelection) {
  SetText("one two", 4, 7);
  ClickCode(10);
  EXPECT_EQ(Text()->toPlainText(), "one <hr size=\"1\" />");
  EXPECT_EQ(Caret(), 19);

  SetText("abc", 0, 3);
  ClickCode(7);
  EXPECT_EQ(Text()->toPlainText(), "abc&nbsp;<br />");
  EXPECT_EQ(Caret(), 15);
  EXPECT_FALSE(HasSelection());
}

TEST_F(ToolbarTest, InReviewModeAClickOnlyNotesTheSelection) {
  testing::EditorFixture::Type("saved");
  Click(Nav(1));
  Click(Nav(0));  // review
  ASSERT_EQ(editor_->Mode(), 1);
  app_.SelectionWasEmpty = false;
  const QString before = Text()->toPlainText();
  editor_->ToolbarClick(0);
  EXPECT_TRUE(app_.SelectionWasEmpty);
  EXPECT_EQ(Text()->toPlainText(), before);
  EXPECT_TRUE(Code(0)->isHidden() || !Code(0)->isVisible());
}

TEST_F(ToolbarTest, TypedSpecialCharactersBecomeEntities) {
  Type("a&b");
  EXPECT_EQ(Text()->toPlainText(), "a&amp;b");
  EXPECT_EQ(Caret(), 7);
  Type("<>\"7");
  EXPECT_EQ(Text()->toPlainText(), "a&amp;b&lt;&gt;&quot;7");

  // Shift+7 on a layout where it types "/" gives "/".
  QKeyEvent slash(QEvent::KeyPress, Qt::Key_7, Qt::ShiftModifier, "/");
  QApplication::sendEvent(Text(), &slash);
  EXPECT_TRUE(Text()->toPlainText().endsWith("7/"));

  // A character composed by an input method is typed like any other.
  QInputMethodEvent composed;
  composed.setCommitString("\"");
  QApplication::sendEvent(Text(), &composed);
  EXPECT_TRUE(Text()->toPlainText().endsWith("7/&quot;"));
  EXPECT_TRUE(Nav(1)->isEnabled());
}

TEST_F(ToolbarTest, HighlightColoursTagInsidesOnly) {
  SetText("a <b>c</b> d", 5, 5);
  editor_->Highlight();
  const QString text = Text()->toPlainText();
  for (int i = 0; i < text.size(); ++i) {
    const bool inside = i == 3 || i == 7 || i == 8;  // b, /, b
    EXPECT_EQ(ColourAt(i), inside ? kRed : kBlack)
        << "at " << i << " '" << text[i].toLatin1() << "'";
  }
  EXPECT_EQ(Caret(), 5);
  EXPECT_FALSE(HasSelection());

  // The very first character counts too, and a tag may run over lines.
  SetText("<p\nclass=x>y", 0, 0);
  editor_->Highlight();
  EXPECT_EQ(ColourAt(0), kBlack);
  EXPECT_EQ(ColourAt(1), kRed);
  EXPECT_EQ(ColourAt(4), kRed);     // "class" on the next line
  EXPECT_EQ(ColourAt(11), kBlack);  // y

  // A "<" with no ">" after it colours nothing, on its line or later ones.
  SetText("x < y\n<b z", 0, 0);
  editor_->Highlight();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ColourAt(i), kBlack) << i;
}

TEST_F(ToolbarTest, SaveFollowsTheTextWhileTyping) {
  Type("  ");
  EXPECT_FALSE(Nav(1)->isEnabled());
  Type("a");
  EXPECT_TRUE(Nav(1)->isEnabled());
  for (int i = 0; i < 3; ++i) QTest::keyClick(Text(), Qt::Key_Backspace);
  EXPECT_FALSE(Nav(1)->isEnabled());
  EXPECT_EQ(Nav(1)->text(), "");
}

TEST_F(ToolbarTest, ColorMeGivesTheLabelsTheFontColourButHtmlAndFile) {
  app_.Project().FontColor = 255;     // red
  app_.Project().Shading = 0xFF0000;  // blue
  editor_->ColorMe();
  EXPECT_EQ(editor_->palette().color(QPalette::Window), QColor(0, 0, 255));
  for (int i = 0; i <= 16; ++i) {
    const QColor colour = Code(i)->palette().color(QPalette::WindowText);
    if (i == 14 || i == 15) {
      EXPECT_EQ(colour, editor_->palette().color(QPalette::WindowText)) << i;
    } else {
      EXPECT_EQ(colour, kRed) << i;
    }
  }
}

// In a project with the HTML5 style a block gets a line of its own, so that the pages put
// only text in paragraphs; inline tags stay where the selection is.
TEST_F(ToolbarTest, Html5ProjectsGetRulesQuotesAndHeadingsOnLinesOfTheirOwn) {
  app_.Project().Html5 = 1;
  SetText("one two", 4, 4);
  ClickCode(10);
  EXPECT_EQ(Text()->toPlainText(), "one \n<hr>\ntwo");
  EXPECT_EQ(Caret(), 10);  // at the start of the line after the rule

  SetText("abc", 3, 3);
  ClickCode(10);  // nothing follows: no line after it
  EXPECT_EQ(Text()->toPlainText(), "abc\n<hr>");
  SetText("abc\n", 4, 4);
  ClickCode(10);  // a line of its own already: nothing added
  EXPECT_EQ(Text()->toPlainText(), "abc\n<hr>");

  SetText("ab", 1, 1);
  ClickCode(16);
  EXPECT_EQ(Text()->toPlainText(), "a\n<blockquote></blockquote>\nb");
  EXPECT_EQ(Caret(), 14);  // between the tags

  SetText("x\ny", 0, 3);
  ClickCode(16);  // several lines: each stays a paragraph inside the quote
  EXPECT_EQ(Text()->toPlainText(), "<blockquote>\nx\ny\n</blockquote>");

  SetText("say hi now", 4, 6);
  ClickCode(12);
  EXPECT_EQ(Text()->toPlainText(), "say \n<h2>hi</h2>\n now");

  SetText("say hi now", 4, 6);
  ClickCode(0);
  EXPECT_EQ(Text()->toPlainText(), "say <strong>hi</strong> now");

  SetText("abc", 0, 3);
  ClickCode(7);
  EXPECT_EQ(Text()->toPlainText(), "abc&nbsp;<br>");

  app_.Project().Html5 = 0;  // switched off: the classic markup again
  SetText("one two", 4, 4);
  ClickCode(10);
  EXPECT_EQ(Text()->toPlainText(), "one <hr size=\"1\" />two");
}

}  // namespace
}  // namespace quill::ui
