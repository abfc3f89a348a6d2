// The editor with entries that wait for their time: the note beside the date, the entry list,
// and Output offered once such an entry's time has come.

#include <QLabel>
#include <QTimer>
#include <QTreeWidget>

#include "support/editor_fixture.h"
#include "ui/editor/output_watch.h"

namespace quill::ui {
namespace {

using core::Stamp;

const Stamp kNow{2026, 12, 7, 9, 0, 0};
const Stamp kPast{2026, 12, 6, 18, 0, 0};
const Stamp kWaits{2026, 12, 7, 9, 1, 0};

class WaitingEntriesTest : public testing::EditorFixture {
 protected:
  void OpenWith(int hold_future) {
    app_.Project().HoldFuture = static_cast<std::int16_t>(hold_future);
    app_.Settings().LoadSettings(true);
    Open();
    for (const auto& [stamp, text] : {std::pair{kPast, "Sunday"}, std::pair{kWaits, "Monday"}}) {
      app_.Entries().CurrentEntry = {stamp, text};
      app_.Entries().SaveEntry();
    }
    app_.Settings().StampSave();
    services_.answers = {MessageAnswer::No};  // "You want to see it?"
    editor_->SwitchMode(0);
    Click(Nav(2));  // Output, at kNow
  }
  QLabel* Label(const char* name) { return Child<QLabel>(editor_, name); }
  std::vector<QString> ListedTitles() {
    Click(Child<QPushButton>(editor_, "cmdSetup"));  // List, in Review
    auto* list = Child<QTreeWidget>(Find<QWidget>("frmList"), "List");
    std::vector<QString> titles;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      titles.push_back(list->topLevelItem(i)->text(2));
    return titles;
  }
  void Activate() {
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(editor_, &activate);
  }
};

TEST_F(WaitingEntriesTest, OutputIsOfferedWhenAWaitingEntrysTimeHasComeOnFocusAndEveryMinute) {
  OpenWith(1);
  EXPECT_EQ(app_.Project().OutTime, "090000");
  EXPECT_FALSE(Nav(2)->isEnabled());
  clock_.Set({2026, 12, 7, 9, 0, 59});
  Activate();
  EXPECT_FALSE(Nav(2)->isEnabled());  // a second early
  clock_.Set(kWaits);
  Activate();
  EXPECT_TRUE(Nav(2)->isEnabled());
  EXPECT_EQ(Nav(2)->text(), "Output");
  services_.answers = {MessageAnswer::No};
  Click(Nav(2));
  EXPECT_FALSE(Nav(2)->isEnabled());

  // Another program stores an entry for 9:05; at 9:05 the minute's check offers Output.
  app_.Entries().CurrentEntry = {{2026, 12, 7, 9, 5, 0}, "Later"};
  app_.Entries().SaveEntry();
  auto* timer = editor_->findChild<QTimer*>("tmrOutputDue");
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), OutputWatch::kIntervalMs);
  clock_.Set({2026, 12, 7, 9, 5, 0});
  EXPECT_FALSE(Nav(2)->isEnabled());
  timer->start(0);  // the minute passes at once
  QTRY_VERIFY_WITH_TIMEOUT(Nav(2)->isEnabled(), 5000);
}

TEST_F(WaitingEntriesTest, AWaitingEntryIsListedAndShownAsWaitingBesideItsDate) {
  OpenWith(1);
  Click(Nav(0));  // Review, newest first: the waiting entry
  const QString date = Label("Label1")->text();
  EXPECT_FALSE(date.contains("waiting"));  // the date label keeps only the stamp
  EXPECT_TRUE(Label("lblWaiting")->isVisibleTo(editor_));
  EXPECT_EQ(Label("lblWaiting")->text(), "waiting until " + date);
  Click(Nav(0));  // Previous: published
  EXPECT_FALSE(Label("lblWaiting")->isVisibleTo(editor_));
  EXPECT_EQ(ListedTitles(), (std::vector<QString>{"Monday (waiting)", "Sunday"}));
}

TEST_F(WaitingEntriesTest, WithoutTheSettingAFutureEntryIsNeitherListedNorMarked) {
  OpenWith(0);
  Click(Nav(0));
  EXPECT_FALSE(Label("lblWaiting")->isVisibleTo(editor_));
  EXPECT_EQ(ListedTitles(), std::vector<QString>{"Sunday"});
}

}  // namespace
}  // namespace quill::ui
