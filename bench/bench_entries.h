// Entries for the search benchmarks: about 1 KB of made-up prose each, with words drawn by
// Zipf's law from a vocabulary of 8,000, some in markup, written straight into a Blog.mdb
// table as another program would.
#pragma once

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace quill::bench {

// A made-up word for each rank; low ranks are short, as common words are.
inline std::string Word(unsigned rank) {
  static const char* const kSyllables[] = {"ba", "ce", "di", "fo", "gu", "ha", "ke", "li",
                                           "mo", "nu", "pa", "re", "si", "to", "vu", "wa"};
  std::string word;
  unsigned n = rank + 1;
  do {
    word += kSyllables[n % 16];
    n /= 16;
  } while (n > 0);
  return word;
}

inline std::string EntryText(unsigned long long& state,
                             const std::vector<std::string>& vocabulary) {
  std::string text;
  while (text.size() < 1000) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const double u = static_cast<double>(state >> 11) / 9007199254740992.0;
    const auto rank = static_cast<std::size_t>(std::pow(vocabulary.size(), u)) - 1;
    const std::string& word = vocabulary[std::min(rank, vocabulary.size() - 1)];
    switch ((state >> 60) & 15) {
      case 0:
        text += "<b>" + word + "</b> ";
        break;
      case 1:
        text += "<a href=\"https://example.org/" + word + ".html\">" + word + "</a> ";
        break;
      case 2:
        text += word + ".\r\n";
        break;
      default:
        text += word + ' ';
    }
  }
  return text;
}

// `count` entries one hour apart from 1 January 2010, in the table `table` of the database
// at `path`, which is made if needed.
inline void FillEntries(const std::string& path, const std::string& table, long long count) {
  std::vector<std::string> vocabulary;
  for (unsigned rank = 0; rank < 8000; ++rank) vocabulary.push_back(Word(rank));
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  const std::string create =
      "CREATE TABLE IF NOT EXISTS \"" + table + "\" (Date TEXT PRIMARY KEY, Content TEXT); BEGIN";
  sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  const std::string sql =
      "INSERT INTO \"" + table +
      "\" VALUES (strftime('%Y-%m-%d %H:%M:%S', '2010-01-01', ?1 || ' hours'), ?2)";
  sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr);
  unsigned long long state = 42;
  for (long long n = 0; n < count; ++n) {
    const std::string text = EntryText(state, vocabulary);
    sqlite3_bind_int64(insert, 1, n);
    sqlite3_bind_text(insert, 2, text.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// Runs SQL on the database as another program would.
inline void RunSql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

}  // namespace quill::bench
