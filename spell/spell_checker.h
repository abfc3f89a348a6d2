#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quill::spell {

// A dictionary of one language, with the user's own words. Words are UTF-8.
class SpellChecker {
 public:
  virtual ~SpellChecker() = default;

  virtual bool Knows(std::string_view word) = 0;
  // The dictionary's best guesses for a word it does not know, best first.
  virtual std::vector<std::string> Suggestions(std::string_view word, std::size_t at_most) = 0;
  // Adds the word to the personal word list of the language, for good. Throws
  // core::QuillError, naming the list and the reason, when the list cannot be written; the
  // word is then known for this session only.
  virtual void AddToDictionary(std::string_view word) = 0;
  // Takes the word as known until the program ends.
  virtual void Ignore(std::string_view word) = 0;
};

}  // namespace quill::spell
