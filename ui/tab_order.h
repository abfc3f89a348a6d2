#pragma once

#include <optional>

class QKeyEvent;
class QLabel;
class QObject;
class QEvent;
class QWidget;

namespace quill::ui {

// Lets Tab walk a window's inputs in reading order: the order its layouts hold them, a grid
// row by row and left to right, going into every container that takes no focus itself. New
// controls find their place by where they are laid out. The first of them has the focus when
// the window opens, unless the window gave it to another.
void TabInReadingOrder(QWidget& window);

// A label that does something when clicked: Tab stops at it, it shows when it has the focus,
// and Space or Enter does what a click does.
void MakeClickable(QLabel& label);
// Whether `event` clicks a clickable label: a mouse release, or Space or Enter while it has
// the focus.
bool Clicks(const QEvent& event);

// Where a key leaves a text box in which Tab types a tab: Ctrl+Tab forward (true),
// Ctrl+Shift+Tab back (false); nothing for any other key.
std::optional<bool> LeavesTextBox(const QKeyEvent& key);

}  // namespace quill::ui
