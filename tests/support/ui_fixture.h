#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QPushButton>
#include <QTest>

#include "core/sqlite_registry.h"
#include "support/fake_desktop_services.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"
#include "ui/app.h"

namespace quill::testing {

// A running program on a profile of its own: its registry, a fixed clock, scripted desktop
// services, an application folder and a lock file in a temporary folder.
class UiFixture : public ::testing::Test {
 protected:
  UiFixture() {
    QDir().mkpath(app_folder_);
    app_.SetQuitHandler([this] { ++quits_; });
  }
  ~UiFixture() override { Settle(); }

  // Lets windows that were unloaded go.
  static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  template <class Widget>
  static Widget* Child(QWidget* window, const char* name) {
    auto* child = window->findChild<Widget*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  void ListProjects(std::initializer_list<const char*> names) {
    int i = 0;
    for (const char* name : names) {
      app_.Settings().SetUserValue(core::SettingsStore::ListValueName(i++), name);
    }
  }

  TempDir dir_;
  QString app_folder_ = QString::fromStdString(dir_.File("program")) + "/";
  // Where a program started for real finds it too, with XDG_CONFIG_HOME at the folder.
  core::SqliteRegistry registry_{dir_.File("quillsmith/registry.db")};
  FixedClock clock_;
  FakeDesktopServices services_;
  ui::App app_{registry_,
               clock_,
               services_,
               app_folder_,
               QString::fromStdString(dir_.File("quillsmith.lock")),
               dir_.File("state/quillsmith")};
  int quits_ = 0;
};

}  // namespace quill::testing
