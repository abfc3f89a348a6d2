#pragma once

#include <QPointer>

namespace quill::ui {

// Loads the window's one instance unless it is loaded, and brings it forward.
template <class Window, class... Args>
Window* BringForward(QPointer<Window>& instance, Args&... args) {
  if (!instance || instance->Unloaded()) instance = new Window(args...);
  instance->show();
  instance->raise();
  instance->activateWindow();
  return instance;
}

}  // namespace quill::ui
