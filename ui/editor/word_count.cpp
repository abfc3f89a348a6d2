#include "ui/editor/word_count.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "ui/editor/entry_words.h"

namespace quill::ui {
namespace {

// Up to this many characters the count follows every keystroke; above it, every pause.
constexpr int kCountedAtOnce = 200'000;
constexpr int kPauseMs = 300;

}  // namespace

WordCount::WordCount(QPlainTextEdit& text) : text_(text) {
  setObjectName("lblWords");
  setAccessibleName("Word count");
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, [this] { Count(); });
  connect(text_.document(), &QTextDocument::contentsChanged, this, [this] {
    if (text_.document()->characterCount() <= kCountedAtOnce) {
      Count();
    } else {
      pause_.start();
    }
  });
  Count();
}

void WordCount::Count() {
  pause_.stop();
  const int words = CountWords(text_.document()->toRawText());
  setText(words == 1 ? QStringLiteral("1 word") : QString("%1 words").arg(words));
}

}  // namespace quill::ui
