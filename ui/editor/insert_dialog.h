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
  // Puts the markup in place of the editor's selection, colours it and closes.
  void InsertAndClose(const QString& markup);
  // Puts `body` between the tags in place of the selection; with nothing selected the caret
  // stands before the closing tag, ready for typing. Without tags nothing is inserted.
  void InsertWrapped(const QString& open, const QString& body, const QString& close);
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
