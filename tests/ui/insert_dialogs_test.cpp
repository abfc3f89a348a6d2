#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTextDocument>

#include "support/editor_fixture.h"
#include "test_images.h"
#include "ui/color_picker.h"
#include "ui/editor/frm_lst.h"
#include "ui/editor/markup.h"

namespace quill::ui {
namespace {

class DialogTest : public testing::EditorFixture {
 protected:
  DialogTest() { Open(); }

  QWidget* Dialog(const char* name) {
    QWidget* dialog = Find<QWidget>(name);
    EXPECT_NE(dialog, nullptr) << name;
    return dialog;
  }
  void Good(QWidget* dialog) { Click(Child<QPushButton>(dialog, "cmdNav_0")); }
  void Gone(const char* name) {
    Settle();
    EXPECT_EQ(Find<QWidget>(name), nullptr) << name << " still open";
  }
  void Fill(QWidget* dialog, const char* field, const QString& text) {
    auto* edit = Child<QLineEdit>(dialog, field);
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  void ClickItem(QWidget* dialog, const QString& name) {
    auto* list = Child<QListWidget>(dialog, "File1");
    const auto items = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
  }
  std::vector<QString> Listed(QWidget* dialog) {
    std::vector<QString> names;
    auto* list = Child<QListWidget>(dialog, "File1");
    for (int i = 0; i < list->count(); ++i) names.push_back(list->item(i)->text());
    return names;
  }
  QString LastMessage() {
    return services_.messages.empty() ? QString() : services_.messages.back().text;
  }
  std::string Site(const std::string& name) { return dir_.File("site/" + name); }
};

TEST_F(DialogTest, LinkWithItsAddressAsTextOpeningInANewWindow) {
  SetText("see ", 4, 4);
  ClickCode(4);
  QWidget* dialog = Dialog("frmURL");
  EXPECT_EQ(dialog->windowTitle(), "Insert URL");
  Fill(dialog, "Text1", "example.com");
  Child<QCheckBox>(dialog, "Check1")->setChecked(true);
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "see <a href=\"http://example.com\" target=\"_blank\">http://example.com</a>");
  Gone("frmURL");
}

TEST_F(DialogTest, LinkAroundTheSelectedWord) {
  SetText("click here now", 6, 10);
  ClickCode(4);
  QWidget* dialog = Dialog("frmURL");
  EXPECT_EQ(Child<QLineEdit>(dialog, "Text2")->text(), "here");
  Child<QComboBox>(dialog, "Combo1")->setCurrentIndex(2);
  Fill(dialog, "Text1", "files.example.com");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "click <a href=\"ftp://files.example.com\">here</a> now");
}

TEST_F(DialogTest, MailLinksNeverOpenWindowsAndShowTheBareAddress) {
  ClickCode(4);
  QWidget* dialog = Dialog("frmURL");
  auto* protocol = Child<QComboBox>(dialog, "Combo1");
  auto* box = Child<QCheckBox>(dialog, "Check1");
  protocol->setCurrentIndex(1);
  EXPECT_TRUE(box->isChecked());
  EXPECT_FALSE(box->isEnabled());
  protocol->setCurrentIndex(0);
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(box->isEnabled());

  protocol->setCurrentIndex(1);
  Fill(dialog, "Text1", "  ann@example.com ");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<a href=\"mailto:ann@example.com\">ann@example.com</a>");
}

TEST_F(DialogTest, ClassicProjectsGetHttpsFourthWithTheRulesOfHttp) {
  EXPECT_EQ(LinkProtocols(false), (QStringList{"http://", "mailto:", "ftp://", "https://"}));
  EXPECT_EQ(LinkProtocols(true), (QStringList{"https://", "http://", "mailto:", "ftp://"}));
  ClickCode(4);
  QWidget* dialog = Dialog("frmURL");
  auto* protocol = Child<QComboBox>(dialog, "Combo1");
  auto* box = Child<QCheckBox>(dialog, "Check1");
  ASSERT_EQ(protocol->count(), 4);
  EXPECT_EQ(protocol->itemText(3), "https://");
  EXPECT_EQ(protocol->currentText(), "http://");
  protocol->setCurrentIndex(1);  // mail ticks and locks the box; https frees it as http does
  protocol->setCurrentIndex(3);
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(box->isEnabled());
  box->setChecked(true);
  Fill(dialog, "Text1", "example.com/a");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<a href=\"https://example.com/a\" target=\"_blank\">https://example.com/a</a>");
}

TEST_F(DialogTest, Html5ProjectsStartLinksWithHttpsSelected) {
  app_.Project().Html5 = 1;
  ClickCode(4);
  QWidget* dialog = Dialog("frmURL");
  auto* protocol = Child<QComboBox>(dialog, "Combo1");
  ASSERT_EQ(protocol->count(), 4);
  EXPECT_EQ(protocol->currentText(), "https://");
  EXPECT_EQ(protocol->itemText(1), "http://");
  EXPECT_TRUE(Child<QCheckBox>(dialog, "Check1")->isEnabled());
  Fill(dialog, "Text1", "example.com");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<a href=\"https://example.com\">https://example.com</a>");

  app_.Project().Html5 = 0;  // switched off again: classic order
  ClickCode(4);
  EXPECT_EQ(Child<QComboBox>(Dialog("frmURL"), "Combo1")->currentText(), "http://");
}

TEST_F(DialogTest, ALinkNeedsAnAddressAndTheDialogIsOneWindow) {
  ClickCode(4);
  QWidget* dialog = Dialog("frmURL");
  Fill(dialog, "Text1", "   ");
  Good(dialog);
  EXPECT_EQ(LastMessage(), "This function requires a valid URL");
  EXPECT_EQ(services_.messages.back().title, "Oops!");
  EXPECT_EQ(Find<QWidget>("frmURL"), dialog);

  Fill(dialog, "Text1", "kept");
  SetText("new words", 0, 3);
  ClickCode(4);  // the same window, its address kept, the display text renewed
  EXPECT_EQ(Dialog("frmURL"), dialog);
  EXPECT_EQ(Child<QLineEdit>(dialog, "Text1")->text(), "kept");
  EXPECT_EQ(Child<QLineEdit>(dialog, "Text2")->text(), "new");
  Click(Child<QPushButton>(dialog, "cmdNav_1"));  // Not!
  Gone("frmURL");
  EXPECT_EQ(Text()->toPlainText(), "new words");
}

TEST_F(DialogTest, ImagesFromTheOutputFolderFloatLeftOrRight) {
  for (const char* name : {"a.jpg", "B.JPG", "c.gif", "d.png", "e.jpeg", "f.webp", "g.svg", "h.bmp"}) {
    testing::WriteFile(Site(name), "image");
  }
  ClickCode(5);
  QWidget* dialog = Dialog("frmIMG");
  EXPECT_EQ(dialog->windowTitle(), "Insert Image");
  EXPECT_EQ(Listed(dialog), (std::vector<QString>{"B.JPG", "a.jpg", "c.gif", "d.png", "e.jpeg",
                                                 "f.webp", "g.svg"}));
  EXPECT_TRUE(Child<QRadioButton>(dialog, "optPosit_0")->isChecked());
  Good(dialog);
  EXPECT_EQ(LastMessage(), "Image file not selected");

  ClickItem(dialog, "a.jpg");
  Fill(dialog, "txtAlt", "A harbour");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<div class=\"LBox\"><img src=\"a.jpg\" alt=\"A harbour\" /></div>");
  Gone("frmIMG");

  SetText("", 0, 0);
  ClickCode(5);
  dialog = Dialog("frmIMG");
  Child<QRadioButton>(dialog, "optPosit_1")->click();
  ClickItem(dialog, "c.gif");
  Fill(dialog, "txtAlt", "Cat");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<div class=\"RBox\"><img src=\"c.gif\" alt=\"Cat\" /></div>");
}

TEST_F(DialogTest, AnImageDescriptionIsEscapedAndLeftEmptyOnlyAfterAsking) {
  testing::WriteFile(Site("a.jpg"), "image");
  ClickCode(5);
  QWidget* dialog = Dialog("frmIMG");
  auto* label = Child<QLabel>(dialog, "lblAlt");
  EXPECT_EQ(label->text(), "Description for readers who cannot see it:");
  EXPECT_EQ(label->buddy(), Child<QLineEdit>(dialog, "txtAlt"));
  Good(dialog);  // no file yet: that comes first, and nothing is asked
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(LastMessage(), "Image file not selected");

  ClickItem(dialog, "a.jpg");
  Fill(dialog, "txtAlt", "   ");
  Good(dialog);  // answered No: the dialog stays, ready for a description
  ASSERT_EQ(services_.messages.size(), 2u);
  EXPECT_EQ(LastMessage(),
            "An image without a description is skipped by screen readers. Insert it anyway?");
  EXPECT_EQ(services_.messages.back().icon, MessageIcon::Question);
  EXPECT_EQ(services_.messages.back().buttons, MessageButtons::YesNo);
  EXPECT_EQ(Text()->toPlainText(), "");
  EXPECT_EQ(Find<QWidget>("frmIMG"), dialog);

  services_.answers = {MessageAnswer::Yes};
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<div class=\"LBox\"><img src=\"a.jpg\" alt=\"\" /></div>");
  Gone("frmIMG");

  SetText("", 0, 0);
  ClickCode(5);
  dialog = Dialog("frmIMG");
  ClickItem(dialog, "a.jpg");
  Child<QLineEdit>(dialog, "txtAlt")->setText(QString::fromUtf8(" Tom & \"Cr\xC3\xA8me\" <3> "));
  Good(dialog);
  EXPECT_EQ(services_.messages.size(), 3u);
  EXPECT_EQ(Text()->toPlainText(),
            QString::fromUtf8("<div class=\"LBox\"><img src=\"a.jpg\" "
                              "alt=\"Tom &amp; &quot;Cr\xC3\xA8me&quot; &lt;3&gt;\" /></div>"));
}

TEST_F(DialogTest, DotDotDotCopiesAPictureFromElsewhereIntoTheFolder) {
  const std::string picture = testing::Encoded(testing::Noise(8, 8), "png").toStdString();
  testing::WriteFile(dir_.File("holiday.png"), picture);
  testing::WriteFile(Site("inside.jpg"), "already here");
  ClickCode(5);
  QWidget* dialog = Dialog("frmIMG");

  services_.file_names = {QString::fromStdString(Site("inside.jpg"))};
  Click(Child<QPushButton>(dialog, "cmdTemp"));
  EXPECT_EQ(testing::ReadFile(Site("inside.jpg")), "already here");

  services_.file_names = {QString::fromStdString(dir_.File("holiday.png"))};
  Click(Child<QPushButton>(dialog, "cmdTemp"));
  EXPECT_FALSE(std::filesystem::exists(Site("holiday.png")));  // copied when inserted

  services_.file_names = {};  // cancelled
  Click(Child<QPushButton>(dialog, "cmdTemp"));
  EXPECT_TRUE(services_.messages.empty());

  services_.file_names = {QString::fromStdString(dir_.File("missing.jpg"))};
  Click(Child<QPushButton>(dialog, "cmdTemp"));
  EXPECT_TRUE(LastMessage().startsWith("Cannot read")) << LastMessage().toStdString();
  EXPECT_EQ(Find<QWidget>("frmIMG"), dialog);
  Fill(dialog, "txtAlt", "Beach");
  Good(dialog);
  EXPECT_EQ(testing::ReadFile(Site("holiday.png")), picture);
  EXPECT_EQ(Text()->toPlainText(),
            "<div class=\"LBox\"><img src=\"holiday.png\" alt=\"Beach\" /></div>");
}

TEST_F(DialogTest, FileLinksOpenDocumentsInANewWindowOnly) {
  testing::WriteFile(Site("Report.PDF"), "pdf");
  testing::WriteFile(Site("song.mp3"), "mp3");
  testing::WriteFile(Site("notes.txt"), "txt");
  ClickCode(15);
  QWidget* dialog = Dialog("frmFYL");
  EXPECT_EQ(dialog->windowTitle(), "Insert a File");
  EXPECT_EQ(Listed(dialog), (std::vector<QString>{"Report.PDF", "song.mp3"}));
  Good(dialog);
  EXPECT_EQ(LastMessage(), "File not selected");
  ClickItem(dialog, "Report.PDF");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<a href=\"Report.PDF\" target=\"_blank\">Report.PDF</a>");

  SetText("old", 0, 3);
  ClickCode(15);
  dialog = Dialog("frmFYL");
  ClickItem(dialog, "song.mp3");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<a href=\"song.mp3\">song.mp3</a>");
}

TEST_F(DialogTest, AlignmentCentreAndRight) {
  SetText("ab", 1, 1);
  ClickCode(6);
  QWidget* dialog = Dialog("frmDiv");
  Child<QRadioButton>(dialog, "optPosit_2")->click();
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "a<center></center>b");
  EXPECT_EQ(Caret(), 9);

  SetText("the text", 4, 8);
  ClickCode(6);
  dialog = Dialog("frmDiv");
  Child<QRadioButton>(dialog, "optPosit_1")->click();
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "the <div align=\"right\">text</div>");
  EXPECT_EQ(Caret(), 33);

  SetText("left", 0, 4);
  ClickCode(6);
  Good(Dialog("frmDiv"));  // Left inserts nothing
  EXPECT_EQ(Text()->toPlainText(), "left");
}

TEST_F(DialogTest, FontAttributesInTheirOrder) {
  SetText("", 0, 0);
  ClickCode(3);
  QWidget* dialog = Dialog("frmFont");
  EXPECT_EQ(dialog->windowTitle(), "Change Font");
  Child<QComboBox>(dialog, "Combo2")->setCurrentText("3");
  Child<QComboBox>(dialog, "Combo1")->setCurrentText("Verdana, Arial, Helvetica, Sans Serif");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<font face=\"Verdana, Arial, Helvetica, Sans Serif\" size=\"3\"></font>");
  EXPECT_EQ(Caret(), Text()->toPlainText().size() - 7);

  SetText("blue", 0, 4);
  ClickCode(3);
  dialog = Dialog("frmFont");
  services_.colours = {QColor(0, 0, 255)};
  Click(Child<ColorPicker>(dialog, "ColorPicker1"));
  Child<QComboBox>(dialog, "Combo1")->setCurrentIndex(2);
  Child<QComboBox>(dialog, "Combo1")->setCurrentIndex(0);  // and back to Default
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<font color=\"#0000FF\">blue</font>");

  SetText("plain", 0, 5);
  ClickCode(3);
  Good(Dialog("frmFont"));  // nothing chosen
  EXPECT_EQ(Text()->toPlainText(), "plain");
}

TEST_F(DialogTest, ListsItemByItem) {
  SetText("x", 0, 1);
  ClickCode(9);
  auto* dialog = qobject_cast<frmLst*>(Dialog("frmLst"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Ordered List");
  Good(dialog);
  EXPECT_EQ(LastMessage(), "List is empty");

  auto add = [&](const QString& item) {
    Fill(dialog, "Text1", item);
    Click(Child<QPushButton>(dialog, "cmdAdd"));
  };
  add("  a ");
  add("   ");
  EXPECT_EQ(Child<QLineEdit>(dialog, "Text1")->text(), "");
  add("b");
  add("c");
  auto* list = Child<QListWidget>(dialog, "List1");
  ASSERT_EQ(list->count(), 3);
  list->setCurrentRow(1);
  Click(Child<QPushButton>(dialog, "Command1"));  // Remove "b" for correcting
  EXPECT_EQ(Child<QLineEdit>(dialog, "Text1")->text(), "b");
  EXPECT_EQ(list->count(), 2);
  Click(Child<QPushButton>(dialog, "cmdAdd"));
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<ol><li>a</li><li>c</li><li>b</li></ol>");

  ClickCode(8);
  EXPECT_EQ(Dialog("frmLst")->windowTitle(), "Unordered List");
}

TEST_F(DialogTest, RawHtmlReplacesTheSelectionAsTyped) {
  SetText("before <b>x</b> after", 7, 15);
  ClickCode(14);
  QWidget* dialog = Dialog("frmHtml");
  auto* field = Child<QPlainTextEdit>(dialog, "Text1");
  EXPECT_EQ(field->toPlainText(), "<b>x</b>");
  // No-break spaces and line breaks come back exactly as they were typed.
  field->setPlainText(QString::fromUtf8("<i>x</i>\xC2\xA0\n\xC2\xA0"));
  Good(dialog);
  EXPECT_EQ(Text()->document()->toRawText(),
            QString::fromUtf8("before <i>x</i>\xC2\xA0\u2029\xC2\xA0 after"));
  EXPECT_EQ(ColourAt(8), QColor(255, 0, 0));   // i
  EXPECT_EQ(ColourAt(12), QColor(255, 0, 0));  // /
  EXPECT_EQ(ColourAt(10), QColor(0, 0, 0));    // x
}

TEST_F(DialogTest, Html5ProjectsGetStylesAndBlocksOnLinesOfTheirOwn) {
  app_.Project().Html5 = 1;
  testing::WriteFile(Site("a.jpg"), "image");
  SetText("before after", 7, 7);
  ClickCode(5);
  QWidget* dialog = Dialog("frmIMG");
  ClickItem(dialog, "a.jpg");
  Fill(dialog, "txtAlt", "Boats");
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "before \n<div class=\"LBox\"><img src=\"a.jpg\" alt=\"Boats\"></div>\nafter");

  SetText("x", 1, 1);
  ClickCode(8);
  auto* list = qobject_cast<frmLst*>(Dialog("frmLst"));
  Fill(list, "Text1", "a");
  Click(Child<QPushButton>(list, "cmdAdd"));
  Good(list);
  EXPECT_EQ(Text()->toPlainText(), "x\n<ul><li>a</li></ul>");

  SetText("ab", 1, 1);
  ClickCode(6);
  dialog = Dialog("frmDiv");
  Child<QRadioButton>(dialog, "optPosit_2")->click();
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "a\n<div style=\"text-align: center\"></div>\nb");
  EXPECT_EQ(Caret(), 34);  // between the tags

  SetText("one\ntwo", 0, 7);
  ClickCode(6);
  dialog = Dialog("frmDiv");
  Child<QRadioButton>(dialog, "optPosit_1")->click();
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(), "<div style=\"text-align: right\">\none\ntwo\n</div>");

  SetText("a word", 2, 6);
  ClickCode(3);
  dialog = Dialog("frmFont");
  Child<QComboBox>(dialog, "Combo1")->setCurrentText("Courier New, Courier, Monospace");
  Child<QComboBox>(dialog, "Combo2")->setCurrentText("7");
  services_.colours = {QColor(255, 0, 0)};
  Click(Child<ColorPicker>(dialog, "ColorPicker1"));
  Good(dialog);  // inline: no line of its own
  EXPECT_EQ(Text()->toPlainText(),
            "a <span style=\"font-family: Courier New, Courier, monospace; font-size: xxx-large; "
            "color: #FF0000\">word</span>");
}

}  // namespace
}  // namespace quill::ui
