// Times the editor's tag highlighting on 1 MB of entry text holding 50,000 tags, the way the
// main window runs it after an insertion: the whole text recoloured at once.
//
//   QT_QPA_PLATFORM=offscreen highlight-bench

#include <QApplication>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "ui/editor/markup_highlighter.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);

  // Lines of about 80 characters with two or three tags each, until 1 MB and 50,000 tags.
  QString text;
  int tags = 0;
  for (int line = 0; text.size() < 1'000'000 || tags < 50'000; ++line) {
    if (line % 2 == 0) {
      text += "Some words of the entry, <b>bold ones</b> and <i>leaning</i> ones too.\n";
      tags += 4;
    } else {
      text += "A <a href=\"https://example.org/page\">link</a> &amp; plain text after it here\n";
      tags += 2;
    }
  }

  QPlainTextEdit editor;
  editor.resize(800, 600);
  editor.show();
  editor.setPlainText(text);
  auto* highlighter = new quill::ui::MarkupHighlighter(editor.document());

  std::vector<double> runs;
  for (int i = 0; i < 7; ++i) {
    const auto started = std::chrono::steady_clock::now();
    QTextCursor cursor = editor.textCursor();
    const int caret = cursor.selectionStart();
    highlighter->rehighlight();
    cursor.setPosition(caret);
    editor.setTextCursor(cursor);
    QCoreApplication::processEvents();  // includes laying out and painting what changed
    runs.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count());
  }
  std::sort(runs.begin(), runs.end());
  std::printf("%lld characters, %d tags: highlight min %.1f ms, median %.1f ms, max %.1f ms\n",
              static_cast<long long>(text.size()), tags, runs.front(), runs[runs.size() / 2],
              runs.back());
  return 0;
}
