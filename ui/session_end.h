#pragma once

#include <QObject>

class QSessionManager;
class QSocketNotifier;

namespace quill::ui {

class App;

// How the desktop ends the program: a logout or a shutdown sends SIGTERM or SIGHUP (a
// terminal's Ctrl+C, SIGINT), and a session manager first asks the program to commit its
// data. Each writes the unsaved text to its drafts at once; a signal then ends the program
// normally, as closing its last window does, and the session manager ends it itself.
class SessionEnd final : public QObject {
  Q_OBJECT

 public:
  explicit SessionEnd(App& app);
  ~SessionEnd() override;
  SessionEnd(const SessionEnd&) = delete;
  SessionEnd& operator=(const SessionEnd&) = delete;

  // Takes over SIGTERM, SIGHUP and SIGINT for this process; once per run, from main().
  void WatchSignals();
  // The session manager's request: the drafts are written, the program goes on until told.
  void CommitData();
  // A signal came: the drafts are written and the program ends.
  void EndNow();

 private:
  App& app_;
  int wake_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quill::ui
