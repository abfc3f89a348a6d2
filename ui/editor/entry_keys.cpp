#include "ui/editor/entry_keys.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include "ui/editor/typed_text.h"
#include "ui/tab_order.h"

namespace quill::ui {

EntryKeys::EntryKeys(QPlainTextEdit& text, std::function<bool(const QKeyEvent*)> toolbar_keys,
                     std::function<void(bool forward)> leave)
    : QObject(&text),
      text_(text),
      toolbar_keys_(std::move(toolbar_keys)),
      leave_(std::move(leave)) {
  text_.installEventFilter(this);
}

bool EntryKeys::Leave(const QKeyEvent* event) {
  const auto forward = LeavesTextBox(*event);
  if (forward) leave_(*forward);
  return forward.has_value();
}

bool EntryKeys::EscapeTyped(const QKeyEvent* event) {
  if (text_.isReadOnly()) return false;
  const QString typed = event->text();
  if (typed.size() != 1 || EntityOf(typed[0]).isEmpty()) return false;
  text_.textCursor().insertText(EntityOf(typed[0]));
  return true;
}

bool EntryKeys::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &text_) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      if (!toolbar_keys_(static_cast<QKeyEvent*>(event))) return false;
      // The text box would keep some of these keys for itself (Ctrl+K deletes to the line's
      // end on some desktops); the toolbar's meaning wins.
      event->ignore();
      return true;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      return Leave(key) || EscapeTyped(key);
    }
    case QEvent::InputMethod: {
      if (text_.isReadOnly()) return false;
      // Characters composed by an input method (dead keys and the like) are typed too.
      const auto* input = static_cast<QInputMethodEvent*>(event);
      const QString commit = input->commitString();
      if (!input->preeditString().isEmpty() || TypedAsText(commit) == commit) return false;
      text_.textCursor().insertText(TypedAsText(commit));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace quill::ui
