#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QPlainTextEdit;

namespace quill::ui {

// What keys do in the entry's text box: a typed &, <, > or " becomes its entity, so that
// everything typed stays text (also when an input method composed it); the toolbar's keys
// win over the text box's own meaning for them; Ctrl+Tab and Ctrl+Shift+Tab leave the text,
// where Tab types a tab.
class EntryKeys final : public QObject {
  Q_OBJECT

 public:
  // `toolbar_keys` tells the toolbar's keys; `leave` moves the focus on (true) or back.
  EntryKeys(QPlainTextEdit& text, std::function<bool(const QKeyEvent*)> toolbar_keys,
            std::function<void(bool forward)> leave);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Leave(const QKeyEvent* event);
  bool EscapeTyped(const QKeyEvent* event);

  QPlainTextEdit& text_;
  std::function<bool(const QKeyEvent*)> toolbar_keys_;
  std::function<void(bool forward)> leave_;
};

}  // namespace quill::ui
