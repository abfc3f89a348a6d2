#include "ui/interchange/transfer_controls.h"

#include <QLabel>
#include <QPushButton>

#include "ui/qt_text.h"

namespace quill::ui {

QLabel* PathLabel(const char* name) {
  auto* label = new QLabel;
  label->setObjectName(name);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(320);
  return label;
}

QPushButton* NamedButton(const char* name, const char* caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

QString ReportText(const std::vector<std::string>& lines, std::size_t most) {
  QString text;
  for (std::size_t i = 0; i < lines.size() && i < most; ++i) {
    if (i > 0) text += "\n";
    text += Q(lines[i]);
  }
  if (lines.size() > most) text += QString("\n… and %1 more.").arg(lines.size() - most);
  return text;
}

}  // namespace quill::ui
