#pragma once

#include <QByteArray>

namespace quill::ui {

// What a picture file says about itself beside its pixels: camera, time, place (EXIF, XMP,
// IPTC). Reads and rewrites whole files held in memory; a failure throws core::QuillError
// with the reason.
class PhotoMetadata {
 public:
  struct Found {
    bool any = false;       // EXIF, XMP or IPTC data
    bool location = false;  // a GPS position among them
  };

  virtual ~PhotoMetadata() = default;
  virtual Found Read(const QByteArray& file) const = 0;
  // The same file without EXIF, XMP, IPTC or comments; its colour profile stays.
  virtual QByteArray Strip(const QByteArray& file) const = 0;
  // `target` with the metadata of `source`, its orientation set to upright (1): the pixels
  // of `target` are already turned.
  virtual QByteArray CopyUpright(const QByteArray& source, const QByteArray& target) const = 0;
};

}  // namespace quill::ui
