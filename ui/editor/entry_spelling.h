#pragma once

#include <QObject>
#include <QPoint>
#include <string>

class QMenu;
class QPlainTextEdit;
class QTextCursor;

namespace quill::spell {
class SpellChecker;
struct Word;
}  // namespace quill::spell

namespace quill::ui {

class App;
class MarkupHighlighter;

// Spell checking in the text box: the project's dictionary for the highlighter while the
// text can be edited, and on a marked word the text box's menu offers the dictionary's
// suggestions, "Add to dictionary" and "Ignore" above the usual edit actions.
class EntrySpelling final : public QObject {
  Q_OBJECT

 public:
  EntrySpelling(App& app, QPlainTextEdit& text, MarkupHighlighter& highlighter);

  // Checks while `editable`, in the project's language as it stands now; marks nothing in
  // read-only text. The marks are redone when that changes what is checked.
  void Follow(bool editable);
  // The text box's menu for a right click at `at` (in the text box's viewport); the caller
  // owns it.
  QMenu* MenuAt(const QPoint& at);

 private:
  spell::SpellChecker* Checker();
  void AddSpellingActions(QMenu& menu, const QTextCursor& at);
  void Replace(int block_start, const spell::Word& word, const std::string& suggestion);
  // Adds the word to the personal list or ignores it, then marks the text again.
  void Accept(const std::string& word, bool for_good);
  void Rehighlight();

  App& app_;
  QPlainTextEdit& text_;
  MarkupHighlighter& highlighter_;
  bool editable_ = false;
  std::string language_;
  bool resolved_ = false;
  spell::SpellChecker* checker_ = nullptr;
};

}  // namespace quill::ui
