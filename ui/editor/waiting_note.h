#pragma once

#include <QLabel>

#include "core/project_settings.h"
#include "core/stamp.h"

namespace quill::ui {

// "waiting until …" beside the date label, while the entry shown is dated later than now in a
// project that keeps such entries off the site. A label of its own: the editor reads the
// entry's stamp back from the date label's text.
class WaitingNote final : public QLabel {
  Q_OBJECT

 public:
  WaitingNote();

  // Shows the note for the entry of `stamp`, its date in the date label's form (`long_form`
  // in edit mode), or hides it when the entry is published or the project publishes at once.
  void Show(const core::ProjectSettings& project, const core::Stamp& stamp, const core::Stamp& now,
            bool long_form);
};

}  // namespace quill::ui
