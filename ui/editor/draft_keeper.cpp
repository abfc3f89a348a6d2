#include "ui/editor/draft_keeper.h"

#include "core/draft_store.h"
#include "ui/app.h"

namespace quill::ui {
namespace {

constexpr int kQuietMilliseconds = 2000;
constexpr int kLongestWaitMilliseconds = 10000;
const char* const kCannotKeep = "Your unsaved text could not be kept as a draft.";
const char* const kCannotDrop = "A draft that is no longer needed could not be removed.";

}  // namespace

DraftKeeper::DraftKeeper(App& app, QWidget& window, std::function<QString()> text)
    : QObject(&window), app_(app), window_(window), text_(std::move(text)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kQuietMilliseconds);
  connect(&timer_, &QTimer::timeout, this, [this] { Flush(); });
}

bool DraftKeeper::Guarded(const QString& what, const std::function<void()>& operation) {
  try {
    operation();
    return true;
  } catch (const std::exception& error) {
    if (!told_) {
      told_ = true;  // before the message, which lets the timer run meanwhile
      app_.Services().Oops(&window_, what + "\n\n" + QString::fromStdString(error.what()));
    }
    return false;
  }
}

std::string DraftKeeper::Key() const {
  return target_ == Target::Edit ? entry_.ToText() : std::string("new entry");
}

std::optional<QString> DraftKeeper::Start(Target target,
                                          const std::function<std::optional<std::string>()>& read) {
  timer_.stop();
  pending_ = false;
  target_ = target;
  if (target == Target::None) return std::nullopt;
  if (const auto held = unwritten_.find(Key()); held != unwritten_.end()) return held->second;
  std::optional<std::string> draft;
  Guarded("Your unsaved text could not be read back from its draft.", [&] { draft = read(); });
  if (!draft) return std::nullopt;
  return QString::fromStdString(*draft);
}

std::optional<QString> DraftKeeper::StartNewEntry() {
  const std::string project = app_.Project().ProjectName;
  return Start(Target::NewEntry, [&] { return app_.Drafts().NewEntry(project); });
}

std::optional<QString> DraftKeeper::StartEdit(const core::Stamp& entry, const QString& stored) {
  entry_ = entry;
  stored_ = stored;
  const std::string project = app_.Project().ProjectName;
  return Start(Target::Edit, [&] { return app_.Drafts().Edit(project, entry); });
}

void DraftKeeper::Stop() { Start(Target::None, {}); }

void DraftKeeper::Changed() {
  if (target_ == Target::None) return;
  if (!pending_) pending_since_.start();
  pending_ = true;
  if (pending_since_.elapsed() >= kLongestWaitMilliseconds) {
    Flush();
  } else {
    timer_.start();
  }
}

void DraftKeeper::Flush() {
  timer_.stop();
  if (!pending_) return;
  pending_ = false;
  const std::string project = app_.Project().ProjectName;
  const QString text = text_();
  core::DraftStore& drafts = app_.Drafts();
  // A failed write stays pending, so the next keystroke or switch tries again; meanwhile the
  // text waits in memory.
  unwritten_[Key()] = text;
  pending_ = !Guarded(kCannotKeep, [&] {
    if (target_ == Target::NewEntry) {
      drafts.KeepNewEntry(project, text.toStdString());
    } else if (text == stored_) {
      drafts.DropEdit(project, entry_);  // changed back: nothing left to keep
    } else {
      drafts.KeepEdit(project, entry_, text.toStdString());
    }
  });
  if (!pending_) {
    unwritten_.erase(Key());
    told_ = false;  // the next failure is news again
  }
}

void DraftKeeper::Discard() {
  timer_.stop();
  pending_ = false;
  unwritten_.erase(Key());
  const std::string project = app_.Project().ProjectName;
  if (target_ == Target::NewEntry) {
    Guarded(kCannotDrop, [&] { app_.Drafts().DropNewEntry(project); });
  } else if (target_ == Target::Edit) {
    Guarded(kCannotDrop, [&] { app_.Drafts().DropEdit(project, entry_); });
  }
}

void DraftKeeper::Moved(const core::Stamp& from, const core::Stamp& to) {
  Flush();
  Guarded(kCannotKeep, [&] { app_.Drafts().MoveEdit(app_.Project().ProjectName, from, to); });
  // Kept on the same day, the text held in memory stays where it is.
  const auto held = unwritten_.find(from.ToText());
  if (held != unwritten_.end() && from != to) {
    unwritten_[to.ToText()] = std::move(held->second);
    unwritten_.erase(held);
  }
  if (target_ == Target::Edit && entry_ == from) entry_ = to;
}

}  // namespace quill::ui
