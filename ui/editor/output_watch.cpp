#include "ui/editor/output_watch.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace quill::ui {

OutputWatch::OutputWatch(QWidget& window, std::function<void()> check)
    : QObject(&window), check_(std::move(check)), timer_(new QTimer(this)) {
  timer_->setObjectName("tmrOutputDue");
  timer_->setInterval(kIntervalMs);
  connect(timer_, &QTimer::timeout, this, [this] { check_(); });
  timer_->start();
  window.installEventFilter(this);
}

bool OutputWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowActivate) check_();
  return QObject::eventFilter(watched, event);
}

}  // namespace quill::ui
