#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/settings_store.h"
#include "core/stamp.h"

namespace quill::core {
class SqliteDb;
}

namespace quill::store {

// Finds the open blog's entries by the words they hold, as their readers see them: markup
// left out, references read as their characters, letter case and accents ignored ("creme"
// finds "Crème"). The words live in a full-text index (SQLite's FTS5) in Blog.mdb-search
// beside the entries' database, which keeps its own format untouched; the uploader never
// sends the index, as it sends nothing named Blog.mdb-….
//
// The index never answers for an entries table it no longer matches. Before each answer it
// asks the database whether anybody (another program, or this program's entry store) has
// committed to it since the index last matched it. Writes the entry store reports through
// NoteWrite are brought in entry by entry, as long as they account for every commit since
// (the file's change counter says how many there were); after any other write, and when an
// index is opened on a file that is not as it last saw it, each entry is compared with the
// index, in slices a caller can spread over time, and a write that comes while that goes on
// starts it again. An index file that cannot be read is made afresh; where none can be
// written, the index is kept in memory for as long as this object lives.
//
// Failures throw core::QuillError naming the file and the reason.
class EntrySearch final {
 public:
  explicit EntrySearch(core::SettingsStore& settings, int busy_timeout_ms = 5000);
  ~EntrySearch();
  EntrySearch(const EntrySearch&) = delete;
  EntrySearch& operator=(const EntrySearch&) = delete;

  // Whether `words` holds anything to look for: a letter or a digit.
  static bool HasWords(std::string_view words);

  // The stamps of the entries whose text holds every word of `words` as a whole word, newest
  // first; with `last_is_start`, the last word may also be the start of a longer one ("tom"
  // finds "tomatoes"), as while it is being typed, once it has two characters. None when `words`
  // holds no word. Brings the index up to date first.
  std::vector<core::Stamp> Find(std::string_view words, bool last_is_start = false);
  // The same, as the index stands, without bringing it up to date first: while Update is
  // catching up, this may hold entries since changed and miss others.
  std::vector<core::Stamp> FindAsIndexed(std::string_view words, bool last_is_start = false);
  // Does about `budget` of the work that brings the index up to date (at least one slice);
  // true when it is up to date.
  bool Update(std::chrono::milliseconds budget);
  void Update() { Update(std::chrono::milliseconds::max()); }
  // How far the comparison of every entry with the index has come: entries done, of how
  // many. Both 0 when none is going on.
  std::pair<std::int64_t, std::int64_t> Progress() const { return {pass_done_, pass_total_}; }
  // The entry store committed a write of these entries (stored stamps), which found the file's
  // change counter at `counter_before`.
  void NoteWrite(std::uint32_t counter_before, const std::vector<std::string>& dates);
  void Close();
  // Whether the index lives in memory, because no index file could be kept.
  bool InMemory() const { return in_memory_; }

 private:
  // Opens the index and the entries' database beside it; false when there is no database.
  bool Open();
  void OpenIndex(const std::string& path);
  void PrepareIndex();
  void LoadStamps();
  // Starts comparing every entry with the index from the oldest on; from nothing when the
  // index holds another title's entries or more leftovers than is worth keeping.
  void StartPass(std::int64_t version, bool same_title);
  // Whether the noted writes account for every commit from the one the index matched to
  // `counter`; if so, brings their entries in.
  bool FollowNotedWrites(std::uint32_t counter);
  // Brings the entry stored at `date` into the index as it stands now, or takes it out.
  void Refresh(const std::string& date);
  // Marks the index as matching the database as it stands, in the transaction going on.
  void Matched(std::int64_t version, const std::string& header);
  // Compares the next slice of entries with the index; true when the last one is done.
  bool ReconcileSlice();
  void Forget(std::int64_t id);
  void Add(const std::string& date, std::int64_t digest);
  std::string MetaValue(std::string_view name);
  void SetMetaValue(std::string_view name, std::string_view value);

  struct Statements;

  core::SettingsStore& settings_;
  int busy_timeout_ms_;
  std::uint64_t opened_at_load_ = 0;
  std::string database_;
  std::string table_;  // the entries table, as the index's connection names it
  std::unique_ptr<core::SqliteDb> db_;
  std::unique_ptr<Statements> statements_;
  bool in_memory_ = false;
  // The database's data version when the index last matched it; -1 before the first look.
  std::int64_t matched_version_ = -1;
  // The file's change counter then, where the file has one (not in WAL mode).
  std::optional<std::uint32_t> matched_counter_;
  // Writes the entry store noted since, as (counter before, stored stamps).
  std::vector<std::pair<std::uint32_t, std::vector<std::string>>> noted_;
  // The comparison going on: the data version it started at, the last date done, and how
  // many of how many entries are done.
  bool passing_ = false;
  std::int64_t pass_version_ = 0;
  std::string pass_after_;
  std::int64_t pass_done_ = 0;
  std::int64_t pass_total_ = 0;
  // The entry of each row of the index that is still an entry; rows of entries since changed
  // or removed stay in the index unanswered until it is made afresh.
  std::unordered_map<std::int64_t, core::Stamp> stamps_;
  std::int64_t leftovers_ = 0;
};

}  // namespace quill::store
