#include "ui/images/image_preparer.h"

#include <gtest/gtest.h>

#include <QImageReader>

#include "core/quill_error.h"
#include "test_images.h"
#include "ui/images/exiv2_metadata.h"

namespace quill::ui {
namespace {

using testing::Encoded;

class ImagePreparerTest : public ::testing::Test {
 protected:
  PreparedImage Prepare(const QByteArray& bytes, ImageRules rules = {},
                        const QString& name = "photo.jpg") {
    return PrepareImage(name, bytes, rules, metadata_);
  }
  // The refusal's message, or empty when the picture was taken.
  std::string Refusal(const QByteArray& bytes, ImageRules rules = {},
                      const QString& name = "photo.jpg") {
    try {
      Prepare(bytes, rules, name);
      return {};
    } catch (const core::QuillError& error) {
      return error.what();
    }
  }
  static QImage Decoded(const QByteArray& bytes) { return QImage::fromData(bytes); }
  static bool HoldsMetadata(const QByteArray& bytes) {
    return bytes.contains(QByteArray("Exif\0\0", 6)) || bytes.contains("eXIf") ||
           bytes.contains("GPS");
  }

  Exiv2Metadata metadata_;
};

TEST_F(ImagePreparerTest, WidePicturesShrinkToTheWidthKeepingTheirShapeAndNoneGrows) {
  const PreparedImage wide = Prepare(Encoded(testing::Noise(4000, 3000), "jpeg", 95));
  EXPECT_EQ(wide.original_size, QSize(4000, 3000));
  EXPECT_EQ(wide.plain.size, QSize(1600, 1200));
  EXPECT_EQ(Decoded(wide.plain.bytes).size(), QSize(1600, 1200));
  EXPECT_LT(wide.plain.bytes.size(), wide.original_bytes);

  EXPECT_EQ(Prepare(Encoded(testing::Noise(1601, 900), "jpeg")).plain.size, QSize(1600, 899));
  const QByteArray at_width = Encoded(testing::Noise(1600, 900), "jpeg");
  EXPECT_FALSE(Prepare(at_width).plain.reencoded);  // neither grown nor encoded again
  EXPECT_EQ(Prepare(Encoded(testing::Noise(300, 200), "png"), {}, "a.png").plain.size,
            QSize(300, 200));
  EXPECT_EQ(Prepare(Encoded(testing::Noise(2000, 100), "jpeg"), {0}).plain.size,
            QSize(2000, 100));  // 0: kept as it is
  EXPECT_EQ(Prepare(Encoded(testing::Noise(3000, 1), "png"), {}, "a.png").plain.size,
            QSize(1600, 1));  // never squeezed to no height
}

TEST_F(ImagePreparerTest, ACopyIsNeverLargerThanItsOriginalUnlessItHadToBeTurned) {
  const QByteArray coarse = Encoded(testing::Noise(1700, 1000), "jpeg", 5);
  const PreparedImage kept = Prepare(coarse);
  EXPECT_FALSE(kept.plain.reencoded);
  EXPECT_EQ(kept.plain.size, QSize(1700, 1000));
  EXPECT_LE(kept.plain.bytes.size(), coarse.size());

  const QByteArray turned = testing::WithExif(coarse, testing::ExifBlock(6, false));
  const PreparedImage upright = Prepare(turned);
  EXPECT_TRUE(upright.plain.reencoded);
  EXPECT_EQ(upright.plain.size, QSize(1000, 1700));
}

TEST_F(ImagePreparerTest, TheOrientationIsAppliedToThePixels) {
  const QByteArray jpeg = Encoded(testing::TwoColours(400, 200), "jpeg");
  // 6: the camera was turned clockwise, so the left (red) half ends on top; 8: the other way.
  // Width 100: a quarter of the stored height, so the JPEG is decoded shrunk before it turns.
  for (const int width : {1600, 100}) {
    for (const auto& [orientation, red_on_top] : {std::pair{6, true}, std::pair{8, false}}) {
      const PreparedImage image =
          Prepare(testing::WithExif(jpeg, testing::ExifBlock(orientation, false)), {width});
      ASSERT_TRUE(image.turned) << orientation;
      EXPECT_EQ(image.original_size, QSize(400, 200));
      const QImage pixels = Decoded(image.plain.bytes);
      const int shown = std::min(width, 200);
      ASSERT_EQ(pixels.size(), QSize(shown, shown * 2)) << orientation << " at " << width;
      const QColor top = pixels.pixelColor(shown / 2, shown / 4);
      EXPECT_EQ(top.red() > top.blue(), red_on_top) << orientation << " at " << width;
      QBuffer buffer(const_cast<QByteArray*>(&image.plain.bytes));
      EXPECT_EQ(QImageReader(&buffer).transformation(), QImageIOHandler::TransformationNone);
    }
  }
}

TEST_F(ImagePreparerTest, MetadataAndLocationGoUnlessKeptThenUpright) {
  const QByteArray jpeg = Encoded(testing::TwoColours(2000, 1000), "jpeg");
  for (int orientation : {1, 6}) {
    const QByteArray photo = testing::WithExif(jpeg, testing::ExifBlock(orientation, true));
    const PreparedImage image = Prepare(photo);
    EXPECT_TRUE(image.has_location);
    EXPECT_FALSE(HoldsMetadata(image.plain.bytes)) << orientation;
    ASSERT_TRUE(HoldsMetadata(image.kept.bytes)) << orientation;
    QByteArray kept = image.kept.bytes;
    QBuffer buffer(&kept);
    EXPECT_EQ(QImageReader(&buffer).transformation(), QImageIOHandler::TransformationNone);
    EXPECT_TRUE(metadata_.Read(kept).location);
  }
  const PreparedImage small = Prepare(
      testing::WithExif(Encoded(testing::TwoColours(20, 10), "jpeg"), testing::ExifBlock(1, true)));
  EXPECT_FALSE(small.plain.reencoded);  // the stored pixels, the metadata cut out
  EXPECT_FALSE(HoldsMetadata(small.plain.bytes));

  for (int width : {300, 2000}) {
    const PreparedImage png = Prepare(testing::PngWithExif(testing::Noise(width, 50)), {}, "a.png");
    EXPECT_FALSE(HoldsMetadata(png.plain.bytes)) << width;
    EXPECT_EQ(Decoded(png.plain.bytes).width(), std::min(width, 1600));
  }
}

TEST_F(ImagePreparerTest, GifAndSvgAreCopiedUntouched) {
  const QByteArray gif = testing::AnimatedGif();
  const PreparedImage animated = Prepare(gif, {1}, "spin.gif");
  EXPECT_EQ(animated.plain.bytes, gif);
  EXPECT_EQ(animated.original_size, QSize(1, 1));
  const QByteArray svg(
      "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "width=\"4000\" height=\"10\"/>");
  EXPECT_EQ(Prepare(svg, {1}, "logo.svg").plain.bytes, svg);
  EXPECT_EQ(Prepare(svg, {1}, "logo.svg").kept.bytes, svg);
}

TEST_F(ImagePreparerTest, BadFilesAreRefusedNamingTheReason) {
  EXPECT_EQ(Refusal({}), "photo.jpg is empty (0 bytes)");
  EXPECT_EQ(Refusal("just some text"),
            "photo.jpg is no picture a page can show (GIF, JPEG, PNG, WebP or SVG)");
  for (bool progressive : {false, true}) {
    const QByteArray whole = Encoded(testing::Noise(300, 200), "jpeg", 85, progressive);
    EXPECT_TRUE(JpegIsComplete(whole)) << progressive;
    EXPECT_EQ(Refusal(whole.left(whole.size() * 2 / 3)),
              "photo.jpg is cut short: the JPEG ends before its last picture data");
  }
  EXPECT_EQ(Refusal(testing::PngClaiming(30000, 30000), {}, "bomb.png"),
            "bomb.png is 30000×30000 pixels, more than the 100 megapixels a picture may have");
  const QByteArray hundred = Encoded(testing::Noise(100, 100), "png");
  EXPECT_EQ(Refusal(hundred, {1600, 10000}), "");
  EXPECT_NE(Refusal(Encoded(testing::Noise(101, 100), "png"), {1600, 10000}), "");
  EXPECT_NE(Refusal(hundred.left(hundred.size() / 2), {}, "half.png"), "");
}

TEST_F(ImagePreparerTest, ACopyIsNamedForWhatItHolds) {
  const QByteArray png = Encoded(testing::Noise(10, 10), "png");
  EXPECT_EQ(Prepare(png, {}, "photo.jpg").name, "photo.png");
  EXPECT_EQ(Prepare(png, {}, "Grüße #1 \"x\" 5%.PNG").name, "Grüße #1 \"x\" 5%.PNG");
  EXPECT_EQ(Prepare(png, {}, ".hidden.png").name, "hidden.png");  // never uploaded otherwise
  EXPECT_EQ(Prepare(png, {}, "noextension").name, "noextension.png");
}

TEST_F(ImagePreparerTest, TheLineSaysWhatWillHappen) {
  const QByteArray photo = testing::WithExif(Encoded(testing::Noise(4000, 3000), "jpeg", 95),
                                             testing::ExifBlock(1, true));
  const PreparedImage image = Prepare(photo);
  const QString start = QString("4000×3000, %1 → 1600×1200, about ").arg(ByteSize(photo.size()));
  EXPECT_EQ(DescribePreparation(image, false),
            start + ByteSize(image.plain.bytes.size()) + "; location removed");
  EXPECT_EQ(DescribePreparation(image, true),
            start + ByteSize(image.kept.bytes.size()) + "; metadata kept");
  EXPECT_EQ(ByteSize(999), "999 bytes");
  EXPECT_EQ(ByteSize(349'600), "350 KB");
  EXPECT_EQ(ByteSize(8'100'000), "8.1 MB");
  EXPECT_EQ(DescribePreparation(Prepare(testing::AnimatedGif(), {}, "a.jpg"), false),
            "1×1, 85 bytes: copied as it is (GIF); saved as a.gif");
}

}  // namespace
}  // namespace quill::ui
