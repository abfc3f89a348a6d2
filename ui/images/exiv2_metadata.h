#pragma once

#include "ui/images/photo_metadata.h"

namespace quill::ui {

// Photo metadata through Exiv2 (JPEG, PNG, WebP).
class Exiv2Metadata final : public PhotoMetadata {
 public:
  Exiv2Metadata();

  Found Read(const QByteArray& file) const override;
  QByteArray Strip(const QByteArray& file) const override;
  QByteArray CopyUpright(const QByteArray& source, const QByteArray& target) const override;
};

}  // namespace quill::ui
