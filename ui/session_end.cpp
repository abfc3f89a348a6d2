#include "ui/session_end.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

#include "ui/app.h"
#include "ui/editor/frm_blog.h"

namespace quill::ui {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// A signal handler is handed nothing of ours, so the one end it writes to has to be found
// here; everything else happens in the event loop, which the byte wakes.
std::atomic<int> wake_fd{-1};

void Wake(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(wake_fd.load(), &byte, 1);
  errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(App& app) : app_(app) {
  connect(
      qGuiApp, &QGuiApplication::commitDataRequest, this,
      [this](QSessionManager&) { CommitData(); }, Qt::DirectConnection);
}

SessionEnd::~SessionEnd() {
  if (wake_[0] < 0) return;
  for (int number : kSignals) ::signal(number, SIG_DFL);
  wake_fd = -1;
  ::close(wake_[0]);
  ::close(wake_[1]);
}

void SessionEnd::WatchSignals() {
  if (wake_[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wake_) != 0) return;
  ::fcntl(wake_[1], F_SETFL, O_NONBLOCK);  // a full pipe loses a byte, never the handler
  wake_fd = wake_[1];
  notifier_ = new QSocketNotifier(wake_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    [[maybe_unused]] const auto read = ::read(wake_[0], bytes, sizeof bytes);
    EndNow();
  });
  struct sigaction action {};
  action.sa_handler = Wake;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kSignals) ::sigaction(number, &action, nullptr);
}

void SessionEnd::CommitData() {
  if (frmBlog* editor = app_.Editor()) editor->KeepDraft();
}

void SessionEnd::EndNow() {
  // Closing every window writes the drafts first, then ends the program.
  app_.CloseAllWindows(false);
}

}  // namespace quill::ui
