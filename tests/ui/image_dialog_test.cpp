#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QUrl>

#include "support/editor_fixture.h"
#include "test_images.h"

namespace quill::ui {
namespace {

class ImageDialogTest : public testing::EditorFixture {
 protected:
  ImageDialogTest() {
    Open();
    app_.Project().ImageWidth = 100;
  }

  std::string Site(const std::string& name) { return dir_.File("site/" + name); }
  QString Elsewhere(const std::string& name, const QByteArray& bytes) {
    testing::WriteFile(dir_.File(name), bytes.toStdString());
    return QString::fromStdString(dir_.File(name));
  }
  QWidget* OpenDialog() {
    ClickCode(5);
    return Find<QWidget>("frmIMG");
  }
  void Choose(QWidget* dialog, const QString& path) {
    services_.file_names = {path};
    Click(Child<QPushButton>(dialog, "cmdTemp"));
  }
  void Good(QWidget* dialog) {
    Child<QLineEdit>(dialog, "txtAlt")->setText("Photo");
    Click(Child<QPushButton>(dialog, "cmdNav_0"));
  }
  QString Plan(QWidget* dialog) { return Child<QLabel>(dialog, "lblPlan")->text(); }
  QString LastMessage() {
    return services_.messages.empty() ? QString() : services_.messages.back().text;
  }
  QByteArray SiteFile(const std::string& name) {
    return QByteArray::fromStdString(testing::ReadFile(Site(name)));
  }
};

TEST_F(ImageDialogTest, APhotoFromElsewhereGoesInUprightShrunkAndWithoutItsLocation) {
  const QByteArray photo = testing::WithExif(
      testing::Encoded(testing::TwoColours(400, 200), "jpeg"), testing::ExifBlock(6, true));
  const QString path = Elsewhere("holiday.jpg", photo);
  QWidget* dialog = OpenDialog();
  Choose(dialog, path);
  EXPECT_TRUE(Plan(dialog).startsWith("holiday.jpg: 400×200, ")) << Plan(dialog).toStdString();
  EXPECT_TRUE(Plan(dialog).contains("→ 100×200, about ")) << Plan(dialog).toStdString();
  EXPECT_TRUE(Plan(dialog).endsWith("; turned upright; location removed")) << Plan(dialog).toStdString();
  EXPECT_FALSE(std::filesystem::exists(Site("holiday.jpg")));  // not before Good

  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<div class=\"LBox\"><img src=\"holiday.jpg\" alt=\"Photo\" /></div>");
  const QByteArray copy = SiteFile("holiday.jpg");
  EXPECT_EQ(QImage::fromData(copy).size(), QSize(100, 200));
  EXPECT_FALSE(copy.contains(QByteArray("Exif\0\0", 6)));
  EXPECT_EQ(testing::ReadFile(path.toStdString()), photo.toStdString());  // the original stays

  SetText("", 0, 0);
  dialog = OpenDialog();
  Choose(dialog, Elsewhere("kept.jpg", photo));
  Child<QCheckBox>(dialog, "chkMetadata")->click();
  EXPECT_TRUE(Plan(dialog).endsWith("; turned upright; metadata kept")) << Plan(dialog).toStdString();
  Good(dialog);
  QByteArray kept = SiteFile("kept.jpg");
  EXPECT_TRUE(kept.contains("GPS") || kept.contains(QByteArray("Exif\0\0", 6)));
  QBuffer buffer(&kept);
  EXPECT_EQ(QImageReader(&buffer).transformation(), QImageIOHandler::TransformationNone);
}

TEST_F(ImageDialogTest, APictureThatCannotBeUsedIsRefusedAndNothingIsWritten) {
  SetText("kept", 0, 0);
  QWidget* dialog = OpenDialog();
  Choose(dialog, Elsewhere("empty.jpg", {}));
  EXPECT_TRUE(LastMessage().endsWith("empty.jpg is empty (0 bytes)")) << LastMessage().toStdString();
  Choose(dialog, QString::fromStdString(dir_.File("missing.jpg")));
  EXPECT_TRUE(LastMessage().startsWith("Cannot read ")) << LastMessage().toStdString();
  Good(dialog);
  EXPECT_EQ(LastMessage(), "Image file not selected");
  EXPECT_EQ(Text()->toPlainText(), "kept");
  EXPECT_FALSE(std::filesystem::exists(Site("empty.jpg")));
}

TEST_F(ImageDialogTest, AFileOfTheFolderChosenAfterAPhotoFromElsewhereIsTheOneInserted) {
  testing::WriteFile(Site("here.png"),
                     testing::Encoded(testing::Noise(10, 10), "png").toStdString());
  QWidget* dialog = OpenDialog();
  Choose(dialog, Elsewhere("away.jpg", testing::Encoded(testing::TwoColours(40, 20), "jpeg")));
  Choose(dialog, QString::fromStdString(Site("here.png")));
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<div class=\"LBox\"><img src=\"here.png\" alt=\"Photo\" /></div>");
  EXPECT_FALSE(std::filesystem::exists(Site("away.jpg")));
}

TEST_F(ImageDialogTest, AnOddNameIsKeptForTheFileAndPercentEncodedInTheLink) {
  QWidget* dialog = OpenDialog();
  Choose(dialog,
         Elsewhere("Grüße #1 \"x\" 5%.png", testing::Encoded(testing::Noise(10, 10), "png")));
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<div class=\"LBox\"><img src=\"Gr%C3%BC%C3%9Fe%20%231%20%22x%22%205%25.png\" "
            "alt=\"Photo\" /></div>");
  EXPECT_TRUE(std::filesystem::exists(Site("Grüße #1 \"x\" 5%.png")));
}

TEST_F(ImageDialogTest, AFileOfTheSameNameIsReplacedOnlyWhenTheUserSaysSo) {
  testing::WriteFile(Site("a.png"), "someone else's");
  const QByteArray picture = testing::Encoded(testing::Noise(10, 10), "png");
  QWidget* dialog = OpenDialog();
  Choose(dialog, Elsewhere("a.png", picture));
  services_.answers = {MessageAnswer::No};
  Good(dialog);
  EXPECT_TRUE(LastMessage().startsWith("a.png already exists in the output folder"));
  EXPECT_EQ(testing::ReadFile(Site("a.png")), "someone else's");
  EXPECT_EQ(Text()->toPlainText(), "");
  EXPECT_EQ(Find<QWidget>("frmIMG"), dialog);

  services_.answers = {MessageAnswer::Yes};
  Good(dialog);
  EXPECT_EQ(SiteFile("a.png"), picture);
  EXPECT_EQ(Text()->toPlainText(), "<div class=\"LBox\"><img src=\"a.png\" alt=\"Photo\" /></div>");
}

TEST_F(ImageDialogTest, APastedPictureOpensTheDialogReadyAndNeverReplacesAFile) {
  testing::WriteFile(Site("pasted-20261207-090000.png"), "an earlier paste");
  QApplication::clipboard()->setImage(testing::TwoColours(300, 30));
  Text()->setFocus();
  QTest::keyClick(Text(), Qt::Key_V, Qt::ControlModifier);
  QWidget* dialog = Find<QWidget>("frmIMG");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Plan(dialog).startsWith("pasted-20261207-090000-2.png: 300×30")) << Plan(dialog).toStdString();
  Child<QRadioButton>(dialog, "optPosit_1")->click();
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<div class=\"RBox\"><img src=\"pasted-20261207-090000-2.png\" alt=\"Photo\" /></div>");
  EXPECT_EQ(QImage::fromData(SiteFile("pasted-20261207-090000-2.png")).size(), QSize(100, 10));
  EXPECT_EQ(testing::ReadFile(Site("pasted-20261207-090000.png")), "an earlier paste");

  QApplication::clipboard()->setText("plain words");
  Text()->paste();
  EXPECT_TRUE(Text()->toPlainText().endsWith("plain words"));
}

TEST_F(ImageDialogTest, APictureFileDroppedOnTheTextOpensTheDialogWithIt) {
  const QString path = Elsewhere("dropped.png", testing::Encoded(testing::Noise(20, 10), "png"));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  QWidget* target = Text()->viewport();
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  QWidget* dialog = Find<QWidget>("frmIMG");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Plan(dialog).startsWith("dropped.png: 20×10")) << Plan(dialog).toStdString();
  Good(dialog);
  EXPECT_EQ(Text()->toPlainText(),
            "<div class=\"LBox\"><img src=\"dropped.png\" alt=\"Photo\" /></div>");
}

}  // namespace
}  // namespace quill::ui
