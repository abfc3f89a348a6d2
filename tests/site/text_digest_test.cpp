#include "site/text_digest.h"

#include <gtest/gtest.h>

namespace quill::site {
namespace {

TEST(StripMarkup, TagsAndNonBreakingSpacesBecomePlainSpaces) {
  EXPECT_EQ(StripMarkup("<p>Hello&nbsp;<b>world</b></p>"), "Hello world");
  EXPECT_EQ(StripMarkup("<b>Big news!</b> More later."), "Big news! More later.");
  EXPECT_EQ(StripMarkup("a&nbspb"), "a b");
  // Other entities, line breaks and a stray ">" outside a tag.
  EXPECT_EQ(StripMarkup("fish &amp; chips\r\nx > y"), "fish &amp; chips\r\nx y");
  EXPECT_EQ(StripMarkup("text <unclosed tag and more"), "text");
  // Two passes fold runs of up to four spaces; five leave a double space.
  EXPECT_EQ(StripMarkup("a    b"), "a b");
  EXPECT_EQ(StripMarkup("a     b"), "a  b");
  EXPECT_EQ(StripMarkup("&NBSP;"), "&NBSP;");
  EXPECT_EQ(StripMarkup(""), "");
}

TEST(ExtractEntryTitle, FirstSentenceCutAfterAWord) {
  EXPECT_EQ(ExtractEntryTitle("Today I went to the market and bought some apples. Then it rained."),
            "Today I went to the market and");
  EXPECT_EQ(ExtractEntryTitle("Big news! More later."), "Big news!");
  EXPECT_EQ(ExtractEntryTitle("  Why?  "), "Why?");
  EXPECT_EQ(ExtractEntryTitle("Well-known facts"), "Well-");
  EXPECT_EQ(ExtractEntryTitle("No mark at all here"), "No mark at all here");
}

TEST(ExtractEntryTitle, TheFirstLineWhenItEndsBeforeAnyMark) {
  EXPECT_EQ(ExtractEntryTitle("Garden diary\r\nThe beans are up. Finally."), "Garden diary");
  EXPECT_EQ(ExtractEntryTitle("Garden diary \nThe beans are up."), "Garden diary");
  EXPECT_EQ(ExtractEntryTitle("A first line that runs on and on without end\r\nmore."),
            "A first line that runs on and");
}

TEST(ExtractEntryTitle, LongWordsAreCutHardAt32Characters) {
  EXPECT_EQ(ExtractEntryTitle("Supercalifragilisticexpialidocious-ly so"),
            "Supercalifragilisticexpialidocio");
  EXPECT_EQ(ExtractEntryTitle(std::string(40, 'x')), std::string(32, 'x'));
  // Characters, not bytes: a title of accented letters is cut between letters.
  std::string accented;
  for (int i = 0; i < 40; ++i) accented += "\xC3\xA9";
  std::string expected;
  for (int i = 0; i < 32; ++i) expected += "\xC3\xA9";
  EXPECT_EQ(ExtractEntryTitle(accented), expected);
}

// A title never ends in part of a character reference: a reference the cut would split is
// left out whole, one that ends right at the cut stays, and an "&" that starts none is text.
TEST(ExtractEntryTitle, ACutNeverSplitsACharacterReference) {
  const auto x = [](std::size_t n) { return std::string(n, 'x'); };
  // Right after a whole reference: the 32 characters stand.
  EXPECT_EQ(ExtractEntryTitle(x(27) + "&amp;yyyy"), x(27) + "&amp;");
  EXPECT_EQ(ExtractEntryTitle(x(26) + "&#233;yyyy"), x(26) + "&#233;");
  // Inside one: it goes, down to its "&".
  EXPECT_EQ(ExtractEntryTitle(x(29) + "&amp;yyyy"), x(29));
  EXPECT_EQ(ExtractEntryTitle(x(28) + "&#233;yyyy"), x(28));
  EXPECT_EQ(ExtractEntryTitle(x(29) + "&#xE9;yyyy"), x(29));
  EXPECT_EQ(ExtractEntryTitle(x(31) + "&amp;"), x(31));
  EXPECT_EQ(ExtractEntryTitle("&lt;" + x(24) + "&amp;yyyy"), "&lt;" + x(24));
  // Right before one: nothing of it.
  EXPECT_EQ(ExtractEntryTitle(x(32) + "&amp;"), x(32));
  // A cut after a word that leaves the reference behind it whole.
  EXPECT_EQ(ExtractEntryTitle("Fish and chips on the pier with &amp; salt"),
            "Fish and chips on the pier with");
  EXPECT_EQ(ExtractEntryTitle("Tea and cakes at the fair &amp; more to come"),
            "Tea and cakes at the fair &amp;");
  // No reference: a stray "&" and a name without its ";" are cut like any text.
  EXPECT_EQ(ExtractEntryTitle(x(30) + "R&D,3;4"), x(30) + "R&");
  EXPECT_EQ(ExtractEntryTitle(x(29) + "&amp and more"), x(29) + "&am");
}

}  // namespace
}  // namespace quill::site
