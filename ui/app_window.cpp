#include "ui/app_window.h"

#include <QCloseEvent>

#include "ui/app.h"
#include "ui/color_picker.h"

namespace quill::ui {

AppWindow::AppWindow(App& app, const QString& object_name, const QString& caption) : app_(app) {
  setObjectName(object_name);
  setWindowTitle(caption);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(app_.Project().Shading));
  setPalette(colours);
  setAutoFillBackground(true);
  app_.WindowLoaded(this);
}

void AppWindow::Unload() {
  unloaded_ = true;
  app_.Unload(this);
}

void AppWindow::Centre() {
  adjustSize();
  app_.Centre(this);
}

void AppWindow::closeEvent(QCloseEvent* event) {
  if (unloaded_) {
    event->accept();
    return;
  }
  event->ignore();
  CloseBoxClicked();
}

}  // namespace quill::ui
