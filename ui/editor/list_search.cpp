#include "ui/editor/list_search.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <exception>

#include "store/entry_search.h"

namespace quill::ui {
namespace {

using Clock = std::chrono::steady_clock;

// The longest one slice keeps the window from its other events.
constexpr std::chrono::milliseconds kSlice{30};

std::int64_t Key(const core::Stamp& stamp) {
  return ((((std::int64_t{stamp.year} * 13 + stamp.month) * 32 + stamp.day) * 24 + stamp.hour) *
              60 +
          stamp.minute) *
             60 +
         stamp.second;
}

QString Entries(int count) {
  return QLocale().toString(count) + (count == 1 ? " entry" : " entries");
}

}  // namespace

ListSearch::ListSearch(store::EntrySearch& search, QTreeWidget& list, Rows rows)
    : search_(search), list_(list), rows_(std::move(rows)) {
  txtSearch = new QLineEdit;
  txtSearch->setObjectName("txtSearch");
  txtSearch->setAccessibleName("Search the entries");
  txtSearch->setPlaceholderText("Search the entries");
  txtSearch->setToolTip("Shows the entries that hold every word typed");
  txtSearch->setClearButtonEnabled(true);
  txtSearch->installEventFilter(this);
  lblFound = new QLabel;
  lblFound->setObjectName("lblFound");
  lblFound->setAccessibleName("Entries found");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(txtSearch, 1);
  row->addWidget(lblFound);
  setFocusProxy(txtSearch);

  step_.setSingleShot(true);
  step_.setInterval(0);
  connect(&step_, &QTimer::timeout, this, [this] { Step(); });
  connect(txtSearch, &QLineEdit::textChanged, this, [this] { Restart(); });
}

ListSearch::~ListSearch() { DeleteRowsAside(); }

void ListSearch::DeleteRowsAside() {
  for (const Row& row : rows_known_) {
    if (!row.shown) delete row.item;
  }
  rows_known_.clear();
}

void ListSearch::Reset() {
  step_.stop();
  DeleteRowsAside();
  rows_known_.reserve(static_cast<std::size_t>(list_.topLevelItemCount()));
  for (int row = 0; row < list_.topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = list_.topLevelItem(row);
    rows_known_.push_back({Key(rows_.stamp(item)), item, true, true});
  }
  shown_ = static_cast<int>(rows_known_.size());
  if (!txtSearch->text().isEmpty()) Restart();
}

void ListSearch::Restart() {
  const std::string words = txtSearch->text().toStdString();
  show_all_ = !store::EntrySearch::HasWords(words);
  lblFound->setText(show_all_ ? QString() : "Searching…");
  step_.start();
}

void ListSearch::Step() {
  try {
    if (!show_all_ && !search_.Update(kSlice)) {
      const auto [done, total] = search_.Progress();
      lblFound->setText(total > 0 ? "Searching… " + QString::number(done * 100 / total) + "%"
                                  : "Searching…");
      step_.start();
      return;
    }
    Found();
    ShowRows();
    ShowCount();
  } catch (const std::exception& failure) {
    Failed(QString::fromStdString(failure.what()));
  }
}

void ListSearch::Found() {
  for (Row& row : rows_known_) row.wanted = show_all_;
  if (show_all_) return;
  const std::vector<core::Stamp> found = search_.Find(txtSearch->text().toStdString(), true);
  // Rows known are newest first; a row made for an entry found goes in its place.
  const auto newer = [](const Row& row, std::int64_t key) { return row.key > key; };
  for (const core::Stamp& stamp : found) {
    const std::int64_t key = Key(stamp);
    const auto place = std::lower_bound(rows_known_.begin(), rows_known_.end(), key, newer);
    if (place != rows_known_.end() && place->key == key) {
      place->wanted = true;
    } else if (QTreeWidgetItem* item = rows_.make(stamp)) {
      rows_known_.insert(place, {key, item, true, false});
    }
  }
}

void ListSearch::ShowRows() {
  // Nothing to do when the same rows stay (a longer word that finds what the shorter found).
  if (std::all_of(rows_known_.begin(), rows_known_.end(),
                  [](const Row& row) { return row.wanted == row.shown; })) {
    return;
  }
  QTreeWidgetItem* current = list_.currentItem();
  list_.invisibleRootItem()->takeChildren();
  QList<QTreeWidgetItem*> shown;
  bool current_stays = false;
  for (Row& row : rows_known_) {
    row.shown = row.wanted;
    if (!row.shown) continue;
    shown.append(row.item);
    current_stays = current_stays || row.item == current;
  }
  list_.addTopLevelItems(shown);
  shown_ = static_cast<int>(shown.size());
  if (current_stays) list_.setCurrentItem(current);
}

void ListSearch::ShowCount() {
  lblFound->setToolTip({});
  const QString typed = txtSearch->text();
  if (typed.trimmed().isEmpty()) {
    lblFound->clear();
  } else if (show_all_) {
    lblFound->setText("Type a letter or a digit to search");
  } else if (shown_ == 0) {
    lblFound->setText("No entry holds every word");
  } else {
    lblFound->setText(QLocale().toString(shown_) + " of " +
                      Entries(static_cast<int>(rows_known_.size())));
  }
}

void ListSearch::Failed(const QString& reason) {
  step_.stop();
  show_all_ = true;
  for (Row& row : rows_known_) row.wanted = true;
  ShowRows();
  lblFound->setText("Cannot search: " + reason);
  lblFound->setToolTip(reason);
}

void ListSearch::Finish() {
  while (step_.isActive()) {
    step_.stop();
    Step();
  }
}

void ListSearch::OpenChosen() {
  Finish();
  QTreeWidgetItem* chosen = list_.currentItem();
  if (chosen == nullptr) chosen = list_.topLevelItem(0);
  if (chosen != nullptr) rows_.open(chosen);
}

bool ListSearch::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtSearch && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        OpenChosen();
        return true;
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        Finish();
        QApplication::sendEvent(&list_, event);
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quill::ui
