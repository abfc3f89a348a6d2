#pragma once

#include <QSyntaxHighlighter>

namespace quill::ui {

// Colours the inside of every tag red, leaving the brackets and the text black. A tag may
// run over several lines; a "<" with no ">" anywhere after it colours nothing.
class MarkupHighlighter final : public QSyntaxHighlighter {
 public:
  explicit MarkupHighlighter(QTextDocument* document);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  // Position of the document's last ">", -1 when it has none; found once per revision.
  int LastCloseBracket();

  int last_close_ = -1;
  int last_close_revision_ = -1;
};

}  // namespace quill::ui
