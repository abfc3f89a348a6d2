// Times the editor's spell checking on an entry of 100 KB: the whole text checked from
// scratch (a dictionary freshly opened, nothing known yet), and the re-check after a key press
// in the middle of it, which redoes the changed line only. The words are drawn from the
// system's en_US dictionary (hunspell-en-us), as often as words of an entry are (a few very
// often, most rarely), with one in thirty misspelt and markup between them.
//
//   QT_QPA_PLATFORM=offscreen spell-bench [CHARACTERS]   (default 100000)

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#include "spell/dictionaries.h"
#include "ui/editor/markup_highlighter.h"

namespace {

double Since(std::chrono::steady_clock::time_point started) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
      .count();
}

std::vector<QString> Vocabulary(std::size_t size) {
  std::ifstream dic("/usr/share/hunspell/en_US.dic");
  std::vector<QString> words;
  std::string line;
  std::getline(dic, line);  // the count
  while (std::getline(dic, line)) {
    const QString word = QString::fromStdString(line.substr(0, line.find('/')));
    if (word.size() > 2 && word[0].isLower()) words.push_back(word);
  }
  std::mt19937 random(26);
  std::shuffle(words.begin(), words.end(), random);
  words.resize(std::min(size, words.size()));
  return words;
}

QString Entry(const std::vector<QString>& words, qsizetype characters) {
  std::mt19937 random(8);
  // Zipf's law, roughly: the word of rank r comes 1/r as often as the first.
  std::vector<double> weights;
  for (std::size_t r = 1; r <= words.size(); ++r) weights.push_back(1.0 / static_cast<double>(r));
  std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
  QString text, line;
  for (int n = 0; text.size() < characters; ++n) {
    QString word = words[pick(random)];
    if (n % 30 == 29 && word.size() > 3) std::swap(word[1], word[2]);
    if (n % 17 == 0) word = "<b>" + word + "</b>";
    if (n % 41 == 0) word = "<a href=\"https://example.org/" + word + "\">" + word + "</a>";
    line += word + ' ';
    if (line.size() > 80) {
      text += line + '\n';
      line.clear();
    }
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir personal;  // no personal word list of the user's takes part
  qputenv("ENCHANT_CONFIG_DIR", personal.path().toUtf8());
  quill::spell::Dictionaries dictionaries;
  const QString text = Entry(Vocabulary(5000), argc > 1 ? std::atoll(argv[1]) : 100'000);

  QPlainTextEdit editor;
  editor.resize(800, 600);
  editor.show();
  editor.setPlainText(text);
  auto* highlighter = new quill::ui::MarkupHighlighter(editor.document());
  QCoreApplication::processEvents();

  std::vector<double> whole, keys;
  double opening = 0;
  std::unique_ptr<quill::spell::SpellChecker> checker;
  for (int i = 0; i < 7; ++i) {
    auto started = std::chrono::steady_clock::now();
    checker = dictionaries.Open("en_US");
    opening = Since(started);
    highlighter->SetSpelling([&] { return checker.get(); });
    started = std::chrono::steady_clock::now();
    highlighter->rehighlight();
    whole.push_back(Since(started));
  }
  QTextCursor cursor(editor.document());
  cursor.setPosition(text.size() / 2);
  for (int i = 0; i < 50; ++i) {
    const auto started = std::chrono::steady_clock::now();
    cursor.insertText(i % 2 == 0 ? "x" : " ");  // the highlighter redoes the line at once
    keys.push_back(Since(started));
  }
  std::sort(whole.begin(), whole.end());
  std::sort(keys.begin(), keys.end());
  std::printf("%lld characters, %d lines; opening en_US %.0f ms\n",
              static_cast<long long>(text.size()), editor.document()->blockCount(), opening);
  std::printf("whole entry from scratch: min %.1f ms, median %.1f ms, max %.1f ms\n",
              whole.front(), whole[whole.size() / 2], whole.back());
  std::printf("key press: min %.2f ms, median %.2f ms, max %.2f ms\n", keys.front(),
              keys[keys.size() / 2], keys.back());
  return 0;
}
