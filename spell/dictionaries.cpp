#include "spell/dictionaries.h"

#include <enchant.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#include "core/quill_error.h"

namespace quill::spell {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// One dictionary of Enchant's. What it said of a word is kept: an entry says most words many
// times, and a dictionary lookup costs far more than a hash.
class EnchantChecker final : public SpellChecker {
 public:
  EnchantChecker(std::shared_ptr<EnchantBroker> broker, EnchantDict* dict, std::string language)
      : broker_(std::move(broker)), dict_(dict), language_(std::move(language)) {}
  ~EnchantChecker() override { enchant_broker_free_dict(broker_.get(), dict_); }
  EnchantChecker(const EnchantChecker&) = delete;
  EnchantChecker& operator=(const EnchantChecker&) = delete;

  bool Knows(std::string_view word) override {
    const auto [known, fresh] = known_.try_emplace(std::string(word), true);
    // Below zero: the dictionary could not tell, and a word it cannot judge is not marked.
    if (fresh) known->second = enchant_dict_check(dict_, word.data(), Size(word)) <= 0;
    return known->second;
  }

  std::vector<std::string> Suggestions(std::string_view word, std::size_t at_most) override {
    std::size_t count = 0;
    char** list = enchant_dict_suggest(dict_, word.data(), Size(word), &count);
    std::vector<std::string> suggestions;
    for (std::size_t i = 0; i < count && suggestions.size() < at_most; ++i) {
      suggestions.emplace_back(list[i]);
    }
    if (list != nullptr) enchant_dict_free_string_list(dict_, list);
    return suggestions;
  }

  void AddToDictionary(std::string_view word) override {
    // Enchant says nothing when it cannot write the list, so the list is tried first.
    const std::string path = Dictionaries::PersonalListPath(language_);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    errno = 0;
    std::FILE* list = std::fopen(path.c_str(), "a");
    if (list == nullptr) {
      const std::string reason = std::strerror(errno);
      Ignore(word);
      throw core::QuillError("\"" + std::string(word) +
                             "\" is taken as spelt right until the program ends, but it could "
                             "not be added to the dictionary: the personal word list " +
                             path + " cannot be written (" + reason + ").");
    }
    std::fclose(list);
    enchant_dict_add(dict_, word.data(), Size(word));
    known_[std::string(word)] = true;
  }

  void Ignore(std::string_view word) override {
    enchant_dict_add_to_session(dict_, word.data(), Size(word));
    known_[std::string(word)] = true;
  }

 private:
  static ssize_t Size(std::string_view word) { return static_cast<ssize_t>(word.size()); }

  std::shared_ptr<EnchantBroker> broker_;  // the dictionary's owner lives as long as it
  EnchantDict* dict_;
  std::string language_;
  std::unordered_map<std::string, bool> known_;
};

}  // namespace

Dictionaries::Dictionaries() : broker_(enchant_broker_init(), enchant_broker_free) {}

Dictionaries::~Dictionaries() = default;

std::vector<std::string> Dictionaries::Languages() {
  std::vector<std::string> languages;
  enchant_broker_list_dicts(
      broker_.get(),
      [](const char* tag, const char*, const char*, const char*, void* found) {
        static_cast<std::vector<std::string>*>(found)->emplace_back(tag);
      },
      &languages);
  std::sort(languages.begin(), languages.end());
  languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
  return languages;
}

std::unique_ptr<SpellChecker> Dictionaries::Open(const std::string& language) {
  EnchantDict* dict = enchant_broker_request_dict(broker_.get(), language.c_str());
  if (dict == nullptr) {
    const char* error = enchant_broker_get_error(broker_.get());
    throw core::QuillError("The dictionary for " + language + " cannot be loaded: " +
                           (error != nullptr ? error : "it is not installed") + ".");
  }
  return std::make_unique<EnchantChecker>(broker_, dict, language);
}

std::string Dictionaries::DefaultLanguage(const std::vector<std::string>& installed,
                                          std::string_view locale) {
  if (installed.empty()) return {};
  std::string wanted(locale.substr(0, locale.find_first_of(".@")));
  std::replace(wanted.begin(), wanted.end(), '-', '_');
  if (std::find(installed.begin(), installed.end(), wanted) != installed.end()) return wanted;
  const std::string language = wanted.substr(0, wanted.find('_'));
  const auto same = std::find_if(installed.begin(), installed.end(), [&](const std::string& tag) {
    return !language.empty() && (tag == language || tag.rfind(language + "_", 0) == 0);
  });
  return same != installed.end() ? *same : installed.front();
}

std::string Dictionaries::PersonalListPath(const std::string& language) {
  std::string folder = Environment("ENCHANT_CONFIG_DIR");
  if (folder.empty()) {
    const std::string config = Environment("XDG_CONFIG_HOME");
    folder = (config.empty() ? Environment("HOME") + "/.config" : config) + "/enchant";
  }
  return folder + "/" + language + ".dic";
}

}  // namespace quill::spell
