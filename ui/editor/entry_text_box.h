#pragma once

#include <QImage>
#include <QPlainTextEdit>
#include <QString>
#include <functional>
#include <optional>

namespace quill::ui {

// A picture that arrived in the text box: a file dropped or copied in a file manager
// (`path`), or a bitmap from the clipboard (`image`).
struct ArrivingPicture {
  QString path;
  QImage image;
};

// The entry's text box. A picture pasted (Ctrl+V, the context menu's Paste) or dropped on
// it goes to `on_picture` instead of into the text; text arrives as before.
class EntryTextBox final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit EntryTextBox(std::function<void(const ArrivingPicture&)> on_picture);

  // The picture `data` carries, if any: a local picture file wins over a bitmap, and text
  // wins over a bitmap (a word processor puts a picture of the copied text beside it).
  static std::optional<ArrivingPicture> PictureIn(const QMimeData& data);

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  std::function<void(const ArrivingPicture&)> on_picture_;
};

}  // namespace quill::ui
