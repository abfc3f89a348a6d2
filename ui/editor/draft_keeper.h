#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/stamp.h"

class QWidget;

namespace quill::ui {

class App;

// Keeps the main window's unsaved text as the open project's draft: the new entry being
// written, or the changes to the stored entry being edited. A change is written about two
// seconds after the last keystroke (and at least every ten seconds while typing goes on),
// and at once when the window asks before its text box shows something else. A draft that
// cannot be written is reported once and held in memory for as long as the window lives;
// typing goes on.
class DraftKeeper final : public QObject {
  Q_OBJECT

 public:
  // `text` reads the text box exactly as it stands.
  DraftKeeper(App& app, QWidget& window, std::function<QString()> text);

  // The text box now holds the new entry; its draft, if there is one.
  std::optional<QString> StartNewEntry();
  // The text box now holds the stored entry `entry`, whose stored text is `stored`; the
  // entry's draft, if there is one.
  std::optional<QString> StartEdit(const core::Stamp& entry, const QString& stored);
  // The text box holds nothing to keep.
  void Stop();

  // The user changed the text.
  void Changed();
  // Writes a change not yet written.
  void Flush();
  // Throws away the draft of what the text box holds: it was saved, or the user chose.
  void Discard();
  // The entry `from` was re-dated to `to`: its draft goes along.
  void Moved(const core::Stamp& from, const core::Stamp& to);

 private:
  enum class Target { None, NewEntry, Edit };

  // Runs a draft operation; a failure is shown, unless the user was told already and no
  // draft was written since. True when it succeeded.
  bool Guarded(const QString& what, const std::function<void()>& operation);
  std::optional<QString> Start(Target target,
                               const std::function<std::optional<std::string>()>& read);
  // What names the draft of the text box's text among those held in memory.
  std::string Key() const;

  App& app_;
  QWidget& window_;
  std::function<QString()> text_;
  QTimer timer_;
  QElapsedTimer pending_since_;
  bool pending_ = false;
  bool told_ = false;
  Target target_ = Target::None;
  core::Stamp entry_;
  QString stored_;
  std::map<std::string, QString> unwritten_;
};

}  // namespace quill::ui
