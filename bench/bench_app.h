// The editor's application object for the window benchmarks: a project "Bench" in a temporary
// folder of its own (registry, Blog.mdb, state folder), with the real desktop services.
#pragma once

#include <QTemporaryDir>
#include <string>

#include "core/clock.h"
#include "core/sqlite_registry.h"
#include "ui/app.h"
#include "ui/qt_desktop_services.h"

namespace quill::bench {

class BenchApp {
 public:
  BenchApp()
      : folder_(dir_.path().toStdString() + "/"),
        registry_(folder_ + "registry.db"),
        app_(registry_, clock_, services_, dir_.path() + "/", dir_.path() + "/lock",
             folder_ + "state/") {
    app_.Project().ProjectName = "Bench";
    app_.Project().Template = folder_ + "template.html";
    app_.Project().Title = "Bench";
    app_.Settings().LoadSettings(true);
  }

  // The project's folder, ending in "/": Blog.mdb goes here.
  const std::string& Folder() const { return folder_; }
  ui::App& App() { return app_; }

 private:
  QTemporaryDir dir_;
  std::string folder_;
  core::SqliteRegistry registry_;
  core::SystemClock clock_;
  ui::QtDesktopServices services_;
  ui::App app_;
};

}  // namespace quill::bench
