#pragma once

#include <QPushButton>
#include <cstdint>

namespace quill::ui {

class DesktopServices;

// A colour swatch that opens the colour dialog when clicked. Colours are Windows colour
// values (0x00BBGGRR). Beside the current colour it keeps the one it was given when its
// window opened (`InitialColor`): a colour equal to that one means "nothing chosen".
class ColorPicker final : public QPushButton {
  Q_OBJECT

 public:
  explicit ColorPicker(DesktopServices& services, QWidget* parent = nullptr);

  std::int32_t Color() const { return color_; }
  std::int32_t InitialColor() const { return initial_; }
  // Sets both the current and the initial colour.
  void Reset(std::int32_t color);
  // Sets the current colour, as if the user had chosen it.
  void SetColor(std::int32_t color);
  // The colour around the swatch; the swatch keeps a frame that stands out against it, so a
  // colour equal to the background is still seen.
  void SetBackgroundColor(const QColor& colour);
  QSize sizeHint() const override;

 signals:
  // The user chose a colour in the dialog.
  void ColorChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Pick();

  DesktopServices& services_;
  std::int32_t color_ = 0;
  std::int32_t initial_ = 0;
  QColor background_;
};

// Windows colour values and Qt colours; a system colour resolves to its classic default.
QColor ToQColor(std::int32_t color);
std::int32_t ToWindowsColor(const QColor& colour);

}  // namespace quill::ui
