// Times the entry list's search field on a project of 100,000 entries of about 1 KB (a
// temporary one it makes itself): each keystroke of a few searches typed letter by letter,
// from the key to the list showing the answer (the count and the first screenful of rows)
// and to the list holding every row found, and the longest the window went
// without answering its other events meanwhile; then the same after the program saved an
// entry and after another program changed one.
//
//   list-search-bench [entries]

#include <time.h>

#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_app.h"
#include "bench/bench_entries.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/frm_list.h"
#include "ui/editor/list_search.h"

namespace {

using Clock = std::chrono::steady_clock;
using quill::bench::Word;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// The CPU time this thread has used, in milliseconds: on a machine others keep busy, the
// wall time also counts the time spent waiting for a core.
double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Types `typed` letter by letter; after each key, runs the window's events until the list
// shows the answer (its count and first screenful; while the index catches up with another
// program's writes, what it found as it stood), then until it holds every row of the answer.
void TimeTyping(QLineEdit& field, quill::ui::ListSearch& search, const QString& typed) {
  field.clear();
  while (search.Searching()) QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  std::vector<double> keys;
  std::vector<double> cpu;
  std::vector<double> filled;
  double longest_wait = 0;
  const auto turn = [&] {
    const auto started = Clock::now();
    QCoreApplication::processEvents();
    longest_wait = std::max(longest_wait, Ms(started));
  };
  for (int end = 1; end <= typed.size(); ++end) {
    const auto started = Clock::now();
    const double cpu_started = CpuMs();
    field.setText(typed.left(end));
    while (!search.Answered() && !search.Provisional()) turn();
    // The list's layout and first paint of the answer, which the window does before the next
    // slice of filling the list.
    QCoreApplication::sendPostedEvents();
    keys.push_back(Ms(started));
    cpu.push_back(CpuMs() - cpu_started);
    while (search.Searching()) turn();
    turn();  // the layout and paint of the last rows
    filled.push_back(Ms(started));
  }
  const auto slowest = std::max_element(keys.begin(), keys.end());
  std::printf(
      "typing \"%s\": %zu keys, answer wall median %.1f ms, max %.1f ms (at \"%s\"); CPU"
      " median %.1f ms, max %.1f ms; every row in the list: median %.1f ms, max %.1f ms;"
      " longest turn of the event loop %.1f ms\n",
      typed.toStdString().c_str(), keys.size(), Median(keys), *slowest,
      typed.left(static_cast<int>(slowest - keys.begin()) + 1).toStdString().c_str(), Median(cpu),
      *std::max_element(cpu.begin(), cpu.end()), Median(filled),
      *std::max_element(filled.begin(), filled.end()), longest_wait);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;

  quill::bench::BenchApp bench;
  quill::ui::App& app = bench.App();
  const std::string& folder = bench.Folder();
  quill::bench::FillEntries(folder + "Blog.mdb", "Bench", count);

  app.OpenProject("Bench");
  quill::ui::frmBlog* editor = app.OpenEditor();
  QCoreApplication::processEvents();
  auto started = Clock::now();
  app.Session().Search().Update();
  std::printf("%d entries: index built in %.0f ms\n", count, Ms(started));

  started = Clock::now();
  auto* list = new quill::ui::frmList(app, *editor);
  list->Load();
  list->show();
  QCoreApplication::processEvents();
  std::printf("entry list opened in %.0f ms\n", Ms(started));
  auto& field = *list->findChild<QLineEdit*>("txtSearch");
  auto& search = *list->findChild<quill::ui::ListSearch*>();

  const QString common = QString::fromStdString(Word(3) + " " + Word(40) + " " + Word(700));
  // (LIST_SEARCH_BENCH_REPEAT=n types the first search n times more, for a profiler.)
  for (int again = qEnvironmentVariableIntValue("LIST_SEARCH_BENCH_REPEAT"); again > 0; --again) {
    TimeTyping(field, search, common);
  }
  TimeTyping(field, search, common);
  TimeTyping(field, search, QString::fromStdString(Word(5000)));
  TimeTyping(field, search, "zzzz");

  app.Entries().CurrentEntry = {{2012, 6, 1, 0, 0, 0}, "saved by the editor"};
  app.Entries().SaveEntry();
  std::printf("after the program saved an entry: ");
  TimeTyping(field, search, "editor");
  quill::bench::RunSql(folder + "Blog.mdb",
                       "UPDATE Bench SET Content = 'changed elsewhere'"
                       " WHERE Date = '2012-06-02 00:00:00'");
  std::printf("after another program changed an entry: ");
  TimeTyping(field, search, "elsewhere");
  return 0;
}
