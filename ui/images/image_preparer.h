#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include "ui/images/image_kind.h"

namespace quill::ui {

class PhotoMetadata;

// The largest picture decoded, in pixels: 100 megapixels (10000×10000, 400 MB of pixels),
// four times a large camera's photo. A file that claims more is refused before it is
// decoded, so a few kilobytes that unpack to gigabytes cannot take the machine's memory.
inline constexpr qint64 kPixelLimit = 100'000'000;

struct ImageRules {
  int max_width = 1600;  // 0: every picture keeps its size
  qint64 pixel_limit = kPixelLimit;
};

// One way a picture may go into the output folder.
struct ImageCopy {
  QByteArray bytes;
  QSize size;  // as it shows, upright
  bool reencoded = false;
};

// A picture made ready for the web: turned upright, no wider than the rules allow, never
// larger in bytes than the original unless it had to be turned, with its metadata removed
// (`plain`) or kept with an upright orientation (`kept`). GIF and SVG are copied untouched.
struct PreparedImage {
  QString source_name;
  QString name;  // the copy's file name, with the extension of its kind
  ImageKind kind = ImageKind::Jpeg;
  QSize original_size;  // as stored, before turning; empty for SVG
  qint64 original_bytes = 0;
  bool turned = false;
  bool has_metadata = false;
  bool has_location = false;
  ImageCopy plain;
  ImageCopy kept;

  const ImageCopy& Copy(bool keep_metadata) const { return keep_metadata ? kept : plain; }
  bool Untouched() const { return !InfoOf(kind).raster; }
};

// Prepares the picture `bytes` of the file `name` (a bare name; the copy keeps it, with the
// extension its content calls for). Throws core::QuillError naming the file and the reason
// when the bytes are empty, are no picture of a known kind, are cut short, cannot be decoded
// or hold more pixels than the rules allow.
PreparedImage PrepareImage(const QString& name, const QByteArray& bytes, const ImageRules& rules,
                           const PhotoMetadata& metadata);

// "8.1 MB", "350 KB", "512 bytes".
QString ByteSize(qint64 bytes);

// What inserting the picture will do, for the user to read before confirming:
// "4000×3000, 8.1 MB → 1600×1200, about 350 KB; location removed".
QString DescribePreparation(const PreparedImage& image, bool keep_metadata);

}  // namespace quill::ui
