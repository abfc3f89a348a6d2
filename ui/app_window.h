#pragma once

#include <QWidget>

class QCloseEvent;

namespace quill::ui {

class App;

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
  // Sizes the window to its controls and centres it on the screen.
  void Centre();
  // What the close box does; unloading, unless the window has a say first.
  virtual void CloseBoxClicked() { Unload(); }
  void closeEvent(QCloseEvent* event) override;

  App& app_;

 private:
  bool unloaded_ = false;
};

// Gives a control back the system's colours, so the shading of the window around it does not
// reach it: command buttons, text fields and lists look as the user knows them on any theme.
void KeepSystemColours(QWidget* control);

}  // namespace quill::ui
