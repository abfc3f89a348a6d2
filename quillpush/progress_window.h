#pragma once

#include <QWidget>

#include "quillpush/push_job.h"

class QCloseEvent;
class QEventLoop;
class QLabel;
class QProgressBar;
class QPushButton;

namespace quill::push {

// The small window an upload shows on a desktop: the file being sent, a progress bar, the
// bytes done and a Cancel button; at the end, what failed.
class ProgressWindow final : public QWidget, public PushObserver {
 public:
  explicit ProgressWindow(const QString& project);

  void Warn(const std::string& text) override;
  void Starting(std::size_t files, std::size_t total, std::uint64_t bytes) override;
  bool Progress(const UploadProgress& progress) override;
  void Sent(const SiteFile& file) override;
  void Deleted(const std::string& name) override;

  // Shows what went wrong and waits for the window to be closed.
  void Fail(const QString& message);
  // Says what the upload did ("Sent 3 files, 12 unchanged") for two seconds, or until the
  // window is closed.
  void Done(const PushReport& report);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void WaitForClose(int milliseconds);

  QLabel* file_;
  QLabel* error_;
  QLabel* warnings_;
  QProgressBar* bar_;
  QLabel* bytes_;
  QPushButton* cancel_;
  std::uint64_t total_ = 0;
  bool cancelled_ = false;
  QEventLoop* waiting_ = nullptr;  // while the last word is shown
};

}  // namespace quill::push
