#include "ui/images/image_kind.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <iterator>

namespace quill::ui {
namespace {

constexpr std::array<ImageKindInfo, 5> kKinds{{
    {ImageKind::Jpeg, "JPEG", "jpeg", "jpg", true},
    {ImageKind::Png, "PNG", "png", "png", true},
    {ImageKind::Webp, "WebP", "webp", "webp", true},
    {ImageKind::Gif, "GIF", "gif", "gif", false},
    {ImageKind::Svg, "SVG", "svg", "svg", false},
}};

struct Alias {
  ImageKind kind;
  const char* extension;
};
constexpr Alias kAliases[] = {{ImageKind::Jpeg, "jpg"},  {ImageKind::Jpeg, "jpeg"},
                              {ImageKind::Jpeg, "jpe"},  {ImageKind::Png, "png"},
                              {ImageKind::Webp, "webp"}, {ImageKind::Gif, "gif"},
                              {ImageKind::Svg, "svg"}};

bool StartsWith(const QByteArray& bytes, int at, const char* magic) {
  return bytes.mid(at, static_cast<qsizetype>(qstrlen(magic))) == magic;
}

bool LooksLikeSvg(const QByteArray& bytes) {
  const QByteArray head = bytes.left(4096).trimmed();
  return head.startsWith('<') && head.contains("<svg");
}

unsigned char At(const QByteArray& bytes, qsizetype at) {
  return static_cast<unsigned char>(bytes[at]);
}

}  // namespace

const ImageKindInfo& InfoOf(ImageKind kind) {
  return *std::find_if(kKinds.begin(), kKinds.end(),
                       [kind](const ImageKindInfo& info) { return info.kind == kind; });
}

std::optional<ImageKind> SniffImageKind(const QByteArray& bytes) {
  if (StartsWith(bytes, 0, "\xFF\xD8\xFF")) return ImageKind::Jpeg;
  if (StartsWith(bytes, 0, "\x89PNG\r\n\x1A\n")) return ImageKind::Png;
  if (StartsWith(bytes, 0, "RIFF") && StartsWith(bytes, 8, "WEBP")) return ImageKind::Webp;
  if (StartsWith(bytes, 0, "GIF87a") || StartsWith(bytes, 0, "GIF89a")) return ImageKind::Gif;
  if (LooksLikeSvg(bytes)) return ImageKind::Svg;
  return std::nullopt;
}

bool HasExtensionOf(const QString& name, ImageKind kind) {
  const QString suffix = QFileInfo(name).suffix().toLower();
  return std::any_of(std::begin(kAliases), std::end(kAliases), [&](const Alias& alias) {
    return alias.kind == kind && suffix == QLatin1String(alias.extension);
  });
}

// Walks the segments up to the first scan, then the entropy-coded data, where a 0xFF byte is
// followed by 0x00 (a stuffed byte), a restart marker or the next segment's marker.
bool JpegIsComplete(const QByteArray& bytes) {
  qsizetype at = 2;
  bool in_scan = false;
  while (at + 1 < bytes.size()) {
    if (in_scan) {
      if (At(bytes, at) != 0xFF) {
        ++at;
        continue;
      }
      const unsigned char next = At(bytes, at + 1);
      if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
        at += next == 0xFF ? 1 : 2;
        continue;
      }
      in_scan = false;
    }
    if (At(bytes, at) != 0xFF) return false;
    const unsigned char marker = At(bytes, at + 1);
    if (marker == 0xD9) return true;
    if (marker == 0xFF) {  // fill bytes before a marker
      ++at;
      continue;
    }
    if (at + 3 >= bytes.size()) return false;
    const qsizetype length = (At(bytes, at + 2) << 8) | At(bytes, at + 3);
    at += 2 + length;
    in_scan = marker == 0xDA;
  }
  return false;
}

}  // namespace quill::ui
