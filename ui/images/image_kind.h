#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace quill::ui {

// The kinds of picture a page can show, told by their bytes rather than their names.
enum class ImageKind { Jpeg, Png, Webp, Gif, Svg };

struct ImageKindInfo {
  ImageKind kind;
  const char* name;       // as the user reads it: "JPEG"
  const char* format;     // Qt's image format name
  const char* extension;  // what a copy of this kind is named with
  bool raster;            // decoded, turned, scaled and re-encoded; otherwise copied untouched
};

const ImageKindInfo& InfoOf(ImageKind kind);

// The kind the bytes hold, or nothing when they hold none of them.
std::optional<ImageKind> SniffImageKind(const QByteArray& bytes);

// Whether a file name's extension is one a picture of `kind` may carry (".jpg", ".JPEG").
bool HasExtensionOf(const QString& name, ImageKind kind);

// Whether a JPEG runs to its end-of-image marker. A JPEG cut short still decodes (its lower
// part grey), so the decoder's success alone does not tell.
bool JpegIsComplete(const QByteArray& bytes);

}  // namespace quill::ui
