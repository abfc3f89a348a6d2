// Inserting a camera's photo through the image dialog's preparation, as one process:
//   image-insert-bench make PHOTO      writes a 24-megapixel JPEG (6000×4000) that lies on its
//                                      side (EXIF orientation 6) and carries a GPS position
//   image-insert-bench insert PHOTO DIR
//                                      reads it, turns it upright, shrinks it to 1600 pixels
//                                      wide, removes its metadata and writes the copy into DIR
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <cstdio>

#include "core/atomic_file.h"
#include "ui/images/exiv2_metadata.h"
#include "ui/images/image_preparer.h"

namespace {

// Sky, ground and fine grain, as a photo has: smooth areas and noise JPEG must keep.
QImage Landscape() {
  QImage image(6000, 4000, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient sky(0, 0, 0, 4000);
  sky.setColorAt(0, QColor(90, 150, 230));
  sky.setColorAt(0.6, QColor(220, 230, 240));
  sky.setColorAt(0.61, QColor(70, 110, 40));
  sky.setColorAt(1, QColor(40, 60, 20));
  painter.fillRect(image.rect(), sky);
  painter.end();
  QRandomGenerator random(7);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grain = static_cast<int>(random.bounded(24u)) - 12;
      line[x] = qRgb(qBound(0, qRed(line[x]) + grain, 255), qBound(0, qGreen(line[x]) + grain, 255),
                     qBound(0, qBlue(line[x]) + grain, 255));
    }
  }
  return image;
}

// APP1 with a little-endian TIFF block: orientation 6 and a GPS latitude.
QByteArray Exif() {
  const unsigned char block[] = {
      'E',  'x',  'i',  'f',  0, 0, 'I', 'I', 42, 0, 8,   0, 0, 0,               // TIFF header
      2,    0,    0x12, 0x01, 3, 0, 1,   0,   0,  0, 6,   0, 0, 0,               // Orientation 6
      0x25, 0x88, 4,    0,    1, 0, 0,   0,   38, 0, 0,   0, 0, 0, 0, 0,         // GPS IFD at 38
      1,    0,    1,    0,    2, 0, 2,   0,   0,  0, 'N', 0, 0, 0, 0, 0, 0, 0};  // GPSLatitudeRef N
  const QByteArray payload(reinterpret_cast<const char*>(block), sizeof block);
  const int length = static_cast<int>(payload.size()) + 2;
  return QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + payload;
}

int Make(const QString& path) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(92);
  writer.write(Landscape());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return 1;
  file.write(jpeg.left(2) + Exif() + jpeg.mid(2));
  return 0;
}

int Insert(const QString& path, const QString& folder) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return 1;
  const quill::ui::Exiv2Metadata metadata;
  const quill::ui::PreparedImage image =
      quill::ui::PrepareImage(QFileInfo(path).fileName(), file.readAll(), {}, metadata);
  quill::core::AtomicFile copy((folder + "/" + image.name).toStdString());
  copy.Write(std::string_view(image.plain.bytes.constData(),
                              static_cast<size_t>(image.plain.bytes.size())));
  copy.Commit();
  std::printf("%s: %s\n", qPrintable(image.name),
              qPrintable(quill::ui::DescribePreparation(image, false)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = application.arguments();
  if (arguments.size() == 3 && arguments[1] == "make") return Make(arguments[2]);
  if (arguments.size() == 4 && arguments[1] == "insert") return Insert(arguments[2], arguments[3]);
  std::fprintf(stderr, "usage: image-insert-bench make PHOTO | insert PHOTO FOLDER\n");
  return 2;
}
