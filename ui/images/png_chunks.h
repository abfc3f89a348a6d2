#pragma once

#include <QByteArray>

namespace quill::ui {

// The PNG with only the chunks that make its picture: the pixels, their colours, their
// transparency and their animation. Text, EXIF and time chunks go, whatever their keys.
// Returns the bytes unchanged when they are not a whole PNG.
QByteArray PngPictureOnly(const QByteArray& png);

// Whether the PNG is animated (APNG): it has more than one picture.
bool PngIsAnimated(const QByteArray& png);

}  // namespace quill::ui
