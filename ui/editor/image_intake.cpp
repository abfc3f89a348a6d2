#include "ui/editor/image_intake.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "core/atomic_file.h"
#include "core/quill_error.h"
#include "ui/desktop_services.h"

namespace quill::ui {
namespace {

// Larger files are no pictures for a web page; reading them whole would only fill memory.
constexpr qint64 kLargestFile = 256LL * 1024 * 1024;
constexpr qint64 kLargestPastedPng = 1'000'000;

QByteArray Encode(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  writer.write(image);
  return bytes;
}

}  // namespace

ImageIntake::ImageIntake(DesktopServices& services, int max_width) : services_(services) {
  rules_.max_width = max_width;
  lblPlan = new QLabel;
  lblPlan->setObjectName("lblPlan");
  lblPlan->setWordWrap(true);
  chkMetadata = new QCheckBox("Keep the photo's metadata (camera, place, time)");
  chkMetadata->setObjectName("chkMetadata");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lblPlan);
  layout->addWidget(chkMetadata);
  connect(chkMetadata, &QCheckBox::toggled, this, [this] { Describe(); });
  Clear();
}

bool ImageIntake::TakeFile(const QString& path) {
  QFile file(path);
  if (file.size() > kLargestFile) {
    services_.Oops(window(), path + " is larger than 256 MB: no picture for a web page.");
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    services_.Oops(window(), "Cannot read " + path + ": " + file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    services_.Oops(window(), "Cannot read " + path + ": " + file.errorString());
    return false;
  }
  return TakeBytes(QFileInfo(path).fileName(), bytes);
}

bool ImageIntake::TakeBytes(const QString& name, const QByteArray& bytes) {
  try {
    image_ = PrepareImage(name, bytes, rules_, metadata_);
  } catch (const core::QuillError& error) {
    services_.Oops(window(), QString::fromStdString(error.what()));
    return false;
  }
  chkMetadata->setChecked(false);
  Describe();
  return true;
}

void ImageIntake::Clear() {
  image_.reset();
  chkMetadata->setChecked(false);
  Describe();
}

void ImageIntake::Describe() {
  const bool raster = image_ && !image_->Untouched();
  chkMetadata->setEnabled(raster && image_->has_metadata);
  lblPlan->setText(image_ ? image_->name + ": " +
                                DescribePreparation(*image_, chkMetadata->isChecked())
                          : QString());
  lblPlan->setVisible(image_.has_value());
  chkMetadata->setVisible(raster);
}

std::optional<QString> ImageIntake::Place(const QString& folder) {
  const QByteArray& bytes = image_->Copy(chkMetadata->isChecked()).bytes;
  const QString dest = folder + image_->name;
  QFile existing(dest);
  if (existing.exists()) {
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) return image_->name;
    const MessageAnswer answer = services_.ShowMessage(
        window(), "Oops!",
        image_->name + " already exists in the output folder and holds another file. Replace it?",
        MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return std::nullopt;
  }
  try {
    core::AtomicFile file(dest.toStdString());
    file.Write(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    file.Commit();
  } catch (const core::QuillError& error) {
    services_.Oops(window(), QString::fromStdString(error.what()));
    return std::nullopt;
  }
  return image_->name;
}

QString ImageAddress(const QString& name) {
  return QString::fromLatin1(QUrl::toPercentEncoding(name, "!$'()*+,;=@"));
}

PastedImage EncodePasted(const QImage& image, const QString& stamp) {
  QByteArray png = Encode(image, "png", -1);
  if (png.size() > kLargestPastedPng && !image.hasAlphaChannel()) {
    return {"pasted-" + stamp + ".jpg", Encode(image, "jpeg", 85)};
  }
  return {"pasted-" + stamp + ".png", png};
}

}  // namespace quill::ui
