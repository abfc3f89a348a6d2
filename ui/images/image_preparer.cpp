#include "ui/images/image_preparer.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QLocale>
#include <cstring>

#include "core/quill_error.h"
#include "ui/images/photo_metadata.h"
#include "ui/images/png_chunks.h"

namespace quill::ui {
namespace {

constexpr int kQuality = 85;

[[noreturn]] void Refuse(const QString& name, const QString& reason) {
  throw core::QuillError((name + " " + reason).toStdString());
}

QString CopyName(const QString& name, ImageKind kind) {
  QString copy = name;
  while (copy.startsWith('.')) copy.remove(0, 1);  // hidden files are never uploaded
  if (HasExtensionOf(copy, kind)) return copy;
  const QFileInfo info(copy);
  const QString base = info.suffix().isEmpty() ? copy : info.completeBaseName();
  return (base.isEmpty() ? QString("image") : base) + '.' + InfoOf(kind).extension;
}

// A copy of the pixels alone: the image a reader returns also carries the file's text
// chunks and comments, which a writer would put back.
QImage PixelsOnly(const QImage& image) {
  QImage pixels(image.size(), image.format());
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(pixels.scanLine(y), image.constScanLine(y),
                static_cast<size_t>(image.bytesPerLine()));
  }
  pixels.setColorSpace(image.colorSpace());
  pixels.setColorTable(image.colorTable());
  return pixels;
}

QByteArray Encode(const QImage& image, ImageKind kind) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, InfoOf(kind).format);
  if (kind != ImageKind::Png) writer.setQuality(kQuality);
  if (!writer.write(image)) {
    throw core::QuillError("cannot be written as " + std::string(InfoOf(kind).name) + ": " +
                           writer.errorString().toStdString());
  }
  return bytes;
}

QSize FitWidth(QSize size, int max_width) {
  if (max_width <= 0 || size.width() <= max_width) return size;
  const qint64 height = (qint64{size.height()} * max_width + size.width() / 2) / size.width();
  return {max_width, static_cast<int>(std::max<qint64>(1, height))};
}

// A picture read from its bytes, turned upright, and for a JPEG much wider than it may be
// already decoded at a fraction of its size.
struct Decoded {
  QImage image;
  QSize stored;   // as the file holds it
  QSize upright;  // its whole size once turned upright
  QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone;
};

Decoded Decode(const QString& name, const QByteArray& bytes, const ImageKindInfo& info,
               const ImageRules& rules) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, info.format);
  Decoded decoded;
  decoded.stored = reader.size();
  const QSize stored = decoded.stored;
  if (!stored.isValid())
    Refuse(name, "cannot be read as " + QString(info.name) + ": " + reader.errorString());
  if (qint64{stored.width()} * stored.height() > rules.pixel_limit) {
    Refuse(name, QString("is %1×%2 pixels, more than the %3 megapixels a picture may have")
                     .arg(stored.width())
                     .arg(stored.height())
                     .arg(rules.pixel_limit / 1'000'000));
  }
  if (info.kind == ImageKind::Jpeg && !JpegIsComplete(bytes)) {
    Refuse(name, "is cut short: the JPEG ends before its last picture data");
  }
  reader.setAllocationLimit(static_cast<int>(rules.pixel_limit * 8 / (1024 * 1024)) + 1);
  reader.setAutoTransform(true);
  decoded.turn = reader.transformation();
  const bool sideways = (decoded.turn & QImageIOHandler::TransformationRotate90) != 0;
  decoded.upright = sideways ? stored.transposed() : stored;
  // libjpeg decodes at a half, a quarter or an eighth of the size for little more than the
  // cost of reading the file; the reader then shrinks what is left smoothly. The size asked
  // for is the stored one: the reader turns the picture after decoding it.
  const QSize fitted = FitWidth(decoded.upright, rules.max_width);
  if (info.kind == ImageKind::Jpeg && fitted.width() * 2 <= decoded.upright.width()) {
    reader.setScaledSize(sideways ? fitted.transposed() : fitted);
  }
  decoded.image = reader.read();
  if (decoded.image.isNull())
    Refuse(name, "cannot be read as " + QString(info.name) + ": " + reader.errorString());
  return decoded;
}

QSize GifSize(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return QImageReader(&buffer, "gif").size();
}

// The stored bytes, metadata removed or kept: nothing to turn, nothing to shrink, or
// re-encoding would only have made the file larger.
void UseOriginal(PreparedImage& image, const QByteArray& bytes, const PhotoMetadata& metadata,
                 QSize upright) {
  image.plain = {metadata.Strip(bytes), upright, false};
  image.kept = {bytes, upright, false};
}

}  // namespace

PreparedImage PrepareImage(const QString& name, const QByteArray& bytes, const ImageRules& rules,
                           const PhotoMetadata& metadata) {
  if (bytes.isEmpty()) Refuse(name, "is empty (0 bytes)");
  const std::optional<ImageKind> kind = SniffImageKind(bytes);
  if (!kind) Refuse(name, "is no picture a page can show (GIF, JPEG, PNG, WebP or SVG)");
  const ImageKindInfo& info = InfoOf(*kind);
  PreparedImage image;
  image.source_name = name;
  image.name = CopyName(name, *kind);
  image.kind = *kind;
  image.original_bytes = bytes.size();
  if (!info.raster) {
    if (*kind == ImageKind::Gif) image.original_size = GifSize(bytes);
    image.plain = image.kept = {bytes, image.original_size, false};
    return image;
  }
  try {
    const Decoded decoded = Decode(name, bytes, info, rules);
    image.original_size = decoded.stored;
    const PhotoMetadata::Found found = metadata.Read(bytes);
    image.has_metadata = found.any;
    image.has_location = found.location;
    image.turned = decoded.turn != QImageIOHandler::TransformationNone;
    const QSize upright = decoded.upright;
    const QSize fitted = FitWidth(upright, rules.max_width);
    // An animated PNG would lose its frames to the encoder; it keeps its size.
    const bool animated = *kind == ImageKind::Png && PngIsAnimated(bytes);
    if (animated || (!image.turned && fitted == upright)) {
      UseOriginal(image, bytes, metadata, upright);
      return image;
    }
    const QImage scaled =
        decoded.image.size() == fitted
            ? decoded.image
            : decoded.image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QByteArray encoded = Encode(PixelsOnly(scaled), *kind);
    image.plain = {encoded, fitted, true};
    image.kept = {metadata.CopyUpright(bytes, encoded), fitted, true};
    if (!image.turned && image.plain.bytes.size() > bytes.size()) {
      UseOriginal(image, bytes, metadata, upright);
    } else if (!image.turned && image.kept.bytes.size() > bytes.size()) {
      image.kept = {bytes, upright, false};
    }
  } catch (const core::QuillError& error) {
    const QString reason = QString::fromStdString(error.what());
    if (reason.startsWith(name)) throw;
    Refuse(name, reason);
  }
  return image;
}

QString ByteSize(qint64 bytes) {
  if (bytes < 1000) return QString("%1 bytes").arg(bytes);
  if (bytes < 1'000'000) return QString("%1 KB").arg((bytes + 500) / 1000);
  return QString("%1 MB").arg(static_cast<double>(bytes) / 1e6, 0, 'f', 1);
}

QString Dimensions(QSize size) {
  return QString("%1%2%3").arg(size.width()).arg(QChar(0x00D7)).arg(size.height());
}

QString DescribePreparation(const PreparedImage& image, bool keep_metadata) {
  const QString before = image.original_size.isValid() ? Dimensions(image.original_size) + ", " +
                                                             ByteSize(image.original_bytes)
                                                       : ByteSize(image.original_bytes);
  QString line;
  if (image.Untouched()) {
    line = before + ": copied as it is (" + InfoOf(image.kind).name + ")";
  } else {
    const ImageCopy& copy = image.Copy(keep_metadata);
    line = before + QString::fromUtf8(" \u2192 ") + Dimensions(copy.size) + ", about " +
           ByteSize(copy.bytes.size());
    if (image.turned) line += "; turned upright";
    if (image.has_metadata && keep_metadata)
      line += "; metadata kept";
    else if (image.has_location)
      line += "; location removed";
    else if (image.has_metadata)
      line += "; metadata removed";
  }
  if (image.name != image.source_name) line += "; saved as " + image.name;
  return line;
}

}  // namespace quill::ui
