// Times opening the entry list on a project of 10,000 entries: the walk through the store,
// the rows with their titles, the column fitting and the first paint.
//
//   entry-list-bench [entries]

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_app.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/frm_list.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;

  quill::bench::BenchApp bench;
  quill::ui::App& app = bench.App();
  const std::string& folder = bench.Folder();

  app.Entries().MoveLastEntry();  // creates the table
  sqlite3* db = nullptr;
  sqlite3_open((folder + "Blog.mdb").c_str(), &db);
  const std::string sql =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(count) +
      ") INSERT INTO Bench SELECT strftime('%Y-%m-%d %H:%M:%S', '2020-01-01', (i * 3) || "
      "' hours'), '<p>Entry ' || i || ' of the benchmark: <b>words</b> and more words.</p>' "
      "FROM n";
  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
  app.Entries().CloseBlogDatabase();

  app.OpenProject("Bench");
  quill::ui::frmBlog* editor = app.OpenEditor();
  QCoreApplication::processEvents();

  const auto started = std::chrono::steady_clock::now();
  auto* list = new quill::ui::frmList(app, *editor);
  const bool loaded = list->Load();
  list->show();
  QCoreApplication::processEvents();
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  std::printf("entry list of %d entries opened in %.0f ms%s\n", count, ms,
              loaded ? "" : " (empty!)");
  return loaded ? 0 : 1;
}
