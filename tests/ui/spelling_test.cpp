// Spell checking in the text box, with the small dictionary of the tests.

#include <QMenu>

#include "spell/dictionaries.h"
#include "support/editor_fixture.h"
#include "support/test_dictionary.h"
#include "ui/editor/entry_spelling.h"
#include "ui/editor/markup_highlighter.h"

namespace quill::ui {
namespace {

using testing::TestDictionary;

class SpellingTest : public testing::EditorFixture {
 protected:
  SpellingTest() { app_.Settings().SetProjectValue("SpellLanguage", TestDictionary::kLanguage); }

  bool Underlined(int position) {
    const QTextBlock block = Text()->document()->findBlock(position);
    const int offset = position - block.position();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
      if (offset >= range.start && offset < range.start + range.length) {
        return range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline;
      }
    }
    return false;
  }
  // Where the text box underlines, as the offsets of the characters.
  std::vector<int> UnderlinedAt() {
    std::vector<int> at;
    for (int i = 0; i < Text()->document()->characterCount() - 1; ++i) {
      if (Underlined(i)) at.push_back(i);
    }
    return at;
  }
  // The text box's menu for a right click on the character at `position`.
  std::unique_ptr<QMenu> MenuOn(int position) {
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(position);
    const QPoint at = Text()->cursorRect(cursor).center() + QPoint(1, 0);
    return std::unique_ptr<QMenu>(Text()->findChild<EntrySpelling*>("spelling")->MenuAt(at));
  }
  static QAction* Action(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
      if (action->text() == text) return action;
    }
    return nullptr;
  }

  TestDictionary dictionary_;
};

TEST_F(SpellingTest, UnknownWordsAreUnderlinedAndNothingInTagsAddressesOrReferences) {
  Open();
  // Markup as pasted (typed, "<" would become "&lt;").
  Text()->setPlainText(
      "<a href=\"tomatos.html\">tomatos</a> cr&egrave;me http://tomatos.example <b>wr</b>od");
  std::vector<int> expected;
  for (int i = 23; i < 30; ++i) expected.push_back(i);   // the link's text
  for (int i : {74, 75, 80, 81}) expected.push_back(i);  // "wrod", its markup left out
  EXPECT_EQ(UnderlinedAt(), expected);
  EXPECT_EQ(ColourAt(4), QColor(255, 0, 0));  // the tags keep their colour
}

TEST_F(SpellingTest, AnEntryLongerThanTheLimitIsNotChecked) {
  Open();
  const QString line = QString(999, ' ') + '\n';
  const QString padding = line.repeated(MarkupHighlighter::kLongestChecked / 1000 - 1);
  for (const auto& [tail, checked] :
       {std::pair{QString(993, ' '), true}, {QString(994, ' '), false}}) {
    Text()->setPlainText("tomatos" + padding + tail);
    EXPECT_EQ(Text()->document()->characterCount() - 1 <= MarkupHighlighter::kLongestChecked,
              checked);
    EXPECT_EQ(Underlined(0), checked);
  }
}

TEST_F(SpellingTest, OnlyTextThatCanBeEditedIsChecked) {
  Open();
  Type("tomatos");
  EXPECT_EQ(UnderlinedAt(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  Click(Nav(1));  // Save
  Click(Nav(0));  // Review
  EXPECT_FALSE(Underlined(0));
  EXPECT_EQ(Action(*MenuOn(1), "Ignore"), nullptr);
  Click(Nav(1));  // Edit
  EXPECT_TRUE(Underlined(0));
}

TEST_F(SpellingTest, ASuggestionReplacesTheWordAsTypingWould) {
  Open();
  Text()->setPlainText("the <i>tomatos</i> are red");
  std::unique_ptr<QMenu> menu = MenuOn(9);
  const QList<QAction*> actions = menu->actions();
  ASSERT_NE(Action(*menu, "tomatoes"), nullptr);
  int suggestions = 0;
  while (suggestions < actions.size() && !actions[suggestions]->isSeparator()) ++suggestions;
  EXPECT_LE(suggestions, 7);
  EXPECT_NE(Action(*menu, "Add to dictionary"), nullptr);
  EXPECT_NE(Action(*menu, "Ignore"), nullptr);
  EXPECT_GT(actions.size(), suggestions + 4);  // the usual edit actions stay
  Action(*menu, "tomatoes")->trigger();
  EXPECT_EQ(Text()->toPlainText(), "the <i>tomatoes</i> are red");
  EXPECT_FALSE(Underlined(9));
  EXPECT_EQ(Nav(1)->text(), "Save");
  EXPECT_TRUE(Nav(1)->isEnabled());
  // A word the dictionary knows gets no spelling actions.
  EXPECT_EQ(Action(*MenuOn(1), "Ignore"), nullptr);
}

TEST_F(SpellingTest, AddedWordsStayAfterARestartIgnoredOnesForTheSession) {
  Open();
  Type("Quillsmith wrod");
  Action(*MenuOn(1), "Add to dictionary")->trigger();
  Action(*MenuOn(12), "Ignore")->trigger();
  EXPECT_EQ(UnderlinedAt(), std::vector<int>{});
  spell::Dictionaries restarted;
  const auto checker = restarted.Open(TestDictionary::kLanguage);
  EXPECT_TRUE(checker->Knows("Quillsmith"));
  EXPECT_FALSE(checker->Knows("wrod"));
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(SpellingTest, AListThatCannotBeWrittenAndADictionaryThatFailsAreTold) {
  Open();
  Type("wrod");
  testing::WriteFile(dictionary_.Folder().File("plain-file"), "");
  TestDictionary::Point(dictionary_.Folder().File("plain-file/enchant"));
  Action(*MenuOn(1), "Add to dictionary")->trigger();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.contains("plain-file/enchant/qs_TEST.dic"));
  EXPECT_FALSE(Underlined(1));  // kept for the session all the same

  app_.Project().SpellLanguage = "zz_NOPE";
  editor_->FollowSpelling();
  QCoreApplication::processEvents();
  ASSERT_EQ(services_.messages.size(), 2u);
  EXPECT_TRUE(services_.messages[1].text.contains("zz_NOPE"));
  EXPECT_FALSE(Underlined(1));
  Type(" more");
  editor_->FollowSpelling();
  QCoreApplication::processEvents();
  EXPECT_EQ(services_.messages.size(), 2u);  // told once
}

}  // namespace
}  // namespace quill::ui
