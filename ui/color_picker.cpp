#include "ui/color_picker.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "site/color.h"
#include "ui/desktop_services.h"

namespace quill::ui {

QColor ToQColor(std::int32_t color) {
  const std::uint32_t bgr = site::ResolveColor(color);
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

std::int32_t ToWindowsColor(const QColor& colour) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(colour.red()) |
                                   (static_cast<std::uint32_t>(colour.green()) << 8) |
                                   (static_cast<std::uint32_t>(colour.blue()) << 16));
}

ColorPicker::ColorPicker(DesktopServices& services, QWidget* parent)
    : QPushButton(parent), services_(services) {
  setToolTip("Choose a colour");
  connect(this, &QPushButton::clicked, this, [this] { Pick(); });
}

QSize ColorPicker::sizeHint() const {
  const int line = fontMetrics().height();
  return {line * 4, line + 8};
}

void ColorPicker::Reset(std::int32_t color) {
  initial_ = color;
  SetColor(color);
}

void ColorPicker::SetColor(std::int32_t color) {
  color_ = color;
  update();
}

void ColorPicker::SetBackgroundColor(const QColor& colour) {
  background_ = colour;
  update();
}

void ColorPicker::Pick() {
  if (const auto chosen = services_.PickColor(this, ToQColor(color_))) {
    SetColor(ToWindowsColor(*chosen));
    emit ColorChanged();
  }
}

void ColorPicker::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor around = background_.isValid() ? background_ : palette().color(QPalette::Window);
  painter.fillRect(rect(), around);
  // A dark frame on light surroundings, a light one on dark.
  const QColor frame =
      around.lightness() < 128 ? QColor(0xC0, 0xC0, 0xC0) : QColor(0x40, 0x40, 0x40);
  const QRect outer = rect().adjusted(2, 2, -3, -3);
  painter.setPen(frame);
  painter.drawRect(outer);
  painter.setPen(frame.lightness() < 128 ? Qt::white : Qt::black);
  painter.drawRect(outer.adjusted(1, 1, -1, -1));
  painter.fillRect(outer.adjusted(2, 2, -1, -1), ToQColor(color_));
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect();
    focus.backgroundColor = around;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

}  // namespace quill::ui
