#include "ui/editor/entry_spelling.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTimer>

#include "core/quill_error.h"
#include "spell/html_words.h"
#include "ui/app.h"
#include "ui/editor/markup_highlighter.h"
#include "ui/editor/typed_text.h"
#include "ui/qt_text.h"

namespace quill::ui {
namespace {

// As many as a menu shows at a glance.
constexpr std::size_t kMostSuggestions = 7;

}  // namespace

EntrySpelling::EntrySpelling(App& app, QPlainTextEdit& text, MarkupHighlighter& highlighter)
    : QObject(&text), app_(app), text_(text), highlighter_(highlighter) {
  setObjectName("spelling");
  text_.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&text_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu* menu = MenuAt(at);
    menu->exec(text_.viewport()->mapToGlobal(at));
    delete menu;
  });
}

void EntrySpelling::Follow(bool editable) {
  const std::string language =
      editable ? app_.Spelling().LanguageOf(app_.Project().SpellLanguage) : std::string();
  if (editable == editable_ && language == language_) return;
  editable_ = editable;
  language_ = language;
  resolved_ = false;
  checker_ = nullptr;
  if (language.empty()) {
    highlighter_.SetSpelling({});
  } else {
    highlighter_.SetSpelling([this] { return Checker(); });
  }
  Rehighlight();
}

void EntrySpelling::Rehighlight() {
  // New underlines are no change to the entry: the text box must not report one, or an
  // entry merely shown would be kept as a draft of itself.
  const QSignalBlocker unchanged(&text_);
  highlighter_.rehighlight();
}

spell::SpellChecker* EntrySpelling::Checker() {
  if (resolved_) return checker_;
  resolved_ = true;
  try {
    checker_ = app_.Spelling().CheckerOf(language_);
  } catch (const core::QuillError& error) {
    // Told once the highlighting is over; the text box goes on without marks.
    const QString message = Q(std::string(error.what())) + "\n\nSpell checking is off.";
    QTimer::singleShot(0, this, [this, message] { app_.Services().Oops(text_.window(), message); });
  }
  return checker_;
}

QMenu* EntrySpelling::MenuAt(const QPoint& at) {
  QMenu* menu = text_.createStandardContextMenu(at);
  if (editable_ && !text_.isReadOnly()) AddSpellingActions(*menu, text_.cursorForPosition(at));
  return menu;
}

void EntrySpelling::AddSpellingActions(QMenu& menu, const QTextCursor& at) {
  const QTextBlock block = at.block();
  const int offset = at.position() - block.position();
  for (const spell::Word& word : highlighter_.MisspeltWords(block)) {
    if (offset < word.places.front().from || offset > word.places.back().to) continue;
    spell::SpellChecker* checker = Checker();
    if (checker == nullptr) return;
    QAction* first = menu.actions().value(0);
    const std::string spelt = word.Utf8();
    const std::vector<std::string> suggestions = checker->Suggestions(spelt, kMostSuggestions);
    for (const std::string& suggestion : suggestions) {
      QAction* action = new QAction(Q(suggestion), &menu);
      connect(
          action, &QAction::triggered, this,
          [this, start = block.position(), word, suggestion] { Replace(start, word, suggestion); });
      menu.insertAction(first, action);
    }
    if (suggestions.empty()) {
      QAction* none = new QAction("(no suggestions)", &menu);
      none->setEnabled(false);
      menu.insertAction(first, none);
    }
    menu.insertSeparator(first);
    QAction* add = new QAction("Add to dictionary", &menu);
    connect(add, &QAction::triggered, this, [this, spelt] { Accept(spelt, true); });
    QAction* ignore = new QAction("Ignore", &menu);
    connect(ignore, &QAction::triggered, this, [this, spelt] { Accept(spelt, false); });
    menu.insertActions(first, {add, ignore});
    menu.insertSeparator(first);
    return;
  }
}

void EntrySpelling::Replace(int block_start, const spell::Word& word,
                            const std::string& suggestion) {
  const spell::Edit edit = spell::ReplacementFor(word, suggestion);
  QTextCursor cursor(text_.document());
  cursor.setPosition(block_start + edit.from);
  cursor.setPosition(block_start + edit.to, QTextCursor::KeepAnchor);
  // As if typed: a suggestion's "&" goes in as "&amp;".
  cursor.insertText(TypedAsText(Q(edit.text)));
  text_.setTextCursor(cursor);
}

void EntrySpelling::Accept(const std::string& word, bool for_good) {
  spell::SpellChecker* checker = Checker();
  if (checker == nullptr) return;
  try {
    if (for_good) {
      checker->AddToDictionary(word);
    } else {
      checker->Ignore(word);
    }
  } catch (const core::QuillError& error) {
    app_.Services().Oops(text_.window(), Q(std::string(error.what())));
  }
  Rehighlight();
}

}  // namespace quill::ui
