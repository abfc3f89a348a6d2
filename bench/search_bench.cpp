// Times the search across every entry on a project of 100,000 entries of about 1 KB (a
// temporary one it makes itself, with a vocabulary of a few thousand words used as prose uses
// them): building the index, opening it again, catching up with an entry the program's own
// entry store saved and with one another program changed, and each keystroke of a few
// searches typed letter by letter.
//
//   search-bench [entries]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_entries.h"
#include "core/clock.h"
#include "core/sqlite_registry.h"
#include "core/stamp.h"
#include "store/entry_search.h"
#include "store/entry_store.h"

namespace {

using Clock = std::chrono::steady_clock;
using quill::bench::Word;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double MegaBytes(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0.0 : static_cast<double>(size) / 1e6;
}

void TimeTyping(quill::store::EntrySearch& search, const std::string& typed) {
  std::vector<double> times;
  std::size_t found = 0;
  for (std::size_t end = 1; end <= typed.size(); ++end) {
    const auto started = Clock::now();
    found = search.Find(typed.substr(0, end), true).size();
    times.push_back(Ms(started));
  }
  const auto slowest =
      static_cast<std::size_t>(std::max_element(times.begin(), times.end()) - times.begin());
  std::sort(times.begin(), times.end());
  std::printf(
      "typing \"%.40s\": %zu keystrokes, min %.1f ms, median %.1f ms, max %.1f ms (at \"%.40s\");"
      " %zu found at the end\n",
      typed.c_str(), times.size(), times.front(), times[times.size() / 2], times.back(),
      typed.substr(0, slowest + 1).c_str(), found);
}

}  // namespace

int main(int argc, char** argv) {
  const long long count = argc > 1 ? std::atoll(argv[1]) : 100000;
  const std::string folder =
      (std::filesystem::temp_directory_path() / ("search-bench-" + std::to_string(::getpid())))
          .string() +
      "/";
  std::filesystem::create_directories(folder);
  quill::core::SqliteRegistry registry(folder + "registry.db");
  quill::core::SystemClock clock;
  quill::core::SettingsStore settings(registry, clock);
  settings.Settings().ProjectName = "Bench";
  settings.Settings().Template = folder + "template.html";
  settings.Settings().Title = "Bench";
  settings.LoadSettings(true);
  const std::string database = folder + "Blog.mdb";
  quill::bench::FillEntries(database, "Bench", count);
  std::printf("%lld entries, Blog.mdb %.1f MB\n", count, MegaBytes(database));

  auto started = Clock::now();
  {
    quill::store::EntrySearch search(settings);
    search.Update();
    std::printf("index built in %.0f ms: %.1f MB (and %.1f MB of its log)\n", Ms(started),
                MegaBytes(database + "-search"), MegaBytes(database + "-search-wal"));
  }
  quill::store::EntrySearch search(settings);
  quill::store::EntryStore entries(settings);
  entries.SetWriteListener([&](std::uint32_t counter, const std::vector<std::string>& dates) {
    search.NoteWrite(counter, dates);
  });
  started = Clock::now();
  search.Update();
  std::printf("opened again, nothing changed: %.1f ms\n", Ms(started));

  entries.CurrentEntry = {{2012, 6, 1, 0, 0, 0}, "saved by the editor"};
  entries.SaveEntry();
  started = Clock::now();
  std::size_t found = search.Find("saved editor").size();
  std::printf("one entry saved by the program's own entry store, then found: %.1f ms (%zu)\n",
              Ms(started), found);

  quill::bench::RunSql(database,
                       "UPDATE Bench SET Content = 'changed by another program'"
                       " WHERE Date = '2012-06-02 00:00:00'");
  started = Clock::now();
  found = search.Find("changed program").size();
  std::printf("one entry changed by another program, then found: %.0f ms (%zu)\n", Ms(started),
              found);

  TimeTyping(search, Word(3) + " " + Word(40) + " " + Word(700));
  TimeTyping(search, Word(5000));
  TimeTyping(search, "zzzz");
  std::string many;
  for (unsigned rank = 0; many.size() < 10'000; rank += 7) many += Word(rank) + " ";
  started = Clock::now();
  found = search.Find(many).size();
  std::printf("10,000 characters of %zu different words: %.1f ms (%zu found)\n",
              static_cast<std::size_t>(std::count(many.begin(), many.end(), ' ')), Ms(started),
              found);
  if (std::getenv("SEARCH_BENCH_KEEP") == nullptr) std::filesystem::remove_all(folder);
  return 0;
}
