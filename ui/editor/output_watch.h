#pragma once

#include <QObject>
#include <functional>

class QTimer;
class QWidget;

namespace quill::ui {

// Asks again whether the site needs generating whenever the window gains the focus and once a
// minute while it is open: an entry waiting for its time makes the site stale as that time
// comes, with nobody saving anything.
class OutputWatch final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kIntervalMs = 60 * 1000;

  OutputWatch(QWidget& window, std::function<void()> check);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> check_;
  QTimer* timer_;
};

}  // namespace quill::ui
