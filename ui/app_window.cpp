#include "ui/app_window.h"

#include <QApplication>
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

void KeepSystemColours(QWidget* control) {
  const QPalette system = QApplication::palette(control);
  QPalette colours = control->palette();
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Button,
                                           QPalette::ButtonText, QPalette::Base, QPalette::Text}) {
      colours.setColor(group, role, system.color(group, role));
    }
  }
  control->setPalette(colours);
}

}  // namespace quill::ui
