#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// One QApplication for every widget test, on the offscreen platform: no display needed.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Enchant's personal word lists in a folder of the tests', never the user's.
  QTemporaryDir enchant;
  qputenv("ENCHANT_CONFIG_DIR", enchant.path().toUtf8());
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
