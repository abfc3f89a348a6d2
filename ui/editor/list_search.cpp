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

// The rows put in the list at once when a search is answered: more than a window shows.
constexpr std::size_t kFirstRows = 200;
constexpr qsizetype kFillBatch = 2000;

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
  chosen_ = nullptr;
  rows_known_.reserve(static_cast<std::size_t>(list_.topLevelItemCount()));
  for (int row = 0; row < list_.topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = list_.topLevelItem(row);
    rows_known_.push_back({Key(rows_.stamp(item)), item, true, true});
  }
  filled_ = rows_known_.size();
  wanted_ = static_cast<int>(rows_known_.size());
  answered_ = true;
  provisional_ = false;
  if (!txtSearch->text().isEmpty()) Restart();
}

void ListSearch::Restart() {
  const std::string words = txtSearch->text().toStdString();
  show_all_ = !store::EntrySearch::HasWords(words);
  answered_ = provisional_ = false;
  lblFound->setText(show_all_ ? QString() : "Searching…");
  step_.start();
}

void ListSearch::Step() {
  try {
    // The answer's first screenful is shown before anything more is put in the list.
    if (answered_) {
      Fill(rows_known_.size());
    } else {
      Search();
    }
    if (!answered_ || !Filled()) step_.start();
  } catch (const std::exception& failure) {
    Failed(QString::fromStdString(failure.what()));
  }
}

void ListSearch::Search() {
  const bool current = show_all_ || search_.Update(slice_);
  if (!current && provisional_) {
    ShowProgress();
    return;
  }
  // What the index finds as it stands is shown at once, with the progress of its check.
  Found(current);
  answered_ = current;
  provisional_ = !current;
  current ? ShowCount() : ShowProgress();
  Arrange();
  Fill(kFirstRows);
}

void ListSearch::Found(bool current) {
  for (Row& row : rows_known_) row.wanted = show_all_;
  wanted_ = show_all_ ? static_cast<int>(rows_known_.size()) : 0;
  if (show_all_) return;
  const std::string words = txtSearch->text().toStdString();
  const std::vector<core::Stamp> found =
      current ? search_.Find(words, true) : search_.FindAsIndexed(words, true);
  // Rows known and entries found are both newest first: one walk down both marks the rows,
  // and a row made for an entry found goes in its place.
  std::size_t at = 0;
  for (const core::Stamp& stamp : found) {
    const std::int64_t key = Key(stamp);
    while (at < rows_known_.size() && rows_known_[at].key > key) ++at;
    if (at < rows_known_.size() && rows_known_[at].key == key) {
      wanted_ += rows_known_[at].wanted ? 0 : 1;
      rows_known_[at].wanted = true;
    } else if (QTreeWidgetItem* item = rows_.make(stamp)) {
      if (at < filled_) ++filled_;
      rows_known_.insert(rows_known_.begin() + static_cast<std::ptrdiff_t>(at),
                         {key, item, true, false});
      ++wanted_;
    }
  }
}

void ListSearch::Arrange() {
  const auto first_unfilled = rows_known_.begin() + static_cast<std::ptrdiff_t>(filled_);
  if (std::all_of(rows_known_.begin(), first_unfilled,
                  [](const Row& row) { return row.wanted == row.shown; })) {
    return;  // what the list holds is the start of what is wanted (or all of it)
  }
  if (QTreeWidgetItem* current = list_.currentItem()) chosen_ = current;
  list_.invisibleRootItem()->takeChildren();
  for (Row& row : rows_known_) row.shown = false;
  filled_ = 0;
}

void ListSearch::Fill(std::size_t limit) {
  const auto started = Clock::now();
  std::size_t added = 0;
  do {
    // Batches, as each one makes the list lay out its rows again.
    QList<QTreeWidgetItem*> batch;
    bool chosen_back = false;
    for (; !Filled() && added < limit && batch.size() < kFillBatch; ++filled_) {
      Row& row = rows_known_[filled_];
      if (!row.wanted) continue;
      row.shown = true;
      batch.append(row.item);
      chosen_back = chosen_back || row.item == chosen_;
      ++added;
    }
    list_.addTopLevelItems(batch);
    if (chosen_back) list_.setCurrentItem(chosen_);
  } while (!Filled() && added < limit && Clock::now() - started < slice_);
}

void ListSearch::ShowCount() {
  lblFound->setToolTip({});
  const QString typed = txtSearch->text();
  if (typed.trimmed().isEmpty()) {
    lblFound->clear();
  } else if (show_all_) {
    lblFound->setText("Type a letter or a digit to search");
  } else if (wanted_ == 0) {
    lblFound->setText("No entry holds every word");
  } else {
    lblFound->setText(QLocale().toString(wanted_) + " of " +
                      Entries(static_cast<int>(rows_known_.size())));
  }
}

void ListSearch::ShowProgress() {
  const auto [done, total] = search_.Progress();
  lblFound->setText(total > 0 ? "Checking for changes… " + QString::number(done * 100 / total) + "%"
                              : "Checking for changes…");
}

void ListSearch::Failed(const QString& reason) {
  step_.stop();
  show_all_ = answered_ = true;
  provisional_ = false;
  Found(true);
  Arrange();
  Fill(kFirstRows);
  if (!Filled()) step_.start();
  lblFound->setText("Cannot search: " + reason);
  lblFound->setToolTip(reason);
}

void ListSearch::FinishSearch() {
  while (step_.isActive() && !answered_) {
    step_.stop();
    Step();
  }
}

void ListSearch::OpenChosen() {
  FinishSearch();
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
        FinishSearch();
        QApplication::sendEvent(&list_, event);
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quill::ui
