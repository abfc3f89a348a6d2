// The real desktop services where a test can watch them.

#include "ui/qt_desktop_services.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace quill::ui {
namespace {

class PaintCounter final : public QPushButton {
 public:
  using QPushButton::QPushButton;
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    QPushButton::paintEvent(event);
  }
};

#ifndef _WIN32
TEST(QtDesktopServicesTest, WaitingForTheUploaderKeepsPaintingButTakesNoInput) {
  PaintCounter button("Synch");
  button.show();
  QCoreApplication::processEvents();
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
  const int paints = button.paints;
  bool closed = true;
  QTimer::singleShot(100, [&] {
    button.setText("Synch…");  // asks for a repaint
    QTest::mouseClick(&button, Qt::LeftButton);
    closed = button.close();
  });

  QtDesktopServices services;
  EXPECT_TRUE(services.RunAndWait("/bin/sh", {"-c", "sleep 0.4"}).started);
  EXPECT_GT(button.paints, paints);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(button.isVisible());

  QTest::mouseClick(&button, Qt::LeftButton);  // and afterwards it takes input again
  EXPECT_EQ(clicks, 1);
}
#endif

}  // namespace
}  // namespace quill::ui
