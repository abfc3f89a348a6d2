#include <sqlite3.h>

#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "support/editor_fixture.h"
#include "ui/editor/frm_list.h"
#include "ui/editor/list_search.h"

namespace quill::ui {
namespace {

using core::Stamp;

class EntryWindowsTest : public testing::EditorFixture {
 protected:
  EntryWindowsTest() {
    clock_.Set(kNow);
    Open();
  }

  void Store(const Stamp& stamp, const std::string& content) {
    app_.Entries().CurrentEntry = {stamp, content};
    app_.Entries().SaveEntry();
  }
  // Review mode on the entry with this stamp.
  void Show(const Stamp& stamp) {
    editor_->SwitchMode(1);
    app_.Entries().SeekEntry(stamp);
    editor_->ReadBlog();
  }
  void EditDate(const Stamp& stamp) {
    Show(stamp);
    Click(Nav(1));  // Edit
    Click(Nav(2));  // Date
  }
  QDateEdit* Picker() {
    QWidget* dialog = Find<QWidget>("frmDate");
    return dialog ? Child<QDateEdit>(dialog, "DTPicker1") : nullptr;
  }
  void SaveDate(const QDate& day) {
    Picker()->setDate(day);
    Click(Child<QPushButton>(Find<QWidget>("frmDate"), "cmdNav_1"));
    Settle();
  }
  std::string Stored(const Stamp& stamp) {
    if (!app_.Entries().HasEntry(stamp)) return "(none)";
    const Stamp keep = app_.Entries().CurrentEntry.Stamp;
    app_.Entries().SeekEntry(stamp);
    std::string content = app_.Entries().CurrentEntry.Content;
    app_.Entries().SeekEntry(keep);
    return content;
  }
  QTreeWidget* List() {
    QWidget* window = Find<QWidget>("frmList");
    return window ? Child<QTreeWidget>(window, "List") : nullptr;
  }
  void OpenList() {
    Click(Child<QPushButton>(editor_, "cmdSetup"));  // "List" in review mode
  }
  std::vector<QString> Rows() {
    std::vector<QString> rows;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = List()->topLevelItem(i);
      rows.push_back(item->text(0) + " | " + item->text(1) + " | " + item->text(2));
    }
    return rows;
  }

  // Types into the list's search field, as the user would, and waits for the list to follow.
  void Search(const QString& words) {
    auto* field = Child<QLineEdit>(Find<QWidget>("frmList"), "txtSearch");
    field->selectAll();
    if (words.isEmpty()) {
      QTest::keyClick(field, Qt::Key_Backspace);
    } else {
      QTest::keyClicks(field, words);
    }
    auto* search = Find<QWidget>("frmList")->findChild<ListSearch*>();
    while (search->Searching()) QCoreApplication::processEvents();
  }
  // The titles of the rows shown.
  std::vector<QString> Shown() {
    std::vector<QString> titles;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
      titles.push_back(List()->topLevelItem(i)->text(2));
    }
    return titles;
  }
  QString Found() { return Child<QLabel>(Find<QWidget>("frmList"), "lblFound")->text(); }
  // Runs SQL on the entry database as another program would.
  void RunSql(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(app_.Project().DatabasePath.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }

  static constexpr Stamp kNow{2026, 12, 7, 15, 0, 0};
};

TEST_F(EntryWindowsTest, AMovedEntryKeepsItsTimeOfDay) {
  const Stamp old{2026, 12, 5, 14, 32, 10};
  Store(old, "Market day");
  EditDate(old);
  ASSERT_NE(Picker(), nullptr);
  EXPECT_EQ(Find<QWidget>("frmDate")->windowTitle(), "Change Date");
  EXPECT_EQ(Picker()->date(), QDate(2026, 12, 5));

  clock_.Set({2026, 12, 7, 16, 0, 0});
  SaveDate(QDate(2026, 11, 30));
  const Stamp moved{2026, 11, 30, 14, 32, 10};
  EXPECT_EQ(Stored(moved), "Market day");
  EXPECT_EQ(Stored(old), "(none)");
  EXPECT_EQ(editor_->Mode(), 1);
  EXPECT_EQ(app_.Entries().CurrentEntry.Stamp, moved);
  EXPECT_EQ(Text()->toPlainText(), "Market day");
  EXPECT_EQ(app_.Project().SavTime, "160000");
  EXPECT_EQ(Find<QWidget>("frmDate"), nullptr);
}

TEST_F(EntryWindowsTest, DateOpensAgainRightAfterNot) {
  const Stamp old{2026, 12, 5, 14, 32, 10};
  Store(old, "Text");
  EditDate(old);
  Click(Child<QPushButton>(Find<QWidget>("frmDate"), "cmdNav_0"));  // Not!
  EXPECT_EQ(Find<QWidget>("frmDate"), nullptr);
  Click(Nav(2));  // before the old window is gone for good
  ASSERT_NE(Picker(), nullptr);
  EXPECT_EQ(Picker()->date(), QDate(2026, 12, 5));
}

TEST_F(EntryWindowsTest, AMoveTakesTheStoredTextNotUnsavedEdits) {
  const Stamp old{2026, 12, 5, 14, 32, 10};
  Store(old, "Stored text");
  EditDate(old);
  QTest::keyClicks(Text(), "unsaved ");
  SaveDate(QDate(2026, 12, 1));
  EXPECT_EQ(Stored({2026, 12, 1, 14, 32, 10}), "Stored text");
}

TEST_F(EntryWindowsTest, TheSameDayRewritesInPlace) {
  const Stamp old{2026, 12, 5, 14, 32, 10};
  Store(old, "  Stays  ");
  EditDate(old);
  SaveDate(QDate(2026, 12, 5));
  EXPECT_EQ(Stored(old), "Stays");
  EXPECT_EQ(app_.Entries().EntryCount(), 1);
}

TEST_F(EntryWindowsTest, AnOccupiedStampIsRefusedAndBothEntriesStay) {
  const Stamp moving{2026, 12, 5, 14, 32, 10};
  const Stamp there{2026, 12, 1, 14, 32, 10};
  Store(moving, "Moving");
  Store(there, "Already there");
  EditDate(moving);
  SaveDate(QDate(2026, 12, 1));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_TRUE(services_.messages[0].text.startsWith("Another entry already stands at"));
  EXPECT_EQ(Stored(moving), "Moving");
  EXPECT_EQ(Stored(there), "Already there");
  EXPECT_NE(Find<QWidget>("frmDate"), nullptr);  // still open for another day
}

TEST_F(EntryWindowsTest, TheListRunsFromNowBackAndSkipsTheFuture) {
  Store({2026, 12, 6, 21, 5, 9}, "<b>Yesterday</b> it rained. A lot.");
  Store({2026, 12, 7, 9, 15, 0}, "Today is\r\nsunny");
  Store({2026, 12, 14, 10, 0, 0}, "Next week");
  Show({2026, 12, 7, 9, 15, 0});
  OpenList();
  ASSERT_NE(List(), nullptr);
  EXPECT_EQ(Find<QWidget>("frmList")->windowTitle(), "Blog Entry Listing");
  EXPECT_EQ(Rows(), (std::vector<QString>{"07-Dec-26 | 09:15:00 AM | Today is",
                                          "06-Dec-26 | 09:05:09 PM | Yesterday it rained."}));
  // The entry shown in the main window is the selected row, and stays current after Done.
  EXPECT_EQ(List()->currentItem(), List()->topLevelItem(0));
  Click(Child<QPushButton>(Find<QWidget>("frmList"), "cmdSetup"));
  Settle();
  EXPECT_EQ(Find<QWidget>("frmList"), nullptr);
  EXPECT_EQ(app_.Entries().CurrentEntry.Stamp, (Stamp{2026, 12, 7, 9, 15, 0}));
}

TEST_F(EntryWindowsTest, TheListWindowIsShadedButItsListAndHeaderAreNot) {
  app_.Project().Shading = 0;  // black
  Store({2026, 12, 7, 9, 15, 0}, "Today");
  Show({2026, 12, 7, 9, 15, 0});
  OpenList();
  ASSERT_NE(List(), nullptr);
  EXPECT_EQ(Find<QWidget>("frmList")->palette().color(QPalette::Window), QColor(0, 0, 0));
  for (QWidget* part : {static_cast<QWidget*>(List()), static_cast<QWidget*>(List()->header())}) {
    const QPalette system = QApplication::palette(part);
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base}) {
      EXPECT_EQ(part->palette().color(role), system.color(role)) << role;
    }
  }
}

TEST_F(EntryWindowsTest, ADoubleClickOpensExactlyThatRowsEntry) {
  // Two entries in one minute look alike without seconds.
  Store({2026, 12, 7, 12, 0, 10}, "First of the minute");
  Store({2026, 12, 7, 12, 0, 40}, "Second of the minute");
  Store({2026, 12, 6, 8, 0, 0}, "Older");
  Show({2026, 12, 6, 8, 0, 0});
  OpenList();
  ASSERT_EQ(List()->topLevelItemCount(), 3);
  QTreeWidgetItem* second = List()->topLevelItem(1);
  EXPECT_EQ(second->text(2), "First of the minute");
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                    List()->visualItemRect(second).center());
  EXPECT_EQ(qobject_cast<frmList*>(Find<QWidget>("frmList"))->SelectedKey(),
            "Monday, December 07, 2026 @ 12:00 PM");
  emit List()->itemDoubleClicked(second, 0);
  Settle();
  EXPECT_EQ(Find<QWidget>("frmList"), nullptr);
  EXPECT_EQ(app_.Entries().CurrentEntry.Stamp, (Stamp{2026, 12, 7, 12, 0, 10}));
  EXPECT_EQ(Text()->toPlainText(), "First of the minute");
  EXPECT_EQ(editor_->Mode(), 1);
}

TEST_F(EntryWindowsTest, TheSearchFieldShowsTheEntriesHoldingEveryWordTyped) {
  Store({2026, 12, 5, 8, 0, 0}, "Cr&egrave;me br&ucirc;l&eacute;e");
  Store({2026, 12, 6, 8, 0, 0}, "CREME fraiche <a href=\"x.html\">here</a>");
  Store({2026, 12, 7, 8, 0, 0}, "Tomato <b>so</b>up");
  Show({2026, 12, 7, 8, 0, 0});
  OpenList();
  ASSERT_NE(List(), nullptr);
  EXPECT_EQ(Find<QWidget>("frmList")->focusWidget(),
            Child<QLineEdit>(Find<QWidget>("frmList"), "txtSearch"));

  Search("creme");  // letter case and accents aside
  EXPECT_EQ(Shown(),
            (std::vector<QString>{"CREME fraiche here", "Cr&egrave;me br&ucirc;l&eacute;e"}));
  EXPECT_EQ(Found(), "2 of 3 entries");
  Search("brulee CREM");  // every word; the last one may be unfinished
  EXPECT_EQ(Shown(), std::vector<QString>{"Cr&egrave;me br&ucirc;l&eacute;e"});
  Search("soup");  // one word, markup aside
  EXPECT_EQ(Shown(), std::vector<QString>{"Tomato so up"});
  Search("href");  // inside a tag
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(Found(), "No entry holds every word");
  Search(" ?! ");
  EXPECT_EQ(Shown().size(), 3u);
  EXPECT_EQ(Found(), "Type a letter or a digit to search");
  Search("");
  EXPECT_EQ(Shown().size(), 3u);
  EXPECT_EQ(Found(), "");

  // Enter opens the row chosen, or the first one shown, as a double click would.
  Search("fraiche");
  QTest::keyClick(Child<QLineEdit>(Find<QWidget>("frmList"), "txtSearch"), Qt::Key_Return);
  Settle();
  EXPECT_EQ(Find<QWidget>("frmList"), nullptr);
  EXPECT_EQ(app_.Entries().CurrentEntry.Stamp, (Stamp{2026, 12, 6, 8, 0, 0}));
  EXPECT_EQ(editor_->Mode(), 1);
}

TEST_F(EntryWindowsTest, TheSearchFindsWhatAnotherProgramWroteAfterTheListWasFilled) {
  Store({2026, 12, 5, 8, 0, 0}, "Leek soup");
  Store({2026, 12, 7, 8, 0, 0}, "Pea soup");
  Show({2026, 12, 7, 8, 0, 0});
  OpenList();
  Search("soup");
  ASSERT_EQ(Shown().size(), 2u);
  RunSql(
      "INSERT INTO \"My Log\" VALUES ('2026-12-06 08:00:00', 'Onion soup');"
      "INSERT INTO \"My Log\" VALUES ('2026-12-31 08:00:00', 'Future soup');"
      "UPDATE \"My Log\" SET Content = 'Pea stew' WHERE Date = '2026-12-07 08:00:00';");
  Search("soup");
  // The new entry gets its row in its place; one dated later than now is not listed.
  EXPECT_EQ(Shown(), (std::vector<QString>{"Onion soup", "Leek soup"}));
  Search("stew");
  EXPECT_EQ(Shown(), std::vector<QString>{"Pea soup"});  // the row's title is as listed
  Search("");
  EXPECT_EQ(Rows(), (std::vector<QString>{"07-Dec-26 | 08:00:00 AM | Pea soup",
                                          "06-Dec-26 | 08:00:00 AM | Onion soup",
                                          "05-Dec-26 | 08:00:00 AM | Leek soup"}));
  EXPECT_EQ(app_.Entries().CurrentEntry.Stamp, (Stamp{2026, 12, 7, 8, 0, 0}));
}

// 450 entries an hour apart from the start of the year, "Leek soup 1", "Pea stew 2", ...
// "Pea stew 450", written as another program would, and the list opened on them.
class ManyEntriesTest : public EntryWindowsTest {
 protected:
  ManyEntriesTest() {
    Store({2025, 6, 1, 8, 0, 0}, "Onion soup");
    RunSql(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 450)"
        " INSERT INTO \"My Log\" SELECT datetime('2026-01-01', '+' || i || ' hours'),"
        " CASE i % 2 WHEN 1 THEN 'Leek soup ' ELSE 'Pea stew ' END || i FROM n");
    app_.Session().Search().Update();  // so that the first search answers in one slice
    Show({2025, 6, 1, 8, 0, 0});
    OpenList();
    search_ = Find<QWidget>("frmList")->findChild<ListSearch*>();
    QObject::connect(List()->model(), &QAbstractItemModel::rowsInserted,
                     [this](const QModelIndex&, int first, int last) {
                       batches_.push_back({last - first + 1, Found()});
                     });
  }
  void Type(const QString& words) {
    auto* field = Child<QLineEdit>(Find<QWidget>("frmList"), "txtSearch");
    field->selectAll();
    words.isEmpty() ? QTest::keyClick(field, Qt::Key_Backspace) : QTest::keyClicks(field, words);
  }

  ListSearch* search_;
  // The rows each step put in the list, and the count shown meanwhile.
  std::vector<std::pair<int, QString>> batches_;
};

TEST_F(ManyEntriesTest, TheAnswerComesWithAScreenfulOfRowsAndTheRestFollow) {
  Search("stew");
  EXPECT_EQ(batches_, (std::vector<std::pair<int, QString>>{{200, "225 of 451 entries"},
                                                            {25, "225 of 451 entries"}}));
  EXPECT_EQ(Shown().front(), "Pea stew 450");
  EXPECT_EQ(Shown().back(), "Pea stew 2");
  batches_.clear();
  Search("");  // every row back, the newest first
  EXPECT_EQ(batches_, (std::vector<std::pair<int, QString>>{{200, ""}, {251, ""}}));
  EXPECT_EQ(Shown().back(), "Onion soup");

  // A key typed before the list is filled: the rows in it that answer it too stay.
  batches_.clear();
  Type("soup");
  while (batches_.empty()) QCoreApplication::processEvents();
  Type("leek");
  while (search_->Searching()) QCoreApplication::processEvents();
  EXPECT_EQ(batches_, (std::vector<std::pair<int, QString>>{{200, "226 of 451 entries"},
                                                            {25, "225 of 451 entries"}}));
  EXPECT_EQ(Shown().front(), "Leek soup 449");
  EXPECT_EQ(Shown().back(), "Leek soup 1");
}

TEST_F(ManyEntriesTest, WhileCatchingUpWithAnotherProgramTheRowsFoundAreNotTheAnswer) {
  Search("stew");
  search_->SetSlice(std::chrono::milliseconds(0));  // 250 entries compared a slice
  RunSql("UPDATE \"My Log\" SET Content = 'Pea soup' WHERE Content = 'Pea stew 450'");
  batches_.clear();
  Type("stew");
  while (!search_->Provisional() && !search_->Answered()) QCoreApplication::processEvents();
  // The newest entries are not yet compared: the index still finds the one changed.
  EXPECT_TRUE(search_->Provisional());
  EXPECT_EQ(Found(), "Checking for changes… 55%");
  EXPECT_EQ(Shown().front(), "Pea stew 450");
  while (search_->Searching()) QCoreApplication::processEvents();
  EXPECT_TRUE(search_->Answered());
  EXPECT_EQ(Found(), "224 of 451 entries");
  EXPECT_EQ(Shown().size(), 224u);
  EXPECT_EQ(Shown().front(), "Pea stew 448");
}

TEST_F(EntryWindowsTest, NothingUpToNowMeansNoList) {
  editor_->SwitchMode(1);
  OpenList();
  Settle();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_EQ(services_.messages[0].text, "No Entries Found");
  EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(Find<QWidget>("frmList"), nullptr);

  Store({2027, 1, 1, 0, 0, 0}, "Only the future");
  OpenList();
  Settle();
  EXPECT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(Find<QWidget>("frmList"), nullptr);
}

}  // namespace
}  // namespace quill::ui
