// Every window from the keyboard and for a screen reader: each input Tab can reach has a
// name, and Tab walks the inputs round in reading order, from the window's first focus.
// The walk knows no window's controls, so what is added later is walked too.

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <algorithm>
#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "ui/setup/frm_setup.h"
#include "ui/start/frm_enter.h"

namespace quill::ui {
namespace {

// An input of `window`: Tab may stop at it, and it is no part of another input.
bool IsInput(QWidget* widget, QWidget* window) {
  if ((widget->focusPolicy() & Qt::TabFocus) == 0 || widget->focusProxy() != nullptr) return false;
  if (widget->window() != window) return false;
  for (QWidget* above = widget->parentWidget(); above != window; above = above->parentWidget()) {
    if (above->focusPolicy() != Qt::NoFocus) return false;
  }
  return true;
}

// Tab stops at the checked option of a group; the arrow keys choose among them.
bool IsOptionPassedBy(QWidget* widget) {
  auto* option = qobject_cast<QRadioButton*>(widget);
  if (option == nullptr || !option->autoExclusive() || option->isChecked()) return false;
  for (QRadioButton* other :
       option->parentWidget()->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (other->autoExclusive() && other->isChecked()) return true;
  }
  return false;
}

std::vector<QWidget*> Inputs(QWidget* window) {
  std::vector<QWidget*> inputs;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (IsInput(widget, window) && widget->isVisibleTo(window) && widget->isEnabled() &&
        !IsOptionPassedBy(widget)) {
      inputs.push_back(widget);
    }
  }
  return inputs;
}

// What names an input: its own accessible name, a button's caption, or the label that has it
// as its buddy; empty when nothing does.
QString NameOf(QWidget* widget) {
  if (!widget->accessibleName().trimmed().isEmpty()) return widget->accessibleName();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().trimmed();
  for (QLabel* label : widget->window()->findChildren<QLabel*>()) {
    if (label->buddy() == widget) return label->text().trimmed();
  }
  return {};
}

std::string Describe(QWidget* widget) {
  return (widget->objectName().isEmpty() ? QString(widget->metaObject()->className())
                                         : widget->objectName())
      .toStdString();
}

std::vector<std::string> Describe(const std::vector<QWidget*>& widgets) {
  std::vector<std::string> names;
  for (QWidget* widget : widgets) names.push_back(Describe(widget));
  return names;
}

// Top to bottom in lines, left to right within a line: an input whose top lies above the
// middle of a line's first input stands on that line.
std::vector<QWidget*> ReadingOrder(QWidget* window) {
  std::vector<std::pair<QWidget*, QRect>> boxes;
  for (QWidget* widget : Inputs(window)) {
    boxes.emplace_back(widget, QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()));
  }
  std::stable_sort(boxes.begin(), boxes.end(),
                   [](const auto& a, const auto& b) { return a.second.top() < b.second.top(); });
  std::vector<std::vector<std::pair<QWidget*, QRect>>> lines;
  for (const auto& box : boxes) {
    if (lines.empty() || box.second.top() >= lines.back().front().second.center().y()) {
      lines.emplace_back();
    }
    lines.back().push_back(box);
  }
  std::vector<QWidget*> order;
  for (auto& line : lines) {
    std::stable_sort(line.begin(), line.end(), [](const auto& a, const auto& b) {
      return a.second.left() < b.second.left();
    });
    for (const auto& box : line) order.push_back(box.first);
  }
  return order;
}

// Where the window's own rules put the first focus; elsewhere it is the first input read.
enum class Start { FirstRead, Named, AnyInput };

class AccessibilityTest : public testing::EditorFixture {
 protected:
  // Presses Tab (Ctrl+Tab in a text box where Tab types a tab) until the focus is back
  // where it started; the inputs it stopped at.
  static std::vector<QWidget*> TabChain(QWidget* window) {
    std::vector<QWidget*> chain;
    QWidget* first = QApplication::focusWidget();
    for (QWidget* at = first; at != nullptr && chain.size() < 120;) {
      chain.push_back(at);
      const auto* plain = qobject_cast<QPlainTextEdit*>(at);
      const auto* rich = qobject_cast<QTextEdit*>(at);
      const bool keeps_tab = (plain != nullptr && !plain->tabChangesFocus()) ||
                             (rich != nullptr && !rich->tabChangesFocus());
      // A date field takes Tab from one of its parts to the next before it lets go.
      for (int press = 0; press < 8 && QApplication::focusWidget() == at; ++press) {
        QTest::keyClick(at, Qt::Key_Tab, keeps_tab ? Qt::ControlModifier : Qt::NoModifier);
      }
      at = QApplication::focusWidget();
      if (at == first) break;
      EXPECT_TRUE(at != nullptr && at->window() == window)
          << "Tab left " << Describe(window) << " after " << Describe(chain.back());
      if (at == nullptr || at->window() != window) break;
    }
    return chain;
  }

  // Walks `window` as it stands: names, then the chain from its focus round to it again.
  void Walk(QWidget* window, const std::string& state, Start start = Start::FirstRead,
            QWidget* named = nullptr) {
    SCOPED_TRACE(Describe(window) + ", " + state);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QCoreApplication::processEvents();
    const std::vector<QWidget*> order = ReadingOrder(window);
    ASSERT_FALSE(order.empty());
    for (QWidget* input : order) {
      EXPECT_FALSE(NameOf(input).isEmpty()) << Describe(input) << " has no name";
      QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(input);
      EXPECT_TRUE(reader != nullptr && !reader->text(QAccessible::Name).isEmpty())
          << Describe(input) << " tells a screen reader no name";
    }
    QWidget* first = QApplication::focusWidget();
    ASSERT_NE(first, nullptr);
    if (start == Start::FirstRead) {
      EXPECT_EQ(Describe(first), Describe(order.front()));
    } else if (start == Start::Named) {
      EXPECT_EQ(first, named) << Describe(first);
    }
    const auto at = std::find(order.begin(), order.end(), first);
    ASSERT_NE(at, order.end()) << Describe(first) << " has the focus but is no input";
    std::vector<QWidget*> expected(at, order.end());
    expected.insert(expected.end(), order.begin(), at);
    EXPECT_EQ(Describe(TabChain(window)), Describe(expected));
  }

  QWidget* Opened(const char* name) {
    QWidget* window = Find<QWidget>(name);
    EXPECT_NE(window, nullptr) << name;
    return window;
  }
  void Store(const char* text) {
    editor_->SwitchMode(0);
    Type(text);
    Click(Nav(1));
  }
};

TEST_F(AccessibilityTest, TheChooserInBothItsModes) {
  ListProjects({"My Log", "Other Log"});
  app_.Settings().SetUserValue("Last", "My Log");
  ASSERT_TRUE(app_.StartProgram());
  frmEnter* chooser = app_.Chooser();
  Walk(chooser, "choosing");
  Child<QComboBox>(chooser, "boxWho")->setCurrentIndex(0);
  Click(Child<QPushButton>(chooser, "cmdSetup"));  // "< create new file set >"
  Walk(chooser, "naming a new project", Start::Named, Child<QWidget>(chooser, "Text1"));
}

TEST_F(AccessibilityTest, TheMainWindowInEachModeAndItsDialogs) {
  Open();
  Walk(editor_, "new entry", Start::Named, Text());
  const std::pair<int, const char*> dialogs[] = {{4, "frmURL"},  {5, "frmIMG"},  {15, "frmFYL"},
                                                 {6, "frmDiv"},  {3, "frmFont"}, {8, "frmLst"},
                                                 {14, "frmHtml"}};
  for (const auto& [label, name] : dialogs) {
    editor_->ToolbarClick(label);
    QWidget* dialog = Opened(name);
    if (dialog == nullptr) continue;
    if (label == 4) {  // the address first, ahead of the protocol beside it
      Walk(dialog, "opened", Start::Named, Child<QWidget>(dialog, "Text1"));
    } else {
      Walk(dialog, "opened");
    }
    Click(Child<QPushButton>(dialog, "cmdNav_1"));
    Settle();
  }

  Store("one");
  Store("two");
  Click(Nav(0));
  Walk(editor_, "review", Start::AnyInput);
  Click(Child<QPushButton>(editor_, "cmdSetup"));  // List
  Walk(Opened("frmList"), "opened");
  Click(Child<QPushButton>(Opened("frmList"), "cmdSetup"));
  Settle();
  Click(Nav(1));
  Walk(editor_, "edit", Start::Named, Text());
  Click(Nav(2));  // Date
  Walk(Opened("frmDate"), "opened");
}

// The link report's bar and the find bar are made when first needed, the report first here:
// each still takes its place in the window's reading order.
TEST_F(AccessibilityTest, TheBarsMadeLaterAndTheListOfLinksThatLeadNowhere) {
  Open();
  Text()->setPlainText("See <a href=\"gone.html\">this</a>");
  Click(Nav(1));  // Save
  Click(Nav(2));  // Output: the report's bar shows
  editor_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(editor_));
  Text()->setFocus();
  QTest::keyClick(Text(), Qt::Key_H, Qt::ControlModifier);  // find and replace
  Walk(editor_, "with both bars", Start::Named, Child<QWidget>(editor_, "txtFind"));
  Click(Child<QPushButton>(editor_, "cmdLinks"));
  Walk(Opened("frmLinks"), "opened");
}

TEST_F(AccessibilityTest, EverySetupPageWithEveryFieldShown) {
  app_.Project().IncludeRSS = 1;
  app_.Project().PostFTP = 1;
  app_.Settings().LoadSettings(true);
  Open();
  app_.OpenSetupDialog();
  QWidget* setup = Opened("frmSetup");
  ASSERT_NE(setup, nullptr);
  Walk(setup, "opened");
  auto* dialog = qobject_cast<frmSetup*>(setup);
  for (int page = 1; page < 5; ++page) {
    // The next page as the keyboard chooses it: the arrow key from the page's option.
    QWidget* option = Child<QWidget>(setup, ("optSet_" + std::to_string(page - 1)).c_str());
    option->setFocus();
    QTest::keyClick(option, Qt::Key_Right);
    ASSERT_EQ(dialog->CurrentPage(), page);
    Walk(setup, "page " + std::to_string(page), Start::AnyInput);
  }
}

}  // namespace
}  // namespace quill::ui
