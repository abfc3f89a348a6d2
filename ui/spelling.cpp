#include "ui/spelling.h"

#include <QLocale>

namespace quill::ui {

Spelling::Spelling() = default;
Spelling::~Spelling() = default;

spell::Dictionaries& Spelling::Found() {
  if (!dictionaries_) {
    dictionaries_ = std::make_unique<spell::Dictionaries>();
    languages_ = dictionaries_->Languages();
  }
  return *dictionaries_;
}

const std::vector<std::string>& Spelling::Languages() {
  Found();
  return languages_;
}

std::string Spelling::LanguageOf(const std::string& stored) {
  if (stored == kOff) return {};
  if (!stored.empty()) return stored;
  return spell::Dictionaries::DefaultLanguage(Languages(), QLocale::system().name().toStdString());
}

spell::SpellChecker* Spelling::CheckerOf(const std::string& language) {
  if (language.empty() || failed_.count(language) != 0) return nullptr;
  if (const auto open = open_.find(language); open != open_.end()) return open->second.get();
  try {
    return (open_[language] = Found().Open(language)).get();
  } catch (...) {
    open_.erase(language);
    failed_.insert(language);
    throw;
  }
}

}  // namespace quill::ui
