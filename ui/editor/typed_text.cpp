#include "ui/editor/typed_text.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace quill::ui {
namespace {

class LineTyping final : public QObject {
 public:
  explicit LineTyping(QLineEdit& field) : QObject(&field), field_(field) {
    field_.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &field_ || field_.isReadOnly()) return false;
    if (event->type() == QEvent::KeyPress) {
      const QString typed = static_cast<QKeyEvent*>(event)->text();
      if (typed.size() != 1 || EntityOf(typed[0]).isEmpty()) return false;
      field_.insert(EntityOf(typed[0]));
      return true;
    }
    if (event->type() == QEvent::InputMethod) {
      const auto* input = static_cast<QInputMethodEvent*>(event);
      const QString commit = input->commitString();
      if (!input->preeditString().isEmpty() || TypedAsText(commit) == commit) return false;
      field_.insert(TypedAsText(commit));
      return true;
    }
    return false;
  }

 private:
  QLineEdit& field_;
};

}  // namespace

QString EntityOf(QChar c) {
  switch (c.unicode()) {
    case '&':
      return QStringLiteral("&amp;");
    case '<':
      return QStringLiteral("&lt;");
    case '>':
      return QStringLiteral("&gt;");
    case '"':
      return QStringLiteral("&quot;");
    default:
      return {};
  }
}

QString TypedAsText(const QString& typed) {
  QString out;
  out.reserve(typed.size());
  for (QChar c : typed) {
    const QString entity = EntityOf(c);
    out += entity.isEmpty() ? QString(c) : entity;
  }
  return out;
}

void TypeAsText(QLineEdit& field) { new LineTyping(field); }

}  // namespace quill::ui
