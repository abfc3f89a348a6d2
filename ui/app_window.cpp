#include "ui/app_window.h"

#include <QApplication>
#include <QCloseEvent>

#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/desktop_services.h"
#include "ui/tab_order.h"

namespace quill::ui {

AppWindow::AppWindow(App& app, const QString& object_name, const QString& caption) : app_(app) {
  setObjectName(object_name);
  setWindowTitle(caption);
  Paint(this, QPalette::Window, ToQColor(app_.Project().Shading));
  app_.WindowLoaded(this);
}

void AppWindow::Unload() {
  unloaded_ = true;
  app_.Unload(this);
}

void AppWindow::Centre() {
  TabInReadingOrder(*this);
  adjustSize();
  app_.Centre(this);
}

bool AppWindow::Guarded(const std::function<void()>& handler) {
  return RunGuarded(app_.Services(), this, handler);
}

void AppWindow::Oops(const QString& text) { app_.Services().Oops(this, text); }

void AppWindow::closeEvent(QCloseEvent* event) {
  if (unloaded_) {
    event->accept();
    return;
  }
  event->ignore();
  CloseBoxClicked();
}

bool RunGuarded(DesktopServices& services, QWidget* parent, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    services.Oops(parent, QString::fromStdString(error.what()));
    return false;
  }
}

void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette colours = widget->palette();
  colours.setColor(role, colour);
  widget->setPalette(colours);
  if (role == QPalette::Window) widget->setAutoFillBackground(true);
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
