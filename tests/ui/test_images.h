#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

namespace quill::testing {

// Pictures the tests make themselves.

// Left half red, right half blue: which way it was turned shows in the pixels.
inline QImage TwoColours(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(0, 0, width / 2, height, Qt::red);
  painter.fillRect(width / 2, 0, width - width / 2, height, Qt::blue);
  return image;
}

// Noise compresses badly: re-encoding it shows every byte.
inline QImage Noise(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  quint32 state = 12345;
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
    for (int x = 0; x < width; ++x)
      line[x] = 0xFF000000u | ((state = state * 1664525u + 1013904223u) >> 8);
  }
  return image;
}

inline QByteArray Encoded(const QImage& image, const char* format, int quality = -1,
                          bool progressive = false) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  writer.setProgressiveScanWrite(progressive);
  writer.write(image);
  return bytes;
}

// An EXIF block (APP1 payload, little-endian TIFF) with an orientation and, when asked, a
// GPS position: IFD0 holds Orientation and the GPS IFD's offset; the GPS IFD holds the
// latitude's reference and value.
inline QByteArray ExifBlock(int orientation, bool gps) {
  QByteArray tiff("II*\0\x08\0\0\0", 8);
  auto u16 = [&](quint16 v) { tiff.append(char(v & 0xFF)).append(char(v >> 8)); };
  auto u32 = [&](quint32 v) {
    for (int i = 0; i < 4; ++i) tiff.append(char((v >> (8 * i)) & 0xFF));
  };
  const int entries = gps ? 2 : 1;
  u16(static_cast<quint16>(entries));
  u16(0x0112), u16(3), u32(1), u16(static_cast<quint16>(orientation)), u16(0);
  const quint32 gps_ifd = 8 + 2 + 12 * entries + 4;
  if (gps) u16(0x8825), u16(4), u32(1), u32(gps_ifd);
  u32(0);  // no next IFD
  if (gps) {
    const quint32 values = gps_ifd + 2 + 12 * 2 + 4;
    u16(2);
    u16(0x0001), u16(2), u32(2), tiff.append("N\0\0\0", 4);
    u16(0x0002), u16(5), u32(3), u32(values);
    u32(0);
    for (quint32 part : {51u, 30u, 7u}) u32(part), u32(1);
  }
  return QByteArray("Exif\0\0", 6) + tiff;
}

// The JPEG with `exif` as an APP1 segment right after its start.
inline QByteArray WithExif(const QByteArray& jpeg, const QByteArray& exif) {
  const quint16 length = static_cast<quint16>(exif.size() + 2);
  QByteArray segment("\xFF\xE1", 2);
  segment.append(char(length >> 8)).append(char(length & 0xFF)).append(exif);
  return jpeg.left(2) + segment + jpeg.mid(2);
}

inline quint32 Crc32(const QByteArray& bytes) {
  quint32 crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline QByteArray PngChunk(const char* type, const QByteArray& data) {
  QByteArray chunk(4, '\0');
  qToBigEndian(static_cast<quint32>(data.size()), chunk.data());
  const QByteArray body = QByteArray(type, 4) + data;
  QByteArray crc(4, '\0');
  qToBigEndian(Crc32(body), crc.data());
  return chunk + body + crc;
}

// A PNG that claims `width`×`height` pixels in a few bytes: its header and a scrap of data.
inline QByteArray PngClaiming(quint32 width, quint32 height) {
  QByteArray header(13, '\0');
  qToBigEndian(width, header.data());
  qToBigEndian(height, header.data() + 4);
  header[8] = 8;  // bits per sample
  header[9] = 2;  // RGB
  return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) +
         PngChunk("IDAT", QByteArray("\x78\x9C\x03\x00\x00\x00\x00\x01", 8)) + PngChunk("IEND", {});
}

// A PNG with an EXIF chunk (orientation and GPS) and a text chunk, as phones write them.
inline QByteArray PngWithExif(const QImage& image) {
  const QByteArray png = Encoded(image, "png");
  const qsizetype after_header = 8 + 12 + 13;
  return png.left(after_header) + PngChunk("eXIf", ExifBlock(1, true).mid(6)) +
         PngChunk("tEXt", QByteArray("Comment\0GPSLatitude 51.5", 24)) + png.mid(after_header);
}

// Two frames of one pixel, looping: an animated GIF.
inline QByteArray AnimatedGif() {
  const QByteArray frame(
      "\x21\xF9\x04\x00\x0A\x00\x00\x00"
      "\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00",
      23);
  return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF", 19) +
         QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19) + frame + frame + "\x3B";
}

}  // namespace quill::testing
