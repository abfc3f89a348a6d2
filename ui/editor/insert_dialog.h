#pragma once

#include <array>

#include "ui/app_window.h"
#include "ui/editor/markup.h"

class QPushButton;
class QVBoxLayout;

namespace quill::ui {

class frmBlog;

// What every insertion dialog shares: one window of its kind at a time, modeless, centred,
// in the project's shading; "Good" confirms and "Not!" cancels, and either way the focus
// goes back to the editing area and the dialog unloads.
class InsertDialog : public AppWindow {
  Q_OBJECT

 public:
  InsertDialog(App& app, frmBlog& editor, const QString& object_name, const QString& caption);

 protected:
  // The dialog's own controls go here, above the two buttons.
  QVBoxLayout* Body() const { return body_; }
  // Sizes and centres the dialog once its controls are in place.
  void Ready();
  virtual void Good() = 0;
  // Puts the markup in place of the editor's selection (on a line of its own where it asks
  // for one), colours it and closes.
  void InsertAndClose(const Wrapping& markup);
  void InsertAndClose(const QString& markup) { InsertAndClose(Wrapping{markup, {}}); }
  // Puts `body` between the tags in place of the selection; with nothing selected the caret
  // stands before the closing tag, ready for typing. Without tags nothing is inserted.
  void InsertWrapped(const Wrapping& wrapping, const QString& body);
  // Whether the project's pages are in the HTML5 style, whose markup the dialog then writes.
  bool Html5() const;
  void Close();
  // Paints a label's text in the project's font colour.
  void UseFontColor(QWidget* widget) const;

  // The close box cancels, as "Not!" does.
  void CloseBoxClicked() override { Close(); }

  frmBlog& editor_;
  std::array<QPushButton*, 2> cmdNav{};

 private:
  QVBoxLayout* body_;
};

}  // namespace quill::ui
