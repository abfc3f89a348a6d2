// Quillsmith, the editor.

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

#include "core/clock.h"
#include "core/registry.h"
#include "ui/app.h"
#include "ui/qt_desktop_services.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("quillsmith");
  // Windows end the program themselves, once the last of them is closed or left.
  QApplication::setQuitOnLastWindowClosed(false);

  QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (runtime.isEmpty()) runtime = QDir::tempPath();
  QDir().mkpath(runtime);

  const auto registry = quill::core::OpenUserRegistry();
  quill::core::SystemClock clock;
  quill::ui::QtDesktopServices services;
  quill::ui::App app(*registry, clock, services,
                     QDir(QCoreApplication::applicationDirPath()).absolutePath() + "/",
                     runtime + "/quillsmith.lock");
  if (!app.StartProgram()) return 0;
  return QApplication::exec();
}
