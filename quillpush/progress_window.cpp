#include "quillpush/progress_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace quill::push {

ProgressWindow::ProgressWindow(const QString& project) {
  setWindowTitle("quillpush: " + project);
  file_ = new QLabel("Looking for changes…");
  bar_ = new QProgressBar;
  bar_->setRange(0, 1000);
  bytes_ = new QLabel;
  error_ = new QLabel;
  error_->setWordWrap(true);
  error_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette red = error_->palette();
  red.setColor(QPalette::WindowText, QColor(176, 0, 0));
  error_->setPalette(red);
  error_->hide();
  warnings_ = new QLabel;
  warnings_->setWordWrap(true);
  warnings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  warnings_->hide();
  cancel_ = new QPushButton("Cancel");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file_);
  layout->addWidget(bar_);
  layout->addWidget(bytes_);
  layout->addWidget(warnings_);
  layout->addWidget(error_);
  layout->addWidget(cancel_, 0, Qt::AlignRight);
  setMinimumWidth(460);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(230, 60));
  }
  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (waiting_ != nullptr) {
      close();
    } else {
      cancelled_ = true;
    }
  });
  show();
  QCoreApplication::processEvents();
}

void ProgressWindow::Warn(const std::string& text) {
  std::fprintf(stderr, "quillpush: warning: %s\n", text.c_str());
  const QString line = QString::fromStdString(text);
  warnings_->setText(warnings_->text().isEmpty() ? line : warnings_->text() + "\n" + line);
  warnings_->show();
  adjustSize();
  QCoreApplication::processEvents();
}

void ProgressWindow::Starting(std::size_t files, std::size_t total, std::uint64_t bytes) {
  total_ = bytes;
  file_->setText(QString("%1 of %2 files to send").arg(files).arg(total));
  QCoreApplication::processEvents();
}

bool ProgressWindow::Progress(const UploadProgress& progress) {
  const QLocale locale;
  const std::uint64_t bytes = progress.bytes_done;
  file_->setText(QString("Sent %1 of %2 files").arg(progress.files_done).arg(progress.files));
  bar_->setValue(total_ == 0 ? 1000 : static_cast<int>(bytes * 1000 / total_));
  bytes_->setText(locale.toString(static_cast<qulonglong>(bytes)) + " of " +
                  locale.toString(static_cast<qulonglong>(total_)) + " bytes");
  QCoreApplication::processEvents();
  return !cancelled_;
}

void ProgressWindow::Sent(const SiteFile&) { QCoreApplication::processEvents(); }

void ProgressWindow::Deleted(const std::string& name) {
  file_->setText("Deleted " + QString::fromStdString(name));
  QCoreApplication::processEvents();
}

void ProgressWindow::Fail(const QString& message) {
  file_->setText("The upload stopped:");
  error_->setText(message);
  error_->show();
  adjustSize();
  WaitForClose(0);
}

// Until the window is closed, or for `milliseconds` when that is not 0.
void ProgressWindow::WaitForClose(int milliseconds) {
  cancel_->setText("Close");
  QEventLoop wait;
  waiting_ = &wait;
  if (milliseconds > 0) QTimer::singleShot(milliseconds, &wait, &QEventLoop::quit);
  wait.exec();
  waiting_ = nullptr;
}

void ProgressWindow::Done(const PushReport& report) {
  QString summary = QString("Sent %1 file%2, %3 unchanged")
                        .arg(report.sent)
                        .arg(report.sent == 1 ? "" : "s")
                        .arg(report.unchanged);
  if (report.deleted > 0) summary += QString(", %1 deleted").arg(report.deleted);
  file_->setText(warnings_->isHidden() ? summary : summary + "; see the warnings:");
  bar_->setValue(bar_->maximum());
  WaitForClose(2000);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  // The close box ends the last word's wait; during the upload it cancels, and the window
  // stays to say how the upload ended.
  if (waiting_ != nullptr) {
    waiting_->quit();
    event->accept();
  } else {
    cancelled_ = true;
    event->ignore();
  }
}

}  // namespace quill::push
