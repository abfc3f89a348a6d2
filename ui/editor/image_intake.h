#pragma once

#include <QWidget>
#include <optional>

#include "ui/images/exiv2_metadata.h"
#include "ui/images/image_preparer.h"

class QCheckBox;
class QImage;
class QLabel;

namespace quill::ui {

class DesktopServices;

// The picture the image dialog is about to bring into the output folder: what will happen
// to it (its size before and after, its metadata), the choice to keep its metadata, and
// the writing of the copy. A file already in the output folder never comes through here: it
// is used as it is.
class ImageIntake final : public QWidget {
  Q_OBJECT

 public:
  ImageIntake(DesktopServices& services, int max_width);

  // Reads and prepares the picture file at `path`; false, after saying why, when it cannot
  // be used.
  bool TakeFile(const QString& path);
  // Prepares a picture that has no file yet, such as one from the clipboard.
  bool TakeBytes(const QString& name, const QByteArray& bytes);
  // Forgets the picture: the dialog's list has the say again.
  void Clear();
  bool HasImage() const { return image_.has_value(); }

  // Writes the copy into `folder` (ending in a separator) under its own name, asking before
  // it replaces a file there that holds something else. The bare name, or nothing when it
  // was not written (refused, failed: the user was told).
  std::optional<QString> Place(const QString& folder);

 private:
  void Describe();

  DesktopServices& services_;
  ImageRules rules_;
  Exiv2Metadata metadata_;
  std::optional<PreparedImage> image_;
  QLabel* lblPlan;
  QCheckBox* chkMetadata;
};

// A bare file name as it goes into a page's markup: spaces, quotes, '#', '%', '&' and
// letters beyond ASCII percent-encoded (as UTF-8), so the browser asks for the file by
// its name.
QString ImageAddress(const QString& name);

// A pasted picture as a file: PNG, or JPEG at quality 85 when it is a photograph whose PNG
// would pass 1 MB; named after `now` as "pasted-20261208-101530.png".
struct PastedImage {
  QString name;
  QByteArray bytes;
};
PastedImage EncodePasted(const QImage& image, const QString& stamp);

}  // namespace quill::ui
