#include "spell/dictionaries.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/quill_error.h"
#include "support/test_dictionary.h"

namespace quill::spell {
namespace {

using testing::TestDictionary;

bool Has(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

TEST(DictionariesTest, ListsAndOpensTheInstalledDictionaries) {
  TestDictionary test;
  Dictionaries dictionaries;
  EXPECT_TRUE(Has(dictionaries.Languages(), TestDictionary::kLanguage));
  const std::unique_ptr<SpellChecker> checker = dictionaries.Open(TestDictionary::kLanguage);
  EXPECT_TRUE(checker->Knows("tomatoes"));
  EXPECT_TRUE(checker->Knows("crème"));
  EXPECT_FALSE(checker->Knows("tomatos"));
  EXPECT_FALSE(checker->Knows("tomatos"));  // the second answer from what the first found
  EXPECT_TRUE(Has(checker->Suggestions("tomatos", 7), "tomatoes"));
  EXPECT_EQ(checker->Suggestions("tomatos", 1).size(), 1u);
  try {
    dictionaries.Open("zz_NOPE");
    FAIL() << "opened a dictionary that is not there";
  } catch (const core::QuillError& error) {
    EXPECT_NE(std::string(error.what()).find("zz_NOPE"), std::string::npos) << error.what();
  }
}

TEST(DictionariesTest, AddedWordsStayForGoodAndIgnoredOnesForTheSession) {
  TestDictionary test;
  {
    Dictionaries dictionaries;
    const auto checker = dictionaries.Open(TestDictionary::kLanguage);
    checker->AddToDictionary("Quillsmith");
    checker->Ignore("tomatos");
    EXPECT_TRUE(checker->Knows("Quillsmith"));
    EXPECT_TRUE(checker->Knows("tomatos"));
  }
  EXPECT_EQ(Dictionaries::PersonalListPath(TestDictionary::kLanguage),
            test.Folder().File("qs_TEST.dic"));
  Dictionaries restarted;
  const auto checker = restarted.Open(TestDictionary::kLanguage);
  EXPECT_TRUE(checker->Knows("Quillsmith"));
  EXPECT_FALSE(checker->Knows("tomatos"));
}

TEST(DictionariesTest, AListThatCannotBeWrittenIsReportedAndTheWordKeptForTheSession) {
  TestDictionary test;
  Dictionaries dictionaries;
  const auto checker = dictionaries.Open(TestDictionary::kLanguage);
  testing::WriteFile(test.Folder().File("plain-file"), "");
  TestDictionary::Point(test.Folder().File("plain-file/enchant"));
  try {
    checker->AddToDictionary("Quillsmith");
    FAIL() << "a list below a plain file was written";
  } catch (const core::QuillError& error) {
    EXPECT_NE(std::string(error.what()).find("plain-file/enchant/qs_TEST.dic"), std::string::npos)
        << error.what();
  }
  EXPECT_TRUE(checker->Knows("Quillsmith"));
}

TEST(DictionariesTest, TheDefaultLanguageFollowsTheLocale) {
  const std::vector<std::string> installed{"de_AT", "en_GB", "en_US"};
  EXPECT_EQ(Dictionaries::DefaultLanguage(installed, "en_US.UTF-8"), "en_US");
  EXPECT_EQ(Dictionaries::DefaultLanguage(installed, "en-GB"), "en_GB");
  EXPECT_EQ(Dictionaries::DefaultLanguage(installed, "de_DE.UTF-8@euro"), "de_AT");
  EXPECT_EQ(Dictionaries::DefaultLanguage(installed, "C"), "de_AT");
  EXPECT_EQ(Dictionaries::DefaultLanguage(installed, "fr_FR"), "de_AT");
  EXPECT_EQ(Dictionaries::DefaultLanguage({}, "en_US"), "");
}

TEST(DictionariesTest, TheSystemsEnglishDictionaryKnowsTomatoes) {
  TestDictionary test;  // the system's dictionaries, but the personal lists of the test
  Dictionaries dictionaries;
  if (!Has(dictionaries.Languages(), "en_US")) {
    GTEST_SKIP() << "no en_US dictionary is installed (Debian: hunspell-en-us)";
  }
  const auto checker = dictionaries.Open("en_US");
  EXPECT_FALSE(checker->Knows("tomatos"));
  EXPECT_TRUE(checker->Knows("tomatoes"));
  EXPECT_TRUE(Has(checker->Suggestions("tomatos", 7), "tomatoes"));
}

}  // namespace
}  // namespace quill::spell
