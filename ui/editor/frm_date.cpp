#include "ui/editor/frm_date.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/stamp.h"
#include "core/text.h"
#include "site/stamp_format.h"
#include "ui/app.h"
#include "ui/editor/frm_blog.h"

namespace quill::ui {

frmDate::frmDate(App& app, frmBlog& editor)
    : AppWindow(app, "frmDate", "Change Date"), editor_(editor) {
  DTPicker1 = new QDateEdit;
  DTPicker1->setObjectName("DTPicker1");
  DTPicker1->setCalendarPopup(true);
  DTPicker1->setAccessibleName("Entry date");
  DTPicker1->setDisplayFormat("dddd, MMMM d, yyyy");
  cmdNav[0] = new QPushButton("Not!");
  cmdNav[1] = new QPushButton("Save");
  auto* buttons = new QHBoxLayout;
  for (int i : {1, 0}) {  // "Save" on the left
    cmdNav[i]->setObjectName(QString("cmdNav_%1").arg(i));
    buttons->addWidget(cmdNav[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DTPicker1);
  layout->addLayout(buttons);
  connect(cmdNav[1], &QPushButton::clicked, this, [this] { Save(); });
  connect(cmdNav[0], &QPushButton::clicked, this, [this] { Unload(); });

  Centre();
}

void frmDate::SetDay(const core::Stamp& day) {
  DTPicker1->setDate(QDate(day.year, day.month, day.day));
}

void frmDate::Save() {
  Guarded([&] {
    store::EntryStore& entries = app_.Entries();
    const core::Stamp old = entries.CurrentEntry.Stamp;
    // The stored text moves; edits not yet saved stay behind in the editor.
    const std::string text = core::Trim(entries.CurrentEntry.Content);
    const QDate day = DTPicker1->date();
    const core::Stamp moved{day.year(), day.month(), day.day(), old.hour, old.minute, old.second};
    if (!entries.MoveEntry(old, moved, text)) {
      app_.Services().Oops(
          this, "Another entry already stands at " +
                    QString::fromStdString(site::FormatLongStamp(app_.Project(), moved)) +
                    ". Choose another day for this one.");
      return;
    }
    editor_.EntryMoved(old, moved);
    app_.Settings().StampSave();
    entries.SeekEntry(moved);
    editor_.SwitchMode(Mode::Review);
    editor_.ReadBlog();
    Unload();
  });
}

}  // namespace quill::ui
