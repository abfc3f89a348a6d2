#include "site/color.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace quill::site {
namespace {

constexpr std::uint32_t Bgr(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r | (g << 8) | (b << 16);
}

// The classic Windows scheme's colour for each system colour index (COLOR_SCROLLBAR = 0 …
// COLOR_MENUBAR = 30).
constexpr std::array<std::uint32_t, 31> kClassicSystemColors = {
    Bgr(212, 208, 200),  // scroll bar
    Bgr(58, 110, 165),   // desktop
    Bgr(10, 36, 106),    // active caption
    Bgr(128, 128, 128),  // inactive caption
    Bgr(212, 208, 200),  // menu
    Bgr(255, 255, 255),  // window
    Bgr(0, 0, 0),        // window frame
    Bgr(0, 0, 0),        // menu text
    Bgr(0, 0, 0),        // window text
    Bgr(255, 255, 255),  // caption text
    Bgr(212, 208, 200),  // active border
    Bgr(212, 208, 200),  // inactive border
    Bgr(128, 128, 128),  // application workspace
    Bgr(10, 36, 106),    // highlight
    Bgr(255, 255, 255),  // highlighted text
    Bgr(212, 208, 200),  // button face
    Bgr(128, 128, 128),  // button shadow
    Bgr(128, 128, 128),  // grey text
    Bgr(0, 0, 0),        // button text
    Bgr(212, 208, 200),  // inactive caption text
    Bgr(255, 255, 255),  // button highlight
    Bgr(64, 64, 64),     // 3D dark shadow
    Bgr(212, 208, 200),  // 3D light
    Bgr(0, 0, 0),        // tooltip text
    Bgr(255, 255, 225),  // tooltip background
    Bgr(0, 0, 0),        // (unused)
    Bgr(0, 0, 128),      // hot-tracked item
    Bgr(166, 202, 240),  // active caption gradient
    Bgr(192, 192, 192),  // inactive caption gradient
    Bgr(10, 36, 106),    // menu highlight
    Bgr(212, 208, 200),  // menu bar
};

// Relative luminance of a plain colour, as the contrast ratio defines it.
double Luminance(std::uint32_t bgr) {
  const auto channel = [](std::uint32_t value) {
    const double c = static_cast<double>(value & 0xFFu) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(bgr) + 0.7152 * channel(bgr >> 8) + 0.0722 * channel(bgr >> 16);
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

std::int32_t ReadableTextColor(std::int32_t background, std::int32_t text) {
  const std::uint32_t back = ResolveColor(background);
  const std::uint32_t fore = ResolveColor(text);
  if (ContrastRatio(back, fore) >= 4.5) return static_cast<std::int32_t>(fore);
  return ContrastRatio(back, 0) >= ContrastRatio(back, 0xFFFFFFu) ? 0 : 0x00FFFFFF;
}

std::uint32_t ResolveColor(std::int32_t color) {
  const auto value = static_cast<std::uint32_t>(color);
  if ((value & 0x80000000u) != 0) {
    const std::uint32_t index = value & 0xFFu;
    return index < kClassicSystemColors.size() ? kClassicSystemColors[index] : 0;
  }
  // The high byte of a plain colour only selects palettes; it is no part of the colour.
  return value & 0x00FFFFFFu;
}

std::string ColorToCssHex(std::int32_t color) {
  const std::uint32_t bgr = ResolveColor(color);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
  return hex;
}

}  // namespace quill::site
