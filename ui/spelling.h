#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "spell/dictionaries.h"
#include "spell/spell_checker.h"

namespace quill::ui {

// The program's dictionaries: found the first time they are needed, each language opened
// once and kept for the whole run, so that what "Ignore" took stays ignored however often
// the editor changes modes or projects.
class Spelling {
 public:
  // The value of SpellLanguage that switches spell checking off.
  static constexpr const char* kOff = "none";

  Spelling();
  ~Spelling();

  // The languages there are dictionaries for, sorted.
  const std::vector<std::string>& Languages();
  // The language a project with `stored` as its SpellLanguage checks in: the stored one, or,
  // while there is none, the system locale's (else the first installed). Empty for none.
  std::string LanguageOf(const std::string& stored);
  // The checker of `language`; nullptr for none. Throws core::QuillError the first time a
  // dictionary cannot be loaded, and gives nullptr for it from then on.
  spell::SpellChecker* CheckerOf(const std::string& language);

 private:
  spell::Dictionaries& Found();

  std::unique_ptr<spell::Dictionaries> dictionaries_;
  std::vector<std::string> languages_;
  std::map<std::string, std::unique_ptr<spell::SpellChecker>> open_;
  std::set<std::string> failed_;
};

}  // namespace quill::ui
