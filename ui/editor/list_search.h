#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/stamp.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace quill::store {
class EntrySearch;
}

namespace quill::ui {

// The search field above the entry list, with the count of what it found beside it: as the
// user types, the list holds only the rows of the entries whose text holds every word typed
// (the last one may be the start of a longer word), as the project's entry search finds
// them; an empty field brings every row back. Bringing the search's index up to date goes a
// slice at a time between the window's other events, so the window answers however long
// that takes; the rows then move out of the list and back in two steps, which costs the
// list far less than hiding rows one by one. An entry another program added since the list
// was filled gets its row when it is found. Enter opens the chosen row's entry (or the first
// one shown); the arrow keys choose among the rows shown.
class ListSearch final : public QWidget {
  Q_OBJECT

 public:
  // What the list window does for the search.
  struct Rows {
    // The entry a row stands for.
    std::function<core::Stamp(const QTreeWidgetItem*)> stamp;
    // Makes the row of an entry the list lacks, not yet in the list; nullptr for an entry the
    // list does not show (dated later than now, or gone).
    std::function<QTreeWidgetItem*(const core::Stamp&)> make;
    // Opens a row's entry, as a double click does.
    std::function<void(QTreeWidgetItem*)> open;
  };

  ListSearch(store::EntrySearch& search, QTreeWidget& list, Rows rows);
  ~ListSearch() override;

  // Takes the rows the list holds as all there are: the list was filled again.
  void Reset();
  // The longest one slice of the work keeps the window from its other events (at least one
  // step of each kind is done, however short).
  void SetSlice(std::chrono::milliseconds slice) { slice_ = slice; }
  // Whether the rows shown are the answer to what was typed (the list may still be filling).
  bool Answered() const { return answered_; }
  // Whether the rows shown are what the index found as it stood, while it catches up.
  bool Provisional() const { return provisional_; }
  // Whether a search is still going on, or the list is still being filled.
  bool Searching() const { return step_.isActive(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Restart();
  // One slice of the work: bringing the index up to date, then filling the list.
  void Step();
  // One slice of bringing the index up to date; the rows it finds then go in the list.
  void Search();
  // Marks the rows wanted: the entries found, by the index brought up to date or as it stands.
  void Found(bool current);
  // Takes every row out of the list unless the rows in it are the first of those wanted.
  void Arrange();
  // Puts the next rows wanted into the list, at most `limit` of them or until the slice ends.
  void Fill(std::size_t limit);
  bool Filled() const { return filled_ == rows_known_.size(); }
  // Finishes the search, leaving what is left of filling the list to later slices.
  void FinishSearch();
  void DeleteRowsAside();
  void ShowCount();
  void ShowProgress();
  void Failed(const QString& reason);
  void OpenChosen();
  void KnowRows();

  store::EntrySearch& search_;
  QTreeWidget& list_;
  Rows rows_;
  QLineEdit* txtSearch;
  QLabel* lblFound;
  QTimer step_;
  std::chrono::milliseconds slice_{30};
  // Every row, newest first, with its entry's key, whether it is to be shown and whether it
  // is in the list now. The rows out of the list are this object's to delete; the list
  // deletes those it holds.
  struct Row {
    std::int64_t key;
    QTreeWidgetItem* item;
    bool wanted;
    bool shown;
  };
  std::vector<Row> rows_known_;
  // The rows known before this one have been put in the list if wanted.
  std::size_t filled_ = 0;
  bool show_all_ = true;
  // The rows wanted are the answer to what was typed, or what the index found as it stood.
  bool answered_ = true;
  bool provisional_ = false;
  int wanted_ = 0;
  // The row chosen before the rows left the list, chosen again when it comes back.
  QTreeWidgetItem* chosen_ = nullptr;
};

}  // namespace quill::ui
