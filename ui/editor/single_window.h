#pragma once

#include <QPointer>
#include <QWidget>

namespace quill::ui {

// Shows a window on top of the others, with the focus.
inline void BringToFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

// Loads the window's one instance unless it is loaded, and brings it forward.
template <class Window, class... Args>
Window* BringForward(QPointer<Window>& instance, Args&... args) {
  if (!instance || instance->Unloaded()) instance = new Window(args...);
  BringToFront(instance);
  return instance;
}

}  // namespace quill::ui
