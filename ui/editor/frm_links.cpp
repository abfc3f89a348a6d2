#include "ui/editor/frm_links.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/stamp.h"
#include "ui/app.h"
#include "ui/editor/frm_blog.h"
#include "ui/qt_text.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

constexpr int kStampRole = Qt::UserRole;

}  // namespace

frmLinks::frmLinks(App& app, frmBlog& editor)
    : AppWindow(app, "frmLinks", "Links That Lead Nowhere"), editor_(editor) {
  resize(720, 360);
  List = new QListWidget;
  List->setObjectName("List");
  List->setAccessibleName("Links that lead nowhere");
  KeepSystemColours(List);
  cmdDone = new QPushButton("Done");
  cmdDone->setObjectName("cmdDone");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(List, 1);
  layout->addWidget(cmdDone, 0, Qt::AlignRight);
  connect(List, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { Open(item); });
  connect(cmdDone, &QPushButton::clicked, this, [this] { Unload(); });
  TabInReadingOrder(*this);
  app_.Centre(this);
}

void frmLinks::Show(const std::vector<check::Finding>& problems) {
  List->clear();
  for (const check::Finding& finding : problems) {
    auto* item = new QListWidgetItem(Q(check::FindingLine(finding)), List);
    if (!finding.entry_stamp.empty()) {
      item->setData(kStampRole, Q(finding.entry_stamp));
      item->setToolTip("Double-click to edit this entry");
    }
  }
}

void frmLinks::Open(QListWidgetItem* item) {
  if (item == nullptr) return;
  const auto stamp = core::Stamp::FromText(item->data(kStampRole).toString().toStdString());
  if (!stamp) return;  // from the site's own markup, not from an entry
  Guarded([&] {
    store::EntryStore& entries = app_.Entries();
    entries.SeekEntry(*stamp);
    if (entries.NoEntry() || entries.CurrentEntry.Stamp != *stamp) {
      Oops("The entry of " + Q(stamp->ToText()) + " is no longer there.");
      return;
    }
    editor_.SwitchMode(1);
    editor_.ReadBlog();
    editor_.SwitchMode(2);
    editor_.FocusText();
  });
}

}  // namespace quill::ui
