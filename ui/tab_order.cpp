#include "ui/tab_order.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <algorithm>
#include <vector>

namespace quill::ui {
namespace {

void Collect(QLayout& layout, std::vector<QWidget*>& inputs);

void Collect(QWidget& widget, std::vector<QWidget*>& inputs) {
  // An input ends the walk: what lies inside it (a list's view, a combo box's field) is its
  // own business.
  if (widget.focusPolicy() != Qt::NoFocus || widget.focusProxy() != nullptr) {
    if ((widget.focusPolicy() & Qt::TabFocus) != 0) inputs.push_back(&widget);
    return;
  }
  if (widget.layout() != nullptr) Collect(*widget.layout(), inputs);
}

void Collect(QLayout& layout, std::vector<QWidget*>& inputs) {
  std::vector<int> items(static_cast<std::size_t>(layout.count()));
  for (int i = 0; i < layout.count(); ++i) items[static_cast<std::size_t>(i)] = i;
  if (auto* grid = qobject_cast<QGridLayout*>(&layout)) {
    const auto cell = [grid](int index) {
      int row = 0, column = 0, rows = 0, columns = 0;
      grid->getItemPosition(index, &row, &column, &rows, &columns);
      return std::pair(row, column);
    };
    std::stable_sort(items.begin(), items.end(), [&](int a, int b) { return cell(a) < cell(b); });
  }
  for (int index : items) {
    QLayoutItem* item = layout.itemAt(index);
    if (item->widget() != nullptr) {
      Collect(*item->widget(), inputs);
    } else if (item->layout() != nullptr) {
      Collect(*item->layout(), inputs);
    }
  }
}

}  // namespace

void TabInReadingOrder(QWidget& window) {
  if (window.layout() == nullptr) return;
  std::vector<QWidget*> inputs;
  Collect(*window.layout(), inputs);
  for (std::size_t i = 1; i < inputs.size(); ++i) QWidget::setTabOrder(inputs[i - 1], inputs[i]);
  // The first input read has the focus when the window opens, unless the window chose one.
  if (!inputs.empty() && window.focusWidget() == nullptr) inputs.front()->setFocus();
}

void MakeClickable(QLabel& label) {
  label.setFocusPolicy(Qt::TabFocus);
  label.setCursor(Qt::PointingHandCursor);
  label.setStyleSheet(
      "QLabel:focus { background-color: palette(highlight); color: palette(highlighted-text); }");
}

bool Clicks(const QEvent& event) {
  if (event.type() == QEvent::MouseButtonRelease) return true;
  if (event.type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent&>(event).key();
  return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

std::optional<bool> LeavesTextBox(const QKeyEvent& key) {
  if ((key.modifiers() & Qt::ControlModifier) == 0) return std::nullopt;
  if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) return std::nullopt;
  return key.key() == Qt::Key_Tab && (key.modifiers() & Qt::ShiftModifier) == 0;
}

}  // namespace quill::ui
