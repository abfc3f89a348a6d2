// Counting the words a reader sees, and the count beside the date label.

#include "support/editor_fixture.h"
#include "ui/editor/entry_words.h"

namespace quill::ui {
namespace {

TEST(CountWords, CountsWhatAReaderSeesBetweenSpaces) {
  EXPECT_EQ(CountWords(""), 0);
  EXPECT_EQ(CountWords("  one\ttwo\nthree  "), 3);
  EXPECT_EQ(CountWords("<b>wo</b>rd, <a href=\"http://example.org/a b c\">link</a>"), 2);
  EXPECT_EQ(CountWords("<p>one</p><p>two</p>one<br />two"), 4);
  EXPECT_EQ(CountWords("don't well-known 3.5 \u2014 &mdash; &amp; !"), 3);
  EXPECT_EQ(CountWords("cr&egrave;me one&nbsp;two"), 3);
  EXPECT_EQ(CountWords("a < b"), 2);  // a '<' with no '>' after it is no tag
  EXPECT_EQ(CountWords(QString(100'000, QLatin1Char('x'))), 1);
}

class WordCountTest : public testing::EditorFixture {};

TEST_F(WordCountTest, TheLabelFollowsTheTextInEveryMode) {
  Open();
  QLabel* count = Child<QLabel>(editor_, "lblWords");
  EXPECT_EQ(count->text(), "0 words");
  Type("Hello");
  EXPECT_EQ(count->text(), "1 word");
  Type(" <world>\nagain");
  EXPECT_EQ(count->text(), "3 words");
  Click(Nav(1));  // Save
  EXPECT_EQ(count->text(), "0 words");
  Click(Nav(0));  // Review shows the saved entry
  EXPECT_EQ(count->text(), "3 words");
  EXPECT_EQ(count->accessibleName(), "Word count");
}

}  // namespace
}  // namespace quill::ui
