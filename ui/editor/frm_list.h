#pragma once

#include "ui/app_window.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quill::core {
struct Stamp;
}

namespace quill::ui {

class ListSearch;
class frmBlog;

// "Blog Entry Listing": the entries up to now, newest first, with date, time and title, and a
// search field above them that narrows the list to the entries holding the words typed. A
// double-click shows that entry in the main window.
class frmList final : public AppWindow {
  Q_OBJECT

 public:
  frmList(App& app, frmBlog& editor);

  // Fills the list. With no entry dated now or earlier it says so, unloads itself and
  // returns false; the window is then never shown.
  bool Load();
  const QString& SelectedKey() const { return SelectedKey_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddRow(const core::Stamp& stamp, const std::string& content);
  QTreeWidgetItem* MakeRow(const core::Stamp& stamp, const std::string& content);
  // The row of an entry found that the list lacks, not yet in the list; none for an entry
  // dated later than now, or gone.
  QTreeWidgetItem* MakeFoundRow(const core::Stamp& stamp);
  void FitColumn(const QString& text, int column);
  void Open(QTreeWidgetItem* item);

  frmBlog& editor_;
  ListSearch* search_;
  QTreeWidget* List;
  QPushButton* cmdSetup;
  QString SelectedKey_;
  bool FirstFit_ = true;
};

}  // namespace quill::ui
