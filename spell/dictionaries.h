#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spell/spell_checker.h"

struct str_enchant_broker;

namespace quill::spell {

// The dictionaries installed on this machine, as Enchant finds them (Hunspell, Nuspell,
// Aspell), and the personal word lists it keeps beside them: in $ENCHANT_CONFIG_DIR, else
// $XDG_CONFIG_HOME/enchant, else ~/.config/enchant, one "LANGUAGE.dic" for each language.
class Dictionaries {
 public:
  Dictionaries();
  ~Dictionaries();
  Dictionaries(const Dictionaries&) = delete;
  Dictionaries& operator=(const Dictionaries&) = delete;

  // The languages there are dictionaries for ("en_GB", "en_US"), sorted.
  std::vector<std::string> Languages();
  // The checker for `language`; throws core::QuillError naming the language and the reason
  // when its dictionary cannot be loaded. The checker may outlive this object.
  std::unique_ptr<SpellChecker> Open(const std::string& language);

  // The language of a project that has chosen none: the one of `locale` ("de_DE.UTF-8",
  // "de") where it is installed, else another of the same language, else the first
  // installed; empty when none is.
  static std::string DefaultLanguage(const std::vector<std::string>& installed,
                                     std::string_view locale);
  // The personal word list of `language`, as Enchant names it.
  static std::string PersonalListPath(const std::string& language);

 private:
  std::shared_ptr<str_enchant_broker> broker_;
};

}  // namespace quill::spell
