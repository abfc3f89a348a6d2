#pragma once

#include <QLabel>
#include <QTimer>

class QPlainTextEdit;

namespace quill::ui {

// Beside the date label: how many words the entry in the text box has, without its markup,
// kept up to date as the text changes. A long text is counted again once typing pauses.
class WordCount final : public QLabel {
  Q_OBJECT

 public:
  explicit WordCount(QPlainTextEdit& text);

 private:
  void Count();

  QPlainTextEdit& text_;
  QTimer pause_;
};

}  // namespace quill::ui
