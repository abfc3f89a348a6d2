#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/setup/setup_values.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace quill::ui {

// The project's two colours, as the settings keep them.
struct Shades {
  std::int32_t shading;
  std::int32_t font;
};

// One page of the setup dialog: it shows its part of the values and takes back what the user
// changed. Its captions and boxes wear the project's colours.
class SetupPage : public QWidget {
  Q_OBJECT

 public:
  virtual void Load(const SetupValues& values) = 0;
  virtual void Save(SetupValues& values) const = 0;
  // Captions take the font colour (those kept in the design colour excepted); check boxes and
  // the other shaded controls take both colours.
  virtual void ColorMe(const Shades& shades);

 protected:
  // A `Label2` caption with its index; it names `field` to screen readers.
  QLabel* Caption(int index, const char* text, QWidget* field = nullptr);
  // A caption that keeps the design's text colour whatever the shading.
  QLabel* PlainCaption(int index, const char* text, QWidget* field = nullptr);
  QCheckBox* Box(const char* name, const char* caption);
  // A control that takes the shading and the font colour.
  void Shade(QWidget* control) { shaded_.push_back(control); }

 private:
  std::vector<QLabel*> captions_;
  std::vector<QLabel*> plain_captions_;
  std::vector<QWidget*> shaded_;
};

// Colours a widget: the background (when valid) fills it and check boxes, the text colour its
// text.
void Colour(QWidget* widget, const QColor& background, const QColor& text);

QLineEdit* Field(const char* name);
// Takes digits only, up to the largest page size or article count a project can store, so
// what the field shows is what is saved.
QLineEdit* CountField(const char* name);
// Hides a widget that still holds its place, so the fields beside it do not move when it
// shows.
void HideInPlace(QWidget* widget);

// A text field selects all of its text on getting the focus and nothing, with the caret at
// the start, on losing it; `entered` and `left` run first.
void SelectOnFocus(QLineEdit* field, std::function<void()> entered = {},
                   std::function<void()> left = {});

}  // namespace quill::ui
