#include "ui/editor/waiting_note.h"

#include "site/stamp_format.h"
#include "ui/qt_text.h"

namespace quill::ui {

WaitingNote::WaitingNote() {
  setObjectName("lblWaiting");
  setAccessibleName("Entry waiting for its time");
  hide();
}

void WaitingNote::Show(const core::ProjectSettings& project, const core::Stamp& stamp,
                       const core::Stamp& now, bool long_form) {
  if (project.HoldFuture != 1 || stamp <= now) {
    hide();
    return;
  }
  const std::string date = long_form ? site::FormatLongStamp(project, stamp)
                                     : site::FormatEntryStamp(project, stamp, false);
  setText("waiting until " + Q(date));
  setAccessibleName(text());
  show();
}

}  // namespace quill::ui
