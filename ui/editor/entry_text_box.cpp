#include "ui/editor/entry_text_box.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <optional>

namespace quill::ui {
namespace {

bool IsPictureFile(const QUrl& url) {
  static const QStringList kSuffixes = {"gif", "jpg", "jpeg", "png", "webp", "svg"};
  return url.isLocalFile() && kSuffixes.contains(QFileInfo(url.toLocalFile()).suffix().toLower());
}

}  // namespace

EntryTextBox::EntryTextBox(std::function<void(const ArrivingPicture&)> on_picture)
    : on_picture_(std::move(on_picture)) {}

std::optional<ArrivingPicture> EntryTextBox::PictureIn(const QMimeData& data) {
  if (data.hasUrls()) {
    const QList<QUrl> urls = data.urls();
    if (!urls.isEmpty() && IsPictureFile(urls.front()))
      return ArrivingPicture{urls.front().toLocalFile(), {}};
  }
  if (data.hasImage() && !data.hasText()) {
    const QImage image = qvariant_cast<QImage>(data.imageData());
    if (!image.isNull()) return ArrivingPicture{{}, image};
  }
  return std::nullopt;
}

bool EntryTextBox::canInsertFromMimeData(const QMimeData* source) const {
  return (!isReadOnly() && PictureIn(*source)) || QPlainTextEdit::canInsertFromMimeData(source);
}

void EntryTextBox::insertFromMimeData(const QMimeData* source) {
  if (const std::optional<ArrivingPicture> picture = PictureIn(*source)) {
    on_picture_(*picture);
    return;
  }
  QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace quill::ui
