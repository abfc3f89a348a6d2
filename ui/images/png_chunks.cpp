#include "ui/images/png_chunks.h"

#include <QtEndian>
#include <algorithm>
#include <iterator>

namespace quill::ui {
namespace {

constexpr qsizetype kSignature = 8;

// Ancillary chunks that change how the picture shows; every other one is left out.
constexpr const char* kPictureChunks[] = {"PLTE", "IDAT", "IEND", "IHDR", "tRNS",
                                          "gAMA", "cHRM", "sRGB", "iCCP", "sBIT",
                                          "bKGD", "pHYs", "acTL", "fcTL", "fdAT"};

bool IsPictureChunk(const QByteArray& type) {
  return std::any_of(std::begin(kPictureChunks), std::end(kPictureChunks),
                     [&](const char* kept) { return type == kept; });
}

// Calls `visit(type, whole chunk)` for each chunk; false when the chunks run past the end.
template <class Visit>
bool EachChunk(const QByteArray& png, Visit visit) {
  qsizetype at = kSignature;
  while (at + 12 <= png.size()) {
    const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
    if (length > static_cast<quint64>(png.size() - at - 12)) return false;
    const qsizetype whole = 12 + static_cast<qsizetype>(length);
    visit(png.mid(at + 4, 4), png.mid(at, whole));
    at += whole;
  }
  return at == png.size();
}

}  // namespace

QByteArray PngPictureOnly(const QByteArray& png) {
  QByteArray kept = png.left(kSignature);
  const bool whole = EachChunk(png, [&](const QByteArray& type, const QByteArray& chunk) {
    if (IsPictureChunk(type)) kept += chunk;
  });
  return whole ? kept : png;
}

bool PngIsAnimated(const QByteArray& png) {
  bool animated = false;
  EachChunk(png, [&](const QByteArray& type, const QByteArray&) { animated |= type == "acTL"; });
  return animated;
}

}  // namespace quill::ui
