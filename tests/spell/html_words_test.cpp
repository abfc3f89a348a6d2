#include "spell/html_words.h"

#include <gtest/gtest.h>

#include "core/utf8.h"

namespace quill::spell {
namespace {

std::vector<Word> WordsOf(std::u16string_view line, bool inside = false) {
  return FindWords(line, FindTags(line, inside, [] { return true; }));
}

std::vector<std::string> Texts(std::u16string_view line, bool inside = false) {
  std::vector<std::string> texts;
  for (const Word& word : WordsOf(line, inside)) texts.push_back(word.Utf8());
  return texts;
}

using Texts_ = std::vector<std::string>;

TEST(HtmlWordsTest, OnlyTheTextBetweenTagsIsChecked) {
  EXPECT_EQ(Texts(u"<a href=\"tomatos.html\" title=\"tomatos\">Tomatos</a> here"),
            (Texts_{"Tomatos", "here"}));
  // A tag begun on a line before, and one that goes on past this line.
  EXPECT_EQ(Texts(u"title=\"tomatos\">word <img alt=\"tomatos", true), (Texts_{"word"}));
  // A '<' with no '>' after it anywhere is a plain character.
  const std::u16string line = u"a<b tomatos";
  EXPECT_EQ(FindWords(line, FindTags(line, false, [] { return false; })).size(), 3u);
}

TEST(HtmlWordsTest, ReferencesAreReadAsTheCharactersTheyName) {
  const std::vector<Word> words = WordsOf(u"cr&egrave;me AT&amp;T don&rsquo;t a&nbsp;b &bogus;");
  ASSERT_EQ(words.size(), 7u);
  EXPECT_EQ(words[0].Utf8(), "crème");
  EXPECT_EQ(words[0].places.size(), 5u);
  EXPECT_EQ(words[0].places[2].from, 2);
  EXPECT_EQ(words[0].places[2].to, 10);
  EXPECT_EQ(words[1].Utf8(), "AT");  // "&amp;" is the ampersand, which no word holds
  EXPECT_EQ(words[2].Utf8(), "T");
  EXPECT_EQ(words[3].Utf8(), "don\u2019t");
  EXPECT_EQ(words[4].Utf8(), "a");  // a no-break space parts words
  EXPECT_EQ(words[5].Utf8(), "b");
  EXPECT_EQ(words[6].Utf8(), "bogus");  // not a reference: its letters are a word
}

TEST(HtmlWordsTest, InlineMarkupKeepsAWordWholeWhileOtherTagsPartIt) {
  const std::vector<Word> words = WordsOf(u"<b>wo</b>rd wo<br>rd wo</p>rd");
  ASSERT_EQ(words.size(), 5u);
  EXPECT_EQ(words[0].Utf8(), "word");
  const std::vector<Place> stretches = words[0].Stretches();
  ASSERT_EQ(stretches.size(), 2u);
  EXPECT_EQ(stretches[0].from, 3);
  EXPECT_EQ(stretches[0].to, 5);
  EXPECT_EQ(stretches[1].from, 9);
  EXPECT_EQ(stretches[1].to, 11);
  EXPECT_EQ(words[1].Utf8(), "wo");
  EXPECT_EQ(words[2].Utf8(), "rd");
}

TEST(HtmlWordsTest, AddressesAreNotChecked) {
  EXPECT_EQ(Texts(u"see http://tomatos.example/tomatos, (www.tomatos.example) "
                  u"ann@tomatos.example mailto:tomatos and ftp://x"),
            (Texts_{"see", "and"}));
  // The address is the run between spaces, inline markup and references included.
  EXPECT_EQ(Texts(u"<i>ann</i>&#64;tomatos.example here"), (Texts_{"here"}));
}

TEST(HtmlWordsTest, ApostrophesAndHyphensBetweenLettersBelongToTheWord) {
  EXPECT_EQ(Texts(u"don't 'quoted' well-known -dash- end. hy\u00ADphen"),
            (Texts_{"don't", "quoted", "well-known", "dash", "end", "hyphen"}));
}

TEST(HtmlWordsTest, NumbersAndOverlongRunsAreNoWords) {
  EXPECT_EQ(Texts(u"3rd h2o 3.5 fine"), (Texts_{"fine"}));
  const std::u16string fifty(50, u'a');
  const std::u16string long_run(100000, u'a');
  EXPECT_EQ(WordsOf(fifty).size(), 1u);
  EXPECT_EQ(WordsOf(fifty + u"a").size(), 0u);
  EXPECT_EQ(WordsOf(long_run + u" word").size(), 1u);
}

TEST(HtmlWordsTest, LettersBeyondAsciiAndSignsBetweenWords) {
  // A letter outside the basic plane takes two units; a dash or an emoji parts words.
  const std::vector<Word> words = WordsOf(u"\U0001D49Cb\u2014Straße \U0001F600über");
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].places.back().to, 3);
  EXPECT_EQ(words[1].Utf8(), "Straße");
  EXPECT_EQ(words[2].Utf8(), "über");
}

TEST(HtmlWordsTest, AReplacementChangesOnlyWhatDiffers) {
  const auto edit = [](std::u16string_view line, const char* replacement) {
    return ReplacementFor(WordsOf(line).front(), replacement);
  };
  // The markup inside the word stays where it is.
  Edit e = edit(u"<b>wo</b>rd", "world");
  EXPECT_EQ(e.from, 10);
  EXPECT_EQ(e.to, 10);
  EXPECT_EQ(e.text, "l");
  e = edit(u"cr&egrave;mme", "crème");
  EXPECT_EQ(e.from, 11);
  EXPECT_EQ(e.to, 12);
  EXPECT_EQ(e.text, "");
  e = edit(u"tomatos", "tomatoes");
  EXPECT_EQ(e.from, 6);
  EXPECT_EQ(e.to, 6);
  EXPECT_EQ(e.text, "e");
  e = edit(u"teh", "the");
  EXPECT_EQ(e.from, 1);
  EXPECT_EQ(e.to, 3);
  EXPECT_EQ(e.text, "he");
  e = edit(u"wordd", "word");  // the same letters at both ends are not counted twice
  EXPECT_EQ(e.to - e.from, 1);
  EXPECT_EQ(e.text, "");
}

}  // namespace
}  // namespace quill::spell
