// Makes a deterministic project for the build benchmark: N entries of about 1 KB (or the
// size given) of HTML-flavoured text, one hour apart, default settings with the feed on, and its
// support files in place. Settings go to the registry the editor uses (XDG_CONFIG_HOME).
//
//   make-bench-project PROJECT FOLDER ENTRIES [ENTRY-BYTES]
//   make-bench-project --date-format PROJECT N   (changes the date form of every entry)
//   make-bench-project --entry-pages PROJECT 0|1  (gives every entry a page of its own, or not)
//   make-bench-project --set PROJECT NAME VALUE  (stores any other setting as it stands)

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/clock.h"
#include "core/registry.h"
#include "core/settings_store.h"
#include "core/stamp.h"
#include "site/site_output.h"
#include "site/support_files.h"

namespace {

using quill::core::Stamp;

const char* const kWords[] = {"quill",        "<b>ink</b>",
                              "paper",        "garden",
                              "&amp;",        "river",
                              "autumn",       "lantern",
                              "<i>bread</i>", "harbour",
                              "stone",        "window",
                              "letters",      "<a href=\"https://example.org/\">link</a>"};

// About `size` bytes of text in paragraphs of a few dozen words.
std::string EntryText(long long n, std::size_t size) {
  std::string text = "Entry " + std::to_string(n) + ": ";
  unsigned long long state = 0x9E3779B97F4A7C15ull * static_cast<unsigned long long>(n + 1);
  while (text.size() < size) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    text += kWords[(state >> 33) % (sizeof kWords / sizeof *kWords)];
    text += (state >> 59) == 0 ? ".\r\n" : " ";
  }
  return text;
}

void AddHour(Stamp& stamp) {
  if (++stamp.hour < 24) return;
  stamp.hour = 0;
  if (++stamp.day <= quill::core::DaysInMonth(stamp.year, stamp.month)) return;
  stamp.day = 1;
  if (++stamp.month <= 12) return;
  stamp.month = 1;
  ++stamp.year;
}

bool Check(int rc, sqlite3* db) {
  if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return true;
  std::fprintf(stderr, "make-bench-project: %s\n", sqlite3_errmsg(db));
  return false;
}

// Changes one stored setting of the project and saves it.
template <typename Change>
int ChangeSetting(const std::string& project, Change change) {
  const auto registry = quill::core::OpenUserRegistry();
  quill::core::SystemClock clock;
  quill::core::SettingsStore store(*registry, clock);
  store.Settings().ProjectName = project;
  store.LoadSettings(false);
  change(store.Settings());
  store.LoadSettings(true);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--date-format") {
    // DateFormat changes every page of the site.
    return ChangeSetting(argv[2], [value = std::atoi(argv[3])](auto& settings) {
      settings.DateFormat = static_cast<decltype(settings.DateFormat)>(value);
    });
  }
  if (argc == 4 && std::string(argv[1]) == "--entry-pages") {
    return ChangeSetting(argv[2], [value = std::atoi(argv[3])](auto& settings) {
      settings.EntryPages = static_cast<decltype(settings.EntryPages)>(value);
    });
  }
  if (argc == 5 && std::string(argv[1]) == "--set") {
    const auto registry = quill::core::OpenUserRegistry();
    quill::core::SystemClock clock;
    quill::core::SettingsStore store(*registry, clock);
    store.Settings().ProjectName = argv[2];
    return store.SetProjectValue(argv[3], argv[4]) ? 0 : 1;
  }
  if (argc != 4 && argc != 5) {
    std::fputs("Usage: make-bench-project PROJECT FOLDER ENTRIES [ENTRY-BYTES]\n", stderr);
    return 1;
  }
  const std::size_t entry_size = argc == 5 ? std::strtoull(argv[4], nullptr, 10) : 1000;
  const std::string project = argv[1];
  const std::string folder = std::filesystem::absolute(argv[2]).string() + "/";
  const long long count = std::atoll(argv[3]);
  std::filesystem::create_directories(folder);
  std::filesystem::remove(folder + "Blog.mdb");

  const auto registry = quill::core::OpenUserRegistry();
  quill::core::SystemClock clock;
  quill::core::SettingsStore store(*registry, clock);
  store.SetUserValue("00", project);
  auto& settings = store.Settings();
  settings = {};
  settings.ProjectName = project;
  settings.Template = folder + "template.html";
  settings.Title = "Bench Log";
  settings.IncludeRSS = 1;
  settings.Docs = "https://bench.example/blog/";
  store.LoadSettings(true);

  quill::site::DiskOutput output(settings.OutputFolder);
  for (const std::string& name : quill::site::SupportFileNames(false)) {
    quill::site::WriteSupportFile(name, settings, output);
  }

  sqlite3* db = nullptr;
  if (!Check(sqlite3_open(settings.DatabasePath.c_str(), &db), db)) return 1;
  sqlite3_exec(db, "CREATE TABLE \"Bench Log\" (Date TEXT PRIMARY KEY, Content TEXT)", nullptr,
               nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO \"Bench Log\" VALUES (?1, ?2)", -1, &insert, nullptr);
  Stamp stamp{2010, 1, 1, 0, 0, 0};
  for (long long n = 0; n < count; ++n, AddHour(stamp)) {
    const std::string date = stamp.ToText();
    const std::string text = EntryText(n, entry_size);
    sqlite3_bind_text(insert, 1, date.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, text.c_str(), -1, SQLITE_TRANSIENT);
    if (!Check(sqlite3_step(insert), db)) return 1;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  if (!Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db)) return 1;
  sqlite3_close(db);
  std::printf("%lld entries in %s\n", count, settings.DatabasePath.c_str());
  return 0;
}
