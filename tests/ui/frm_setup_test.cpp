#include "ui/setup/frm_setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "support/editor_fixture.h"
#include "ui/color_picker.h"
#include "ui/setup/setup_rules.h"
#include "ui/start/frm_enter.h"

namespace quill::ui {
namespace {

TEST(SetupRules, NumbersAreReadFromTheStartOfTheField) {
  EXPECT_EQ(LeadingNumber("40kb"), 40);
  EXPECT_EQ(LeadingNumber("2.5"), 2);
  EXPECT_EQ(LeadingNumber("3.5"), 4);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("  12 kb"), 12);
  EXPECT_EQ(LeadingNumber("-7"), -7);
  EXPECT_EQ(LeadingNumber("1e2x"), 100);
  EXPECT_EQ(LeadingNumber("5e"), 5);
  EXPECT_EQ(LeadingNumber("99999"), 32767);
  EXPECT_EQ(LeadingNumber("-99999"), -32768);
}

TEST(SetupRules, FtpHostAndPathAreCleanedUp) {
  EXPECT_EQ(NormaliseFtpHost("ftp://MyHost/"), "MyHost");
  EXPECT_EQ(NormaliseFtpHost("http://myhost/dir"), "myhostdir");
  EXPECT_EQ(NormaliseFtpHost("HTTP://myhost"), "myhost");
  EXPECT_EQ(NormaliseFtpHost("myhost\\"), "myhost");
  EXPECT_EQ(NormaliseFtpPath("ftp://myhost/blog", "myhost"), "blog");
  EXPECT_EQ(NormaliseFtpPath("\\www\\blog", "myhost"), "www/blog");
  EXPECT_EQ(NormaliseFtpPath("myhost/public_html/blog/", "myhost"), "public_html/blog/");
  EXPECT_EQ(NormaliseFtpPath("MYHOST/x", "myhost"), "x");
  EXPECT_EQ(NormaliseFtpPath("/x/y", ""), "x/y");
}

TEST(SetupRules, AProjectNeedsAnOutputFolderFirstAndThenATitle) {
  EXPECT_EQ(MissingRequirement("", ""), "Output Folder REQUIRED!");
  EXPECT_EQ(MissingRequirement("", "Notes"), "Output Folder REQUIRED!");
  EXPECT_EQ(MissingRequirement("/srv/blog/", ""), "Blog Title REQUIRED!");
  EXPECT_EQ(MissingRequirement("/srv/blog/", "Notes"), "");
}

TEST(SetupRules, PageNamesStayInsideTheOutputFolder) {
  EXPECT_EQ(PageNameProblem("journal"), "");
  EXPECT_EQ(PageNameProblem(""), "");
  EXPECT_EQ(PageNameProblem("my..blog"), "");
  for (const char* refused : {"../journal", "a/b", ".", "..", "tab\tbed", "del\x7F"}) {
    EXPECT_NE(PageNameProblem(refused, kPosixFileNames), "") << refused;
    EXPECT_NE(PageNameProblem(refused, kWindowsFileNames), "") << refused;
  }
  // What only Windows refuses.
  for (const char* name : {"a\\b", "what?", "a:b", "say \"hi\"", "CON", "nul", "Com1", "LPT9"}) {
    EXPECT_EQ(PageNameProblem(name, kPosixFileNames), "") << name;
    EXPECT_NE(PageNameProblem(name, kWindowsFileNames), "") << name;
  }
  EXPECT_EQ(PageNameProblem("console", kWindowsFileNames), "");
  EXPECT_EQ(PageNameProblem("com0", kWindowsFileNames), "");
  EXPECT_EQ(SetupVersionText(1, 0, 142), "1.00.01.42");
  EXPECT_EQ(SetupVersionText(2, 5, 1203), "2.05.12.03");
}

class SetupTest : public testing::EditorFixture {
 protected:
  frmSetup* OpenSetup() {
    if (editor_ == nullptr) Open();
    app_.OpenSetupDialog();
    setup_ = Find<frmSetup>("frmSetup");
    EXPECT_NE(setup_, nullptr);
    return setup_;
  }
  template <class Widget>
  Widget* Control(const char* name) {
    return Child<Widget>(setup_, name);
  }
  void Page(int index) {
    Control<QRadioButton>(("optSet_" + std::to_string(index)).c_str())->click();
  }
  void Save() { Click(Control<QPushButton>("cmdSave")); }
  void Cancel() { Click(Control<QPushButton>("cmdExit")); }
  std::vector<QString> SupportFiles() {
    std::vector<QString> files;
    auto* list = Control<QListWidget>("List1");
    for (int i = 0; i < list->count(); ++i) {
      files.push_back(list->item(i)->text() +
                      (list->item(i)->checkState() == Qt::Checked ? " *" : ""));
    }
    return files;
  }
  QString Site(const char* name) { return QString::fromStdString(dir_.File("site/") + name); }

  frmSetup* setup_ = nullptr;
};

TEST_F(SetupTest, LoadsWithTheVersionAndTodaysFormats) {
  clock_.Set({2026, 12, 7, 9, 30, 5});
  OpenSetup();
  EXPECT_EQ(setup_->windowTitle(), "Ardentware Quillsmith : v1.00.01.42");
  EXPECT_EQ(Control<QLabel>("lblAbout_6")->text(), "v1.00.01.42");
  auto* dates = Control<QComboBox>("Combo1");
  ASSERT_EQ(dates->count(), 4);
  EXPECT_EQ(dates->itemText(0), "Monday, December 07, 2026");
  EXPECT_EQ(dates->itemText(3), "12/07/26");
  auto* times = Control<QComboBox>("Combo2");
  EXPECT_EQ(times->itemText(0), "9:30:05 AM");
  EXPECT_EQ(times->itemText(2), "09:30:05 (24 hr)");
  EXPECT_EQ(times->itemText(3), "09:30 (24 hr)");
  EXPECT_EQ(times->currentIndex(), 1);
  EXPECT_TRUE(Control<QRadioButton>("optDT_1")->isChecked());
  EXPECT_EQ(Control<QLabel>("lblTemp")->text(), QString::fromStdString(dir_.File("site/")));
  Cancel();

  Settle();
  clock_.Set({2026, 12, 7, 14, 0, 0});
  OpenSetup();
  EXPECT_EQ(Control<QComboBox>("Combo2")->itemText(2), "14:00:00");
  EXPECT_EQ(Control<QComboBox>("Combo2")->itemText(3), "14:00");
}

// The focus chain: the options, down each page in turn, then the buttons under the pages.
TEST_F(SetupTest, FocusRunsDownEachPageInTurn) {
  OpenSetup();
  std::vector<QString> order;
  for (QWidget* widget = setup_->nextInFocusChain(); widget != setup_;
       widget = widget->nextInFocusChain()) {
    if ((widget->focusPolicy() & Qt::TabFocus) != 0 && !widget->objectName().isEmpty()) {
      order.push_back(widget->objectName());
    }
  }
  EXPECT_EQ(order,
            (std::vector<QString>{
                "optSet_0", "optSet_1", "optSet_2", "optSet_3",  "optSet_4",  "txtTitle",
                "cmdTemp",  "Combo1",   "Combo2",   "optDT_0",   "optDT_1",   "optDT_2",
                "chkTime",  "txtPage",  "txtSite",  "txtEditor", "chkTell",   "chkNews",
                "chkPages", "chkHold",  "txtDocs",  "txtNews",   "chkHtml5",  "txtLanguage",
                "cboSpell", "ClrBack",  "ClrFont",  "cmdApply",  "Combo3",    "cmdAdd",
                "Check1",   "List1",    "cmdMake",  "cmdImport", "cmdExport", "txtImageWidth",
                "chkSync",  "txtHost",  "txtUser",  "txtPass",   "txtPath",   "Command1",
                "cmdSave",  "cmdExit"}));
}

TEST_F(SetupTest, StoredPageNamesAreSelectedOrAppended) {
  const std::pair<const char*, int> cases[] = {{"news", 1}, {"journal", 4}, {"Blog", 4}};
  for (const auto& [name, index] : cases) {
    app_.Settings().SetProjectValue("FileNames", name);
    app_.Settings().LoadSettings(false);
    OpenSetup();
    auto* names = Control<QComboBox>("Combo3");
    EXPECT_EQ(names->currentIndex(), index) << name;
    EXPECT_EQ(names->count(), index == 4 ? 5 : 4) << name;
    EXPECT_EQ(names->currentText(), name);
    Cancel();
    Settle();
  }
}

TEST_F(SetupTest, TheBasicPageNeedsAFolderAndATitle) {
  app_.Project().Template = "";
  app_.Project().Title = "";
  app_.Settings().LoadSettings(true);
  OpenSetup();
  Page(2);
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].text, "Output Folder REQUIRED!");
  EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
  EXPECT_TRUE(Control<QRadioButton>("optSet_0")->isChecked());
  EXPECT_EQ(setup_->CurrentPage(), 0);

  Control<QLabel>("lblTemp")->setText(Site(""));
  Page(1);
  EXPECT_EQ(services_.messages.back().text, "Blog Title REQUIRED!");
  QTest::keyClicks(Control<QLineEdit>("txtTitle"), "   ");  // blanks pass here
  Page(1);
  EXPECT_EQ(setup_->CurrentPage(), 1);
  EXPECT_EQ(services_.messages.size(), 2u);
}

TEST_F(SetupTest, HiddenRssFieldsAreStillSaved) {
  app_.Settings().SetProjectValue("IncludeRSS", "1");
  app_.Settings().SetProjectValue("Articles", "7");
  app_.Settings().LoadSettings(false);
  OpenSetup();
  Page(1);
  EXPECT_FALSE(Control<QLineEdit>("txtNews")->isHidden());
  Control<QCheckBox>("chkNews")->click();
  EXPECT_TRUE(Control<QLineEdit>("txtNews")->isHidden());
  EXPECT_TRUE(Control<QLabel>("Label2_10")->isHidden());
  EXPECT_TRUE(Control<QLineEdit>("txtDocs")->isHidden());
  Control<QLineEdit>("txtEditor")->setText(" ann@example.org ");
  Save();
  EXPECT_EQ(app_.Project().IncludeRSS, 0);
  EXPECT_EQ(app_.Project().Articles, 7);
  EXPECT_EQ(app_.Project().Master, "ann@example.org");
  EXPECT_EQ(app_.Settings().GetProjectValue("Master"), "ann@example.org");
}

TEST_F(SetupTest, EntryPagesAreLoadedSavedAndCancelledAndShowTheBlogAddress) {
  OpenSetup();
  Page(1);
  auto* box = Control<QCheckBox>("chkPages");
  EXPECT_EQ(box->text(), "Give every entry a page of its own (with an archive and a sitemap)");
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(Control<QLineEdit>("txtDocs")->isHidden());
  box->click();  // the sitemap needs the blog's address, feed or no feed
  EXPECT_FALSE(Control<QLineEdit>("txtDocs")->isHidden());
  EXPECT_TRUE(Control<QLineEdit>("txtNews")->isHidden());
  Cancel();
  EXPECT_EQ(app_.Settings().GetProjectValue("EntryPages"), "");

  OpenSetup();
  Page(1);
  Control<QCheckBox>("chkPages")->click();
  Save();
  EXPECT_EQ(app_.Project().EntryPages, 1);
  EXPECT_EQ(app_.Settings().GetProjectValue("EntryPages"), "1");

  OpenSetup();
  Page(1);
  EXPECT_TRUE(Control<QCheckBox>("chkPages")->isChecked());
  Control<QCheckBox>("chkPages")->click();
  Save();
  EXPECT_EQ(app_.Settings().GetProjectValue("EntryPages"), "0");  // the next build tidies up
}

TEST_F(SetupTest, Html5PagesAndTheirLanguageAreLoadedSavedAndCancelled) {
  OpenSetup();
  Page(1);
  auto* box = Control<QCheckBox>("chkHtml5");
  EXPECT_EQ(box->text(), "Pages for today's browsers and phones (HTML5, UTF-8)");
  EXPECT_FALSE(box->isChecked());
  box->click();
  QTest::keyClicks(Control<QLineEdit>("txtLanguage"), "de-CH");
  Cancel();
  EXPECT_EQ(app_.Settings().GetProjectValue("Html5"), "");
  EXPECT_EQ(app_.Settings().GetProjectValue("Language"), "");

  OpenSetup();
  Page(1);
  Control<QCheckBox>("chkHtml5")->click();
  QTest::keyClicks(Control<QLineEdit>("txtLanguage"), " de-CH ");
  // The support files follow the box: HTML5 pages have an icon.
  const auto* list = Control<QListWidget>("List1");
  EXPECT_FALSE(list->findItems("favicon.svg", Qt::MatchExactly).isEmpty());
  Save();
  EXPECT_EQ(app_.Settings().GetProjectValue("Html5"), "1");
  EXPECT_EQ(app_.Project().Language, "de-CH");

  OpenSetup();
  Page(1);
  EXPECT_TRUE(Control<QCheckBox>("chkHtml5")->isChecked());
  EXPECT_EQ(Control<QLineEdit>("txtLanguage")->text(), "de-CH");
  Control<QCheckBox>("chkHtml5")->click();
  EXPECT_TRUE(Control<QListWidget>("List1")->findItems("favicon.svg", Qt::MatchExactly).isEmpty());
  Save();
  EXPECT_EQ(app_.Settings().GetProjectValue("Html5"), "0");
}

TEST_F(SetupTest, WaitingEntriesAreLoadedSavedAndCancelled) {
  OpenSetup();
  Page(1);
  auto* box = Control<QCheckBox>("chkHold");
  EXPECT_EQ(box->text(), "Keep entries dated in the future off the site until their time");
  EXPECT_FALSE(box->isChecked());
  box->click();
  Cancel();
  EXPECT_EQ(app_.Settings().GetProjectValue("HoldFuture"), "");
  OpenSetup();
  Page(1);
  Control<QCheckBox>("chkHold")->click();
  Save();
  EXPECT_EQ(app_.Project().HoldFuture, 1);
  EXPECT_EQ(app_.Settings().GetProjectValue("HoldFuture"), "1");
  OpenSetup();
  Page(1);
  EXPECT_TRUE(Control<QCheckBox>("chkHold")->isChecked());
  Control<QCheckBox>("chkHold")->click();
  Save();
  EXPECT_EQ(app_.Settings().GetProjectValue("HoldFuture"), "0");
}

TEST_F(SetupTest, WithEntryPagesOnAPageNameThatTakesTheArchivesIsRefused) {
  app_.Settings().SetProjectValue("EntryPages", "1");
  app_.Settings().LoadSettings(false);
  OpenSetup();
  Page(2);
  Control<QCheckBox>("Check1")->setChecked(false);
  auto* names = Control<QComboBox>("Combo3");
  names->lineEdit()->clear();
  QTest::keyClicks(names->lineEdit(), "archive");
  Page(0);
  Save();
  ASSERT_FALSE(services_.messages.empty());
  EXPECT_EQ(services_.messages.back().title, "Oops!");
  EXPECT_NE(services_.messages.back().text.indexOf("archive.html"), -1)
      << services_.messages.back().text.toStdString();
  EXPECT_EQ(setup_->CurrentPage(), 2);
  EXPECT_EQ(app_.Project().FileNames, "blog");
}

TEST_F(SetupTest, ColoursReachTheProjectOnlyThroughApply) {
  const std::int32_t shading = app_.Project().Shading;
  OpenSetup();
  Page(2);
  auto* apply = Control<QPushButton>("cmdApply");
  EXPECT_FALSE(apply->isEnabled());
  services_.colours = {QColor(0, 0, 255), QColor(0xE0, 0xE0, 0xE0)};
  Click(Control<ColorPicker>("ClrBack"));
  EXPECT_TRUE(apply->isEnabled());
  EXPECT_EQ(apply->text(), "Apply");
  EXPECT_EQ(Control<QLabel>("Label4_0")->palette().color(QPalette::Window), QColor(0, 0, 255));
  Click(Control<ColorPicker>("ClrBack"));  // back to the old one
  EXPECT_FALSE(apply->isEnabled());
  EXPECT_EQ(apply->text(), "");

  // Picked but not applied: saving keeps the old colours.
  services_.colours = {QColor(0, 0, 255)};
  Click(Control<ColorPicker>("ClrBack"));
  Save();
  EXPECT_EQ(app_.Project().Shading, shading);
}

TEST_F(SetupTest, ApplyMarksBothStylesheetsAndNotUndoesIt) {
  for (const char* name : {"template.html", "default.css", "quillsmith.css"}) {
    testing::WriteFile(Site(name).toStdString(), "x");
  }
  const std::int32_t shading = app_.Project().Shading;
  OpenSetup();
  Page(2);
  EXPECT_EQ(SupportFiles(),
            (std::vector<QString>{"template.html", "default.css", "quillsmith.css"}));
  EXPECT_FALSE(Control<QPushButton>("cmdMake")->isEnabled());
  services_.colours = {QColor(255, 0, 0)};
  Click(Control<ColorPicker>("ClrBack"));
  Click(Control<QPushButton>("cmdApply"));
  EXPECT_EQ(app_.Project().Shading, 255);
  EXPECT_FALSE(Control<QPushButton>("cmdApply")->isEnabled());
  EXPECT_EQ(SupportFiles(),
            (std::vector<QString>{"template.html", "default.css *", "quillsmith.css *"}));
  EXPECT_EQ(Control<QPushButton>("cmdMake")->text(), "<< Create");
  Cancel();
  EXPECT_EQ(app_.Project().Shading, shading);
}

TEST_F(SetupTest, ShadingReachesTheWindowAndItsLabelsButNotButtonsOrFields) {
  OpenSetup();
  Page(2);
  services_.colours = {QColor(0, 0, 0), QColor(255, 255, 0)};
  Click(Control<ColorPicker>("ClrBack"));
  Click(Control<ColorPicker>("ClrFont"));
  Click(Control<QPushButton>("cmdApply"));
  EXPECT_EQ(setup_->palette().color(QPalette::Window), QColor(0, 0, 0));
  EXPECT_EQ(Control<QLabel>("Label2_16")->palette().color(QPalette::WindowText),
            QColor(255, 255, 0));
  auto* box = Control<QCheckBox>("Check1");
  EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(255, 255, 0));
  const QImage box_seen = box->grab().toImage();
  EXPECT_EQ(box_seen.pixelColor(box_seen.width() - 2, box_seen.height() / 2), QColor(0, 0, 0));
  for (const char* name : {"Command1", "cmdSave", "cmdExit", "cmdApply", "cmdAdd", "cmdMake",
                           "cmdTemp", "txtTitle", "txtPage", "Combo1", "Combo3", "List1"}) {
    auto* control = Control<QWidget>(name);
    const QPalette system = QApplication::palette(control);
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::ButtonText,
                            QPalette::Base, QPalette::Text}) {
      const QPalette::ColorGroup group = control->palette().currentColorGroup();
      EXPECT_EQ(control->palette().color(group, role), system.color(group, role))
          << name << " role " << role;
    }
  }
  // The theme colour's swatch on the theme colour: its frame still shows.
  auto* swatch = Control<ColorPicker>("ClrBack");
  swatch->resize(swatch->sizeHint());
  const QImage seen = swatch->grab().toImage();
  EXPECT_EQ(seen.pixelColor(seen.width() / 2, seen.height() / 2), QColor(0, 0, 0));
  bool framed = false;
  for (int x = 0; x < seen.width() / 2; ++x) {
    framed = framed || seen.pixelColor(x, seen.height() / 2) != QColor(0, 0, 0);
  }
  EXPECT_TRUE(framed);
}

TEST_F(SetupTest, FieldsShowWhatIsSaved) {
  OpenSetup();
  auto* page_size = Control<QLineEdit>("txtPage");
  page_size->clear();
  QTest::keyClicks(page_size, "1kb");
  EXPECT_EQ(page_size->text(), "1");
  page_size->clear();
  QTest::keyClicks(page_size, "40000");  // more than a project can keep
  EXPECT_EQ(page_size->text(), "4000");
  Page(1);
  Control<QCheckBox>("chkNews")->click();  // shows the article count
  auto* articles = Control<QLineEdit>("txtNews");
  articles->clear();
  QTest::keyClicks(articles, "abc-12");
  EXPECT_EQ(articles->text(), "12");
  auto* password = Control<QLineEdit>("txtPass");
  password->setText("secret");
  EXPECT_EQ(password->displayText(), "******");
  Save();
  EXPECT_EQ(app_.Project().MaxPageSize, 4000);
  EXPECT_EQ(app_.Project().Articles, 12);
}

TEST_F(SetupTest, CreateWaitsUntilTheChosenFolderIsSaved) {
  const std::string folder = dir_.File("new/");
  std::filesystem::create_directories(folder);
  app_.Project().Template = "";
  app_.Settings().LoadSettings(true);
  OpenSetup();
  services_.file_names = {QString::fromStdString(folder + "template.html")};
  Click(Control<QPushButton>("cmdTemp"));
  Page(2);
  Click(Control<QPushButton>("cmdMake"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_EQ(services_.messages[0].text,
            "Save the setup first: the support files go into the saved output folder, and the "
            "folder shown here is not saved yet.");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  EXPECT_EQ(Control<QPushButton>("cmdMake")->text(), "<< Create");  // still to do
}

TEST_F(SetupTest, ABadPageNameTakesTheUserToItsField) {
  OpenSetup();
  Page(2);
  auto* names = Control<QComboBox>("Combo3");
  names->lineEdit()->clear();
  QTest::keyClicks(names->lineEdit(), "a/b");
  Page(1);
  Save();
  EXPECT_EQ(services_.messages.back().title, "Oops!");
  EXPECT_EQ(setup_->CurrentPage(), 2);
  EXPECT_TRUE(Control<QRadioButton>("optSet_2")->isChecked());
  EXPECT_TRUE(setup_->focusWidget() == names || setup_->focusWidget() == names->lineEdit());
}

TEST_F(SetupTest, ANewTitleOffersTheOldTitlesEntriesOnce) {
  Open();
  for (int hour : {9, 10}) {
    app_.Entries().CurrentEntry = {{2026, 12, 7, hour, 0, 0}, "Entry at " + std::to_string(hour)};
    app_.Entries().SaveEntry();
  }
  auto rename = [&](const char* title) {
    OpenSetup();
    Control<QLineEdit>("txtTitle")->setText(title);
    Save();
    Settle();
  };
  services_.answers = {MessageAnswer::Yes};
  rename("Our Log");
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].text, "Carry the 2 entries of \"My Log\" over to \"Our Log\"?");
  EXPECT_EQ(services_.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(app_.Entries().CountEntriesOf("Our Log"), 2);
  EXPECT_EQ(app_.Entries().CountEntriesOf("My Log"), 2);  // left as it was

  rename("My Log");  // both hold entries: nothing to ask
  rename("MY LOG");  // the same table
  EXPECT_EQ(services_.messages.size(), 1u);

  rename("Third Log");  // answered No
  EXPECT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(app_.Entries().CountEntriesOf("Third Log"), 0);
}

TEST_F(SetupTest, SavingShowsTheHomeLinksAtOnce) {
  OpenSetup();
  auto* site = Child<QLabel>(editor_, "lblHome_0");
  auto* blog = Child<QLabel>(editor_, "lblHome_1");
  EXPECT_TRUE(site->isHidden());
  Page(1);
  Control<QLineEdit>("txtSite")->setText("https://ann.example/");
  Save();
  EXPECT_FALSE(site->isHidden());
  EXPECT_FALSE(blog->isHidden());
  EXPECT_EQ(blog->toolTip(), "https://ann.example/");
  Settle();

  OpenSetup();
  Page(1);
  Control<QLineEdit>("txtSite")->clear();
  Save();
  EXPECT_TRUE(site->isHidden());
  EXPECT_TRUE(blog->isHidden());
}

TEST_F(SetupTest, ThePasswordShowsOnlyWhileItHasTheFocus) {
  app_.Settings().SetProjectValue("PostFTP", "1");
  app_.Settings().LoadSettings(false);
  OpenSetup();
  Page(3);
  setup_->activateWindow();
  auto* password = Control<QLineEdit>("txtPass");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  password->setFocus();
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(password, &in);
  EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(password, &out);
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST_F(SetupTest, HostAndPathAreCleanedWhenLeft) {
  app_.Settings().SetProjectValue("PostFTP", "1");
  app_.Settings().LoadSettings(false);
  OpenSetup();
  Page(3);
  auto* host = Control<QLineEdit>("txtHost");
  auto* path = Control<QLineEdit>("txtPath");
  host->setText("ftp://myhost/");
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(host, &out);
  EXPECT_EQ(host->text(), "myhost");
  path->setText("ftp://myhost/blog");
  QApplication::sendEvent(path, &out);
  EXPECT_EQ(path->text(), "blog");
  Save();
  EXPECT_EQ(app_.Project().FtpHost, "myhost");
  EXPECT_EQ(app_.Project().FtpPath, "blog");
}

TEST_F(SetupTest, HelpPagesFollowThePage) {
  OpenSetup();
  auto* help = Control<QPushButton>("Command1");
  Page(3);
  EXPECT_EQ(help->text(), "Help!");
  Click(help);
  EXPECT_EQ(services_.opened.back(), "https://www.ardentware.example/quillsmith/help/synch.html");
  Page(4);
  EXPECT_EQ(help->text(), "Support");
  Click(help);
  EXPECT_EQ(services_.opened.back(), "https://www.ardentware.example/quillsmith/support.html");
  QTest::mouseClick(Control<QLabel>("lblAbout_3"), Qt::LeftButton);
  EXPECT_EQ(services_.opened.back(), "https://www.ardentware.example/");
  EXPECT_TRUE(services_.messages.empty());

  services_.open_failure = "no web browser was found on this desktop.";
  QTest::mouseClick(Control<QLabel>("lblAbout_3"), Qt::LeftButton);
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Oops!");
  EXPECT_EQ(services_.messages[0].text,
            "Cannot open https://www.ardentware.example/: no web browser was found on this "
            "desktop.");
}

TEST_F(SetupTest, AFolderWithFilesIsAskedAboutAndNoChoosesAgain) {
  std::filesystem::create_directories(dir_.File("busy"));
  std::filesystem::create_directories(dir_.File("empty"));
  testing::WriteFile(dir_.File("busy/index.html"), "x");
  OpenSetup();
  services_.file_names = {QString::fromStdString(dir_.File("busy/whatever.html")),
                          QString::fromStdString(dir_.File("empty/anything.htm"))};
  Click(Control<QPushButton>("cmdTemp"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].title, "Warning");
  EXPECT_EQ(services_.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(services_.messages[0].text,
            "Files with the same name as those used by\nthis program will be overwritten in "
            "this folder\n\nAre you sure this is the right place?");
  EXPECT_EQ(Control<QLabel>("lblTemp")->text(), QString::fromStdString(dir_.File("empty/")));
  EXPECT_TRUE(services_.file_names.empty());                   // the dialog came back once
  EXPECT_EQ(app_.Project().OutputFolder, dir_.File("site/"));  // nothing stored yet

  services_.file_names = {QString::fromStdString(dir_.File("busy/t.html"))};
  services_.answers = {MessageAnswer::Yes};
  Click(Control<QPushButton>("cmdTemp"));
  EXPECT_EQ(Control<QLabel>("lblTemp")->text(), QString::fromStdString(dir_.File("busy/")));
}

TEST_F(SetupTest, SavedNumbersAndPageNames) {
  OpenSetup();
  Control<QLineEdit>("txtPage")->setText("40kb");
  Page(2);
  Control<QLineEdit>("txtNews")->setText("99999");
  auto* names = Control<QComboBox>("Combo3");
  names->setFocus();
  names->lineEdit()->clear();
  QTest::keyClicks(names->lineEdit(), "  diary ");
  EXPECT_EQ(Control<QPushButton>("cmdAdd")->text(), "-add-");
  Save();
  EXPECT_EQ(app_.Project().MaxPageSize, 40);
  EXPECT_EQ(app_.Project().Articles, 32767);
  EXPECT_EQ(app_.Project().FileNames, "diary");
  Settle();

  OpenSetup();
  Page(2);
  names = Control<QComboBox>("Combo3");
  EXPECT_EQ(names->currentText(), "diary");
  names->lineEdit()->clear();
  QTest::keyClicks(names->lineEdit(), "../outside");
  Click(Control<QPushButton>("cmdAdd"));
  EXPECT_EQ(services_.messages.back().title, "Oops!");
  EXPECT_EQ(names->count(), 5);
  const std::size_t before = services_.messages.size();
  Save();
  EXPECT_EQ(services_.messages.size(), before + 1);  // refused again
  EXPECT_EQ(app_.Project().FileNames, "diary");
  EXPECT_NE(Find<QWidget>("frmSetup"), nullptr);
}

TEST_F(SetupTest, SavingWithoutTitleOrFolderEndsTheProgram) {
  OpenSetup();
  Control<QLineEdit>("txtTitle")->setText("   ");
  Save();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].text, "Blog Title REQUIRED!\n\nProgram closing!");
  EXPECT_EQ(quits_, 1);
  EXPECT_EQ(app_.Settings().GetProjectValue("Title"), "");  // written all the same
  Settle();
  EXPECT_EQ(app_.Editor(), nullptr);
}

TEST_F(SetupTest, AnEmptyFolderEndsTheProgramOnSave) {
  OpenSetup();
  Control<QLabel>("lblTemp")->setText("");
  Save();
  EXPECT_EQ(services_.messages.back().text, "Output Folder REQUIRED!\n\nProgram closing!");
  EXPECT_EQ(quits_, 1);
}

TEST_F(SetupTest, NotOnANewProjectEndsTheProgram) {
  app_.Project().Template = "";
  app_.Settings().LoadSettings(true);
  OpenSetup();
  Cancel();
  EXPECT_EQ(services_.messages.back().text, "Output Folder REQUIRED!\n\nProgram closing!");
  EXPECT_EQ(quits_, 1);
}

TEST_F(SetupTest, SupportFilesFollowTheFolderAndTheCommentsBox) {
  testing::WriteFile(Site("template.html").toStdString(), "mine");
  testing::WriteFile(Site("default.css").toStdString(), "mine");
  OpenSetup();
  EXPECT_EQ(SupportFiles(),
            (std::vector<QString>{"template.html", "default.css", "quillsmith.css *"}));
  Page(1);
  Control<QCheckBox>("chkTell")->click();
  EXPECT_EQ(SupportFiles(),
            (std::vector<QString>{"template.html", "default.css", "comments.html *",
                                  "message.html *", "contact.php *", "quillsmith.css *"}));
  Page(2);
  Click(Control<QPushButton>("cmdMake"));
  for (const char* name : {"comments.html", "message.html", "contact.php", "quillsmith.css"}) {
    EXPECT_TRUE(std::filesystem::exists(Site(name).toStdString())) << name;
  }
  EXPECT_EQ(testing::ReadFile(Site("template.html").toStdString()), "mine");
  EXPECT_EQ(SupportFiles(),
            (std::vector<QString>{"template.html", "default.css", "comments.html", "message.html",
                                  "contact.php", "quillsmith.css"}));
  EXPECT_FALSE(Control<QPushButton>("cmdMake")->isEnabled());
  EXPECT_EQ(Control<QPushButton>("cmdMake")->text(), "");
}

TEST_F(SetupTest, AFileThatCannotBeWrittenStaysCheckedAndTheOthersAreWritten) {
  std::filesystem::create_directories(Site("default.css").toStdString());  // in the way
  OpenSetup();
  Page(2);
  auto* list = Control<QListWidget>("List1");
  list->item(1)->setCheckState(Qt::Checked);
  Click(Control<QPushButton>("cmdMake"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.contains(Site("default.css")));
  EXPECT_TRUE(std::filesystem::exists(Site("quillsmith.css").toStdString()));
  EXPECT_EQ(SupportFiles(),
            (std::vector<QString>{"template.html", "default.css *", "quillsmith.css"}));
}

TEST_F(SetupTest, AMissingFolderIsOfferedOnceAndMadeWithItsParents) {
  const std::string blocked = dir_.File("plain-file");
  testing::WriteFile(blocked, "x");
  const QString missing = QString::fromStdString(dir_.File("new/blog/"));
  OpenSetup();
  // No: the file dialog again. Yes, where a file blocks the way: why not, and the dialog
  // again. Yes: made, with no overwrite question for the empty folder.
  services_.file_names = {missing + "template.html",
                          QString::fromStdString(blocked + "/sub/template.html"),
                          missing + "my.html"};
  services_.answers = {MessageAnswer::No, MessageAnswer::Yes, MessageAnswer::Ok,
                       MessageAnswer::Yes};
  Click(Control<QPushButton>("cmdTemp"));
  ASSERT_EQ(services_.messages.size(), 4u);
  EXPECT_EQ(services_.messages[0].title, "Just checking!");
  EXPECT_EQ(services_.messages[0].text, "The folder " + missing + " does not exist. Create it?");
  EXPECT_EQ(services_.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(services_.messages[2].title, "Oops!");
  EXPECT_TRUE(services_.messages[2].text.startsWith("Cannot create the folder " +
                                                    QString::fromStdString(blocked + "/sub/: ")))
      << services_.messages[2].text.toStdString();
  EXPECT_EQ(services_.messages[3].text, services_.messages[0].text);
  EXPECT_TRUE(std::filesystem::is_directory(missing.toStdString()));
  EXPECT_EQ(Control<QLabel>("lblTemp")->text(), missing);
  EXPECT_EQ(services_.file_dialog_starts.size(), 3u);

  services_.messages.clear();
  services_.file_names = {missing + "template.html"};  // there now: nothing to ask
  Click(Control<QPushButton>("cmdTemp"));
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(SetupTest, TheFolderDialogStartsInTheSavedFolderElseAtHome) {
  const QString home = QDir::homePath() + "/template.html";
  OpenSetup();
  Click(Control<QPushButton>("cmdTemp"));  // cancelled
  Control<QLabel>("lblTemp")->setText(QString::fromStdString(dir_.File("elsewhere/")));
  Click(Control<QPushButton>("cmdTemp"));  // the label is not saved: still the saved folder
  std::filesystem::remove_all(dir_.File("site"));
  Click(Control<QPushButton>("cmdTemp"));  // a saved folder that went is no place to start
  Cancel();
  Settle();
  app_.Project().Template = "";
  app_.Settings().LoadSettings(true);
  editor_ = nullptr;
  OpenSetup();
  Click(Control<QPushButton>("cmdTemp"));
  EXPECT_EQ(services_.file_dialog_starts,
            (std::vector<QString>{Site("template.html"), Site("template.html"), home, home}));
}

TEST_F(SetupTest, CreateMakesAMissingSavedFolderOrSaysOnceWhyNot) {
  std::filesystem::remove_all(dir_.File("site"));
  OpenSetup();
  Page(2);
  Click(Control<QPushButton>("cmdMake"));
  EXPECT_TRUE(services_.messages.empty()) << services_.messages[0].text.toStdString();
  for (const char* name : {"template.html", "default.css", "quillsmith.css"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(Site(name).toStdString())) << name;
  }
  Cancel();
  Settle();

  // Two files that cannot be written: one message names both.
  for (const char* name : {"default.css", "quillsmith.css"}) {
    std::filesystem::remove(Site(name).toStdString());
    std::filesystem::create_directories(Site(name).toStdString());
  }
  OpenSetup();
  Page(2);
  Click(Control<QPushButton>("cmdMake"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.contains(Site("default.css")));
  EXPECT_TRUE(services_.messages[0].text.contains(Site("quillsmith.css")));
  Cancel();
  Settle();

  // A folder that cannot be made: one message naming it, and every file still to do.
  services_.messages.clear();
  testing::WriteFile(dir_.File("plain-file"), "x");
  app_.Project().Template = dir_.File("plain-file/blog/template.html");
  app_.Settings().LoadSettings(true);
  OpenSetup();
  Page(2);
  Click(Control<QPushButton>("cmdMake"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.startsWith(
      QString::fromStdString("Cannot create the folder " + dir_.File("plain-file/blog/") + ": ")))
      << services_.messages[0].text.toStdString();
  EXPECT_EQ(SupportFiles(),
            (std::vector<QString>{"template.html *", "default.css *", "quillsmith.css *"}));
}

// A new user's first session, through the real windows.
TEST_F(SetupTest, FromANewProjectToItsFirstPage) {
  const std::string folder = dir_.File("walk/");
  std::filesystem::create_directories(folder);
  app_.StartProgram();
  frmEnter* chooser = app_.Chooser();
  Click(Child<QPushButton>(chooser, "cmdSetup"));  // "< create new file set >"
  QTest::keyClicks(Child<QLineEdit>(chooser, "Text1"), "Walk");
  Click(Child<QPushButton>(chooser, "cmdSetup"));
  Settle();
  editor_ = app_.Editor();
  ASSERT_NE(editor_, nullptr);
  setup_ = Find<frmSetup>("frmSetup");
  ASSERT_NE(setup_, nullptr);

  services_.file_names = {QString::fromStdString(folder + "template.html")};
  Click(Control<QPushButton>("cmdTemp"));
  QTest::keyClicks(Control<QLineEdit>("txtTitle"), "Walking Log");
  Save();
  Settle();
  EXPECT_EQ(Find<QWidget>("frmSetup"), nullptr);
  EXPECT_EQ(app_.Project().Template, folder + "template.html");

  Click(Child<QPushButton>(editor_, "cmdSetup"));  // "Setup" again
  setup_ = Find<frmSetup>("frmSetup");
  ASSERT_NE(setup_, nullptr);
  Page(2);
  Click(Control<QPushButton>("cmdMake"));
  Cancel();
  Settle();
  EXPECT_TRUE(std::filesystem::exists(folder + "template.html"));
  EXPECT_TRUE(std::filesystem::exists(folder + "quillsmith.css"));

  clock_.Set({2026, 12, 7, 10, 0, 0});
  editor_->SwitchMode(0);
  Type("First entry");
  Click(Nav(1));
  clock_.Set({2026, 12, 7, 11, 0, 0});
  editor_->SwitchMode(0);
  Type("Second entry");
  Click(Nav(1));
  Click(Nav(2));  // Output; "Cool!" answered No
  EXPECT_EQ(services_.messages.back().title, "Cool!");

  const std::string page = testing::ReadFile(folder + "index.html");
  const auto second = page.find("<p>Second entry</p>");
  const auto first = page.find("<p>First entry</p>");
  ASSERT_NE(second, std::string::npos);
  ASSERT_NE(first, std::string::npos);
  EXPECT_LT(second, first);
  EXPECT_NE(page.find("<h1>Walking Log</h1>"), std::string::npos);
}

}  // namespace
}  // namespace quill::ui

namespace quill::ui {
namespace {

TEST_F(SetupTest, TheLargestImageWidthIsLoadedSavedAndCancelled) {
  OpenSetup();
  Page(2);
  auto* width = Control<QLineEdit>("txtImageWidth");
  EXPECT_EQ(width->text(), "1600");  // a project without the value
  width->setText("800");
  Cancel();
  EXPECT_EQ(app_.Project().ImageWidth, 1600);
  EXPECT_NE(app_.Settings().GetProjectValue("ImageWidth"), "800");

  OpenSetup();
  Page(2);
  Control<QLineEdit>("txtImageWidth")->clear();
  QTest::keyClicks(Control<QLineEdit>("txtImageWidth"), "x-0");  // digits only
  Save();
  EXPECT_EQ(app_.Project().ImageWidth, 0);
  EXPECT_EQ(app_.Settings().GetProjectValue("ImageWidth"), "0");

  OpenSetup();
  Page(2);
  EXPECT_EQ(Control<QLineEdit>("txtImageWidth")->text(), "0");
  Cancel();
}

}  // namespace
}  // namespace quill::ui
