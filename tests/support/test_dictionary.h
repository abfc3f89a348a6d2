#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace quill::testing {

// Points Enchant at a folder of its own for as long as it lives, holding the small
// dictionary "qs_TEST" of tests/spell/dictionary (its words: a, and, crème, here, is, known,
// link, of, red, see, sentence, text, the, this, tomato, tomatoes, typed, well, word, words,
// world, writer, wrote, you), so no test depends on the dictionaries installed or ever writes
// the user's personal word lists.
class TestDictionary {
 public:
  static constexpr const char* kLanguage = "qs_TEST";

  TestDictionary() {
    if (const char* old = std::getenv("ENCHANT_CONFIG_DIR")) old_ = old;
    const std::filesystem::path hunspell = dir_.Path() / "hunspell";
    std::filesystem::create_directories(hunspell);
    for (const char* file : {"qs_TEST.aff", "qs_TEST.dic"}) {
      std::filesystem::copy_file(std::filesystem::path(QUILL_TEST_DICTIONARY_DIR) / file,
                                 hunspell / file);
    }
    Point(dir_.Path().string());
  }
  ~TestDictionary() {
    if (old_) {
      ::setenv("ENCHANT_CONFIG_DIR", old_->c_str(), 1);
    } else {
      ::unsetenv("ENCHANT_CONFIG_DIR");
    }
  }
  TestDictionary(const TestDictionary&) = delete;
  TestDictionary& operator=(const TestDictionary&) = delete;

  // Where the personal word lists go.
  const TempDir& Folder() const { return dir_; }
  // Points Enchant somewhere else (say, where no list can be written).
  static void Point(const std::string& folder) { ::setenv("ENCHANT_CONFIG_DIR", folder.c_str(), 1); }

 private:
  TempDir dir_;
  std::optional<std::string> old_;
};

}  // namespace quill::testing
