#include "ui/images/exiv2_metadata.h"

// Exiv2 0.27 hands its images out in std::auto_ptr.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

#include <exiv2/exiv2.hpp>

#include "core/quill_error.h"
#include "ui/images/image_kind.h"
#include "ui/images/png_chunks.h"

namespace quill::ui {
namespace {

auto Open(const QByteArray& file) {
  auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(file.constData()),
                                         static_cast<long>(file.size()));
  image->readMetadata();
  return image;
}

QByteArray Bytes(Exiv2::Image& image) {
  Exiv2::BasicIo& io = image.io();
  io.open();
  const Exiv2::DataBuf data = io.read(static_cast<long>(io.size()));
  io.close();
  return QByteArray(reinterpret_cast<const char*>(data.pData_), data.size_);
}

template <class Work>
auto Guarded(Work work) {
  try {
    return work();
  } catch (const Exiv2::AnyError& error) {
    throw core::QuillError(std::string("its metadata cannot be read or written: ") + error.what());
  }
}

bool HasLocation(const Exiv2::Image& image) {
  for (const Exiv2::Exifdatum& datum : image.exifData()) {
    if (datum.groupName() == "GPSInfo") return true;
  }
  for (const Exiv2::Xmpdatum& datum : image.xmpData()) {
    if (datum.key().find(".GPS") != std::string::npos) return true;
  }
  return false;
}

}  // namespace

Exiv2Metadata::Exiv2Metadata() { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); }

PhotoMetadata::Found Exiv2Metadata::Read(const QByteArray& file) const {
  return Guarded([&] {
    const auto image = Open(file);
    Found found;
    found.any = !image->exifData().empty() || !image->xmpData().empty() ||
                !image->iptcData().empty() || !image->xmpPacket().empty();
    found.location = HasLocation(*image);
    return found;
  });
}

QByteArray Exiv2Metadata::Strip(const QByteArray& file) const {
  // Exiv2 leaves a PNG's EXIF chunk and most of its text chunks in place.
  if (SniffImageKind(file) == ImageKind::Png) return PngPictureOnly(file);
  return Guarded([&] {
    auto image = Open(file);
    Exiv2::DataBuf profile(image->iccProfile()->pData_, image->iccProfile()->size_);
    image->clearMetadata();
    if (profile.size_ > 0) image->setIccProfile(profile, false);
    image->writeMetadata();
    return Bytes(*image);
  });
}

QByteArray Exiv2Metadata::CopyUpright(const QByteArray& source, const QByteArray& target) const {
  return Guarded([&] {
    const auto from = Open(source);
    auto into = Open(target);
    Exiv2::ExifData exif = from->exifData();
    if (exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end())
      exif["Exif.Image.Orientation"] = static_cast<uint16_t>(1);
    Exiv2::XmpData xmp = from->xmpData();
    if (xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation")) != xmp.end())
      xmp["Xmp.tiff.Orientation"] = "1";
    into->setExifData(exif);
    into->setXmpData(xmp);
    into->setIptcData(from->iptcData());
    into->writeMetadata();
    return Bytes(*into);
  });
}

}  // namespace quill::ui
