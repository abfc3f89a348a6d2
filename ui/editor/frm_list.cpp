#include "ui/editor/frm_list.h"

#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "core/clock.h"
#include "core/stamp.h"
#include "site/stamp_format.h"
#include "site/text_digest.h"
#include "ui/app.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/list_search.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

constexpr int kStampRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

QVariant ToVariant(const core::Stamp& stamp) { return QString::fromStdString(stamp.ToText()); }
core::Stamp FromVariant(const QVariant& value) {
  return core::Stamp::FromText(value.toString().toStdString()).value_or(core::Stamp::Empty());
}

// "10:15:07 PM", "09:05:07 AM": the hour in two digits of the 12-hour clock.
QString TimeColumn(const core::Stamp& stamp) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", stamp.hour % 12 == 0 ? 12 : stamp.hour % 12,
                stamp.minute, stamp.second, stamp.hour < 12 ? "AM" : "PM");
  return text;
}

}  // namespace

frmList::frmList(App& app, frmBlog& editor)
    : AppWindow(app, "frmList", "Blog Entry Listing"), editor_(editor) {
  resize(560, 420);

  List = new QTreeWidget;
  List->setObjectName("List");
  List->setRootIsDecorated(false);
  List->setUniformRowHeights(true);
  List->setHeaderLabels({"Date", "Time", "Title"});
  List->header()->setStretchLastSection(false);
  for (int column = 0; column < 3; ++column) List->setColumnWidth(column, 170);
  List->installEventFilter(this);
  // Rows are chosen with the mouse: the list is no stop for Tab, only for screen readers.
  List->setFocusPolicy(Qt::NoFocus);
  List->setAccessibleName("Entries");
  // Only the window takes the shading; the list and its header strip keep the system's look.
  KeepSystemColours(List);
  cmdSetup = new QPushButton("Done");
  cmdSetup->setObjectName("cmdSetup");
  search_ = new ListSearch(
      app_.Session().Search(), *List,
      {[](const QTreeWidgetItem* item) { return FromVariant(item->data(0, kStampRole)); },
       [this](const core::Stamp& stamp) { return MakeFoundRow(stamp); },
       [this](QTreeWidgetItem* item) { Open(item); }});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(search_);
  layout->addWidget(List, 1);
  layout->addWidget(cmdSetup, 0, Qt::AlignRight);

  connect(List, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { SelectedKey_ = item->data(0, kKeyRole).toString(); });
  connect(List, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { Open(item); });
  connect(cmdSetup, &QPushButton::clicked, this, [this] { Unload(); });
  TabInReadingOrder(*this);
  app_.Centre(this);
}

bool frmList::Load() {
  store::EntryStore& entries = app_.Entries();
  FirstFit_ = true;
  const core::Stamp saved = entries.CurrentEntry.Stamp;
  List->clear();
  {
    // From now back to the oldest; entries dated later than now are not listed, unless the
    // project keeps them waiting for their time: then they are, from the newest.
    const store::EntryStore::ReadBatch batch(entries);
    if (app_.Project().HoldFuture == 1) {
      entries.MoveLastEntry();
    } else {
      entries.SeekEntry(app_.Clock().Now());
      if (entries.NoEntry()) entries.SeekEarlierEntry();
    }
    while (!entries.NoEntry()) {
      AddRow(entries.CurrentEntry.Stamp, entries.CurrentEntry.Content);
      entries.SeekEarlierEntry();
    }
  }
  if (List->topLevelItemCount() > 0) {
    for (int row = 0; row < List->topLevelItemCount(); ++row) {
      QTreeWidgetItem* item = List->topLevelItem(row);
      if (FromVariant(item->data(0, kStampRole)) == saved) {
        List->setCurrentItem(item);
        List->scrollToItem(item);
        break;
      }
    }
  }
  entries.SeekEntry(saved);
  search_->Reset();
  search_->setFocus();
  if (List->topLevelItemCount() == 0) {
    app_.Services().ShowMessage(this, "Oops!", "No Entries Found", MessageIcon::Information,
                                MessageButtons::Ok);
    Unload();
    return false;
  }
  return true;
}

QTreeWidgetItem* frmList::MakeFoundRow(const core::Stamp& stamp) {
  if (stamp > app_.Clock().Now() && app_.Project().HoldFuture != 1) return nullptr;
  store::EntryStore& entries = app_.Entries();
  const core::Stamp saved = entries.CurrentEntry.Stamp;
  entries.SeekEntry(stamp);
  const bool found = !entries.NoEntry();
  const std::string content = entries.CurrentEntry.Content;
  entries.SeekEntry(saved);
  return found ? MakeRow(stamp, content) : nullptr;
}

void frmList::AddRow(const core::Stamp& stamp, const std::string& content) {
  List->addTopLevelItem(MakeRow(stamp, content));
}

QTreeWidgetItem* frmList::MakeRow(const core::Stamp& stamp, const std::string& content) {
  const core::ProjectSettings& project = app_.Project();
  auto* item = new QTreeWidgetItem;
  const QString date = QString::fromStdString(site::FormatDatePart(1, stamp));
  const QString time = TimeColumn(stamp);
  QString title = QString::fromStdString(site::ExtractEntryTitle(site::StripMarkup(content)));
  if (project.HoldFuture == 1 && stamp > app_.Clock().Now()) title += " (waiting)";
  item->setText(0, date);
  item->setText(1, time);
  item->setText(2, title);
  // Each row keeps its own entry's stamp, so rows that look alike still open their own entry.
  item->setData(0, kStampRole, ToVariant(stamp));
  item->setData(0, kKeyRole, QString::fromStdString(site::FormatEntryStamp(project, stamp, false)));
  FitColumn(date, 0);
  FitColumn(time, 1);
  FitColumn(title, 2);
  return item;
}

void frmList::FitColumn(const QString& text, int column) {
  const int wanted = List->fontMetrics().horizontalAdvance("11" + text);
  if (List->columnWidth(column) < wanted || FirstFit_) List->setColumnWidth(column, wanted);
  FirstFit_ = false;
}

void frmList::Open(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  SelectedKey_ = item->data(0, kKeyRole).toString();
  Guarded([&] {
    store::EntryStore& entries = app_.Entries();
    entries.SeekEntry(FromVariant(item->data(0, kStampRole)));
    if (entries.NoEntry()) {
      // Gone meanwhile: look for an entry that shows as this row does.
      const std::string key = SelectedKey_.toStdString();
      entries.SeekEarlierEntry();
      while (!entries.NoEntry() &&
             site::FormatEntryStamp(app_.Project(), entries.CurrentEntry.Stamp, false) != key) {
        entries.SeekLaterEntry();
      }
    }
    editor_.ReadBlog();
  });
  Unload();
}

bool frmList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == List && event->type() == QEvent::FocusIn) cmdSetup->setFocus();
  return QWidget::eventFilter(watched, event);
}

}  // namespace quill::ui
