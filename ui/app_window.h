#pragma once

#include <QPalette>
#include <QWidget>
#include <functional>

class QCloseEvent;

namespace quill::ui {

class App;
class DesktopServices;

// A window of the open project beside the main window: it joins the program's window list,
// wears the project's shading, and unloads itself when it is done.
class AppWindow : public QWidget {
  Q_OBJECT

 public:
  AppWindow(App& app, const QString& object_name, const QString& caption);

  // Done with: hidden now, gone once its handlers have returned.
  bool Unloaded() const { return unloaded_; }

 protected:
  void Unload();
  // Sizes the window to its controls and centres it on the screen; Tab walks its controls
  // in reading order.
  void Centre();
  // RunGuarded over this window.
  bool Guarded(const std::function<void()>& handler);
  // The one-button "Oops!" message, over this window.
  void Oops(const QString& text);
  // What the close box does; unloading, unless the window has a say first.
  virtual void CloseBoxClicked() { Unload(); }
  void closeEvent(QCloseEvent* event) override;

  App& app_;

 private:
  bool unloaded_ = false;
};

// Runs a handler; what it throws reaches the user as an "Oops!" message over `parent` naming
// the reason, and the window goes on. False when it threw.
bool RunGuarded(DesktopServices& services, QWidget* parent, const std::function<void()>& handler);

// Sets one colour of a widget; a window colour also fills its background.
void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// Gives a control back the system's colours, so the shading of the window around it does not
// reach it: command buttons, text fields and lists look as the user knows them on any theme.
void KeepSystemColours(QWidget* control);

}  // namespace quill::ui
