#include "ui/start/frm_enter.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>

#include "support/ui_fixture.h"
#include "ui/editor/frm_blog.h"

namespace quill::ui {
namespace {

class ChooserTest : public testing::UiFixture {
 protected:
  frmEnter* Start() {
    EXPECT_TRUE(app_.StartProgram());
    return app_.Chooser();
  }
  QComboBox* List(frmEnter* chooser) { return Child<QComboBox>(chooser, "boxWho"); }
  QPushButton* Delete(frmEnter* chooser) { return Child<QPushButton>(chooser, "cmdDel"); }
  void Go(frmEnter* chooser) { Click(Child<QPushButton>(chooser, "cmdSetup")); }
  std::vector<std::string> Projects() {
    std::vector<std::string> names;
    for (int i = 0; i < core::SettingsStore::kMaxProjects; ++i) {
      std::string name = app_.Settings().GetUserValue(core::SettingsStore::ListValueName(i));
      if (name.empty()) break;
      names.push_back(name);
    }
    return names;
  }
  void NameNewProject(frmEnter* chooser, const QString& name) {
    List(chooser)->setCurrentIndex(0);
    Go(chooser);
    QTest::keyClicks(Child<QLineEdit>(chooser, "Text1"), name);
    Go(chooser);
  }
};

TEST_F(ChooserTest, WithoutProjectsOnlyCreateIsListedAndDeleteIsBlank) {
  frmEnter* chooser = Start();
  ASSERT_NE(chooser, nullptr);
  EXPECT_EQ(chooser->windowTitle(), "Select");
  EXPECT_EQ(List(chooser)->count(), 1);
  EXPECT_EQ(List(chooser)->itemText(0), "< create new file set >");
  EXPECT_EQ(List(chooser)->currentIndex(), 0);
  EXPECT_FALSE(Delete(chooser)->isEnabled());
  EXPECT_EQ(Delete(chooser)->text(), "");
  EXPECT_EQ(Child<QLabel>(chooser, "Label1")->text(), "Select Blog Project:");
  EXPECT_EQ(Child<QPushButton>(chooser, "Command1")->toolTip(), "Close the program");
  EXPECT_EQ(services_.clipboard_clears, 1);
  EXPECT_FALSE(app_.UploaderPresent());
}

TEST_F(ChooserTest, TheLastProjectIsSelectedWhileItIsListed) {
  ListProjects({"Alpha", "Beta", "Gamma"});
  app_.Settings().SetUserValue("Last", "Beta");
  frmEnter* chooser = Start();
  EXPECT_EQ(List(chooser)->count(), 4);
  EXPECT_EQ(List(chooser)->currentText(), "Beta");
  EXPECT_TRUE(Delete(chooser)->isEnabled());
  EXPECT_EQ(Delete(chooser)->text(), "Delete");
  List(chooser)->setCurrentIndex(0);
  EXPECT_FALSE(Delete(chooser)->isEnabled());

  app_.CloseAllWindows(false);
  Settle();
  app_.Settings().SetUserValue("Last", "Omega");
  EXPECT_EQ(List(Start())->currentIndex(), 0);
}

TEST_F(ChooserTest, OpeningAListedProjectRemembersItAndLeavesTheChooser) {
  ListProjects({"Alpha", "Beta"});
  app_.Settings().SetUserValue("Last", "Alpha");
  frmEnter* chooser = Start();
  List(chooser)->setCurrentIndex(2);
  Go(chooser);
  Settle();
  EXPECT_EQ(app_.Chooser(), nullptr);
  ASSERT_NE(app_.Editor(), nullptr);
  EXPECT_EQ(app_.Project().ProjectName, "Beta");
  EXPECT_EQ(app_.Settings().GetUserValue("Last"), "Beta");
  EXPECT_EQ(app_.Editor()->windowTitle(), "Ardentware Quillsmith : Beta");
}

TEST_F(ChooserTest, ANewProjectIsNamedTrimmedAndAppended) {
  ListProjects({"Alpha"});
  frmEnter* chooser = Start();
  Go(chooser);  // item 0: name a new project
  EXPECT_TRUE(chooser->NewProjectMode());
  EXPECT_EQ(Child<QLabel>(chooser, "Label1")->text(), "Enter Blog Project Name:");
  EXPECT_FALSE(List(chooser)->isEnabled());
  EXPECT_TRUE(Delete(chooser)->isHidden());
  EXPECT_EQ(chooser->findChild<QStackedWidget*>()->currentWidget(),
            Child<QLineEdit>(chooser, "Text1"));

  QTest::keyClicks(Child<QLineEdit>(chooser, "Text1"), "  Garden Notes  ");
  Go(chooser);
  Settle();
  EXPECT_EQ(Projects(), (std::vector<std::string>{"Alpha", "Garden Notes"}));
  EXPECT_EQ(app_.Settings().GetUserValue("Last"), "Garden Notes");
  EXPECT_EQ(app_.Project().ProjectName, "Garden Notes");
  // A project that was never set up gets the setup dialog beside the editor.
  EXPECT_NE(app_.Editor(), nullptr);
  ASSERT_NE(app_.Editor()->findChild<QWidget*>(), nullptr);
  bool setup_shown = false;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    setup_shown = setup_shown || (window->objectName() == "frmSetup" && window->isVisible());
  }
  EXPECT_TRUE(setup_shown);
}

TEST_F(ChooserTest, ANewProjectStartsWithEntryPagesOnAndAnOlderOneKeepsItsSettings) {
  ListProjects({"Alpha"});
  app_.Settings().Settings().ProjectName = "Alpha";
  app_.Settings().SetProjectValue("Title", "Alpha Log");
  NameNewProject(Start(), "Garden Notes");
  Settle();
  EXPECT_EQ(app_.Project().EntryPages, 1);
  EXPECT_EQ(app_.Settings().GetProjectValue("EntryPages"), "1");

  // Named again, a project that has settings stays as it was made.
  NameNewProject(Start(), "Alpha");
  Settle();
  EXPECT_EQ(app_.Project().ProjectName, "Alpha");
  EXPECT_EQ(app_.Project().EntryPages, core::kNotStored);
}

TEST_F(ChooserTest, ANameAlreadyListedKeepsItsPlace) {
  ListProjects({"Alpha", "Beta"});
  NameNewProject(Start(), "Alpha");
  Settle();
  EXPECT_EQ(Projects(), (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(app_.Project().ProjectName, "Alpha");
}

// Names the registry would read as a listed project's key are refused, saying which.
TEST_F(ChooserTest, ANameThatWouldShareAProjectsSettingsIsRefused) {
  ListProjects({"Case", "Trail\\"});
  frmEnter* chooser = Start();
  NameNewProject(chooser, "CASE");
  const std::vector<std::pair<QString, QString>> refused = {{"CASE", "\"Case\""},
                                                            {"Trail", "\"Trail\\\""},
                                                            {"trail\\\\", "\"Trail\\\""},
                                                            {"\\", "\"\\\""}};
  for (std::size_t i = 0; i < refused.size(); ++i) {
    if (i > 0) {
      Child<QLineEdit>(chooser, "Text1")->clear();
      QTest::keyClicks(Child<QLineEdit>(chooser, "Text1"), refused[i].first);
      Go(chooser);
    }
    ASSERT_EQ(services_.messages.size(), i + 1);
    EXPECT_EQ(services_.messages[i].title, "Oops!");
    EXPECT_TRUE(services_.messages[i].text.contains(refused[i].second))
        << services_.messages[i].text.toStdString();
  }
  Settle();
  EXPECT_EQ(app_.Chooser(), chooser);
  EXPECT_EQ(Projects(), (std::vector<std::string>{"Case", "Trail\\"}));
}

TEST_F(ChooserTest, AnEmptyNameOpensTheLastProjectOrWaitsForAName) {
  frmEnter* chooser = Start();
  NameNewProject(chooser, "   ");
  Settle();
  EXPECT_EQ(app_.Chooser(), chooser);  // nothing to open: still naming
  EXPECT_EQ(app_.Editor(), nullptr);
  EXPECT_TRUE(Projects().empty());
  EXPECT_TRUE(Child<QLineEdit>(chooser, "Text1")->hasFocus() || !chooser->isActiveWindow());

  app_.CloseAllWindows(false);
  Settle();
  ListProjects({"Alpha"});
  app_.Settings().SetUserValue("Last", "Alpha");
  NameNewProject(Start(), "");
  Settle();
  EXPECT_EQ(app_.Project().ProjectName, "Alpha");
  EXPECT_NE(app_.Editor(), nullptr);
}

TEST_F(ChooserTest, AFullListRefusesANewProject) {
  for (int i = 0; i < 100; ++i) {
    app_.Settings().SetUserValue(core::SettingsStore::ListValueName(i), "Log " + std::to_string(i));
  }
  frmEnter* chooser = Start();
  NameNewProject(chooser, "One too many");
  Settle();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_TRUE(services_.messages[0].text.contains("full"));
  EXPECT_EQ(app_.Chooser(), chooser);
  EXPECT_EQ(app_.Settings().GetUserValue("100"), "");
  EXPECT_EQ(Projects().size(), 100u);
}

TEST_F(ChooserTest, DeletingAsksFirstAndLeavesLastAsItWas) {
  ListProjects({"Alpha", "Beta", "Gamma"});
  app_.Settings().SetUserValue("Last", "Beta");
  frmEnter* chooser = Start();

  Click(Delete(chooser));  // answered No
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Just checking!");
  EXPECT_EQ(services_.messages[0].text, "Are you sure you want to delete this project?\n\nBeta");
  EXPECT_EQ(Projects().size(), 3u);

  services_.answers = {MessageAnswer::Yes};
  Click(Delete(chooser));
  EXPECT_EQ(Projects(), (std::vector<std::string>{"Alpha", "Gamma"}));
  EXPECT_EQ(app_.Settings().GetUserValue("Last"), "Beta");
  EXPECT_EQ(List(chooser)->count(), 3);
  EXPECT_EQ(List(chooser)->currentIndex(), 0);
}

TEST_F(ChooserTest, AnEmptyNameOpensLastOnlyWhileItIsListed) {
  ListProjects({"Alpha", "Beta"});
  app_.Settings().SetUserValue("Last", "Beta");
  frmEnter* chooser = Start();
  services_.answers = {MessageAnswer::Yes};
  Click(Delete(chooser));  // Beta, the last one opened
  NameNewProject(chooser, "");
  Settle();
  EXPECT_EQ(app_.Chooser(), chooser);  // still waiting for a name
  EXPECT_EQ(app_.Editor(), nullptr);
  EXPECT_EQ(Projects(), std::vector<std::string>{"Alpha"});
  EXPECT_EQ(app_.Settings().FindProject("Beta"), std::nullopt);
}

TEST_F(ChooserTest, EgressEndsTheProgram) {
  frmEnter* chooser = Start();
  Click(Child<QPushButton>(chooser, "Command1"));
  Settle();
  EXPECT_EQ(quits_, 1);
  EXPECT_EQ(app_.Chooser(), nullptr);
}

TEST_F(ChooserTest, ASecondCopyOfTheProgramSaysSoAndEnds) {
  Start();
  testing::FakeDesktopServices second_services;
  ui::App second(registry_, clock_, second_services, app_folder_,
                 QString::fromStdString(dir_.File("quillsmith.lock")),
                 dir_.File("state/quillsmith"));
  int second_quits = 0;
  second.SetQuitHandler([&] { ++second_quits; });
  EXPECT_FALSE(second.StartProgram());
  ASSERT_EQ(second_services.messages.size(), 1u);
  EXPECT_EQ(second_services.messages[0].title, "Oops!");
  EXPECT_EQ(second_services.messages[0].text, "Program is already running!");
  EXPECT_EQ(second_services.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(second_quits, 1);
  EXPECT_EQ(second.Chooser(), nullptr);
  EXPECT_NE(app_.Chooser(), nullptr);  // the running copy is undisturbed
}

TEST_F(ChooserTest, TheUploaderIsLookedForInTheProgramsFolder) {
  testing::WriteFile((app_folder_ + "quillpush").toStdString(), "#!/bin/sh\n");
  Start();
  EXPECT_TRUE(app_.UploaderPresent());
  EXPECT_EQ(app_.UploaderPath(), app_folder_ + "quillpush");
}

TEST_F(ChooserTest, AProjectNamedOnTheCommandLineOpensAsIfChosen) {
  ListProjects({"Alpha", "Beta"});
  app_.Settings().SetUserValue("Last", "Alpha");
  EXPECT_TRUE(app_.StartProgram(" beta "));  // names compare without regard to case
  Settle();
  EXPECT_EQ(app_.Chooser(), nullptr);
  ASSERT_NE(app_.Editor(), nullptr);
  EXPECT_EQ(app_.Project().ProjectName, "Beta");
  EXPECT_EQ(app_.Settings().GetUserValue("Last"), "Beta");
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(ChooserTest, AnUnknownProjectOnTheCommandLineGetsOopsAndTheChooser) {
  ListProjects({"Alpha"});
  EXPECT_TRUE(app_.StartProgram("Gamma"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_EQ(services_.messages[0].text, "There is no project named \"Gamma\".");
  ASSERT_NE(app_.Chooser(), nullptr);
  EXPECT_TRUE(app_.Chooser()->isVisible());
  EXPECT_EQ(app_.Editor(), nullptr);
}

}  // namespace
}  // namespace quill::ui
