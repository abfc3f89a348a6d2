#include "ui/setup/setup_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include "ui/color_picker.h"

namespace quill::ui {
namespace {

class CountValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    for (const QChar c : input) {
      if (c < u'0' || c > u'9') return Invalid;
    }
    return input.isEmpty() || input.toInt() <= 32767 ? Acceptable : Invalid;
  }
};

class FocusSelection final : public QObject {
 public:
  FocusSelection(QLineEdit* field, std::function<void()> entered, std::function<void()> left)
      : QObject(field), field_(field), entered_(std::move(entered)), left_(std::move(left)) {
    field->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != field_) return false;
    if (event->type() == QEvent::FocusIn) {
      if (entered_) entered_();
      // After the click that gave the focus has placed the caret.
      QTimer::singleShot(0, field_, [field = field_] { field->selectAll(); });
    } else if (event->type() == QEvent::FocusOut) {
      if (left_) left_();
      field_->deselect();
      field_->setCursorPosition(0);
    }
    return false;
  }

 private:
  QLineEdit* field_;
  std::function<void()> entered_;
  std::function<void()> left_;
};

}  // namespace

void SetupPage::ColorMe(const Shades& shades) {
  const QColor shading = ToQColor(shades.shading);
  const QColor font = ToQColor(shades.font);
  const QColor design = QApplication::palette().color(QPalette::WindowText);
  for (QLabel* caption : captions_) Colour(caption, QColor(), font);
  for (QLabel* caption : plain_captions_) Colour(caption, QColor(), design);
  for (QWidget* control : shaded_) Colour(control, shading, font);
}

QLabel* SetupPage::Caption(int index, const char* text, QWidget* field) {
  auto* caption = new QLabel(text);
  if (field != nullptr) caption->setBuddy(field);
  caption->setObjectName(QString("Label2_%1").arg(index));
  captions_.push_back(caption);
  return caption;
}

QLabel* SetupPage::PlainCaption(int index, const char* text, QWidget* field) {
  QLabel* caption = Caption(index, text, field);
  captions_.pop_back();
  plain_captions_.push_back(caption);
  return caption;
}

QCheckBox* SetupPage::Box(const char* name, const char* caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  Shade(box);
  return box;
}

void Colour(QWidget* widget, const QColor& background, const QColor& text) {
  QPalette colours = widget->palette();
  if (background.isValid()) {
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::Button, background);  // what check boxes fill with
    widget->setAutoFillBackground(true);
  }
  colours.setColor(QPalette::WindowText, text);
  colours.setColor(QPalette::ButtonText, text);
  widget->setPalette(colours);
}

QLineEdit* Field(const char* name) {
  auto* field = new QLineEdit;
  field->setObjectName(name);
  return field;
}

QLineEdit* CountField(const char* name) {
  QLineEdit* field = Field(name);
  field->setValidator(new CountValidator(field));
  return field;
}

void HideInPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
  widget->setVisible(false);
}

void SelectOnFocus(QLineEdit* field, std::function<void()> entered, std::function<void()> left) {
  new FocusSelection(field, std::move(entered), std::move(left));
}

}  // namespace quill::ui
