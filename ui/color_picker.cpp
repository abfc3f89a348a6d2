#include "ui/color_picker.h"

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
  setMinimumSize(48, 24);
  setToolTip("Choose a colour");
  connect(this, &QPushButton::clicked, this, [this] { Pick(); });
  Paint();
}

void ColorPicker::Reset(std::int32_t color) {
  initial_ = color;
  SetColor(color);
}

void ColorPicker::SetColor(std::int32_t color) {
  color_ = color;
  Paint();
}

void ColorPicker::SetBackgroundColor(const QColor& colour) {
  background_ = colour;
  Paint();
}

void ColorPicker::Pick() {
  if (const auto chosen = services_.PickColor(this, ToQColor(color_))) {
    SetColor(ToWindowsColor(*chosen));
    emit ColorChanged();
  }
}

void ColorPicker::Paint() {
  const QString border = background_.isValid() ? background_.name() : QString("palette(mid)");
  setStyleSheet(QString("QPushButton { background-color: %1; border: 3px solid %2; }")
                    .arg(ToQColor(color_).name(), border));
}

}  // namespace quill::ui
