#pragma once

#include <QObject>
#include <QPointer>

#include "ui/editor/frm_links.h"

class QLabel;
class QPushButton;
class QWidget;

namespace quill::ui {

class App;
class frmBlog;

// The main window's Output and Synch: generating the site, checking its links, and
// uploading it. After each check a bar under the buttons says how many links lead nowhere,
// with a Show button that lists them.
class SitePublisher final : public QObject {
 public:
  // Lives as long as the main window, its parent.
  SitePublisher(App& app, frmBlog& editor);

  // The bar, for the main window to lay out; hidden while no link leads nowhere.
  QWidget* Bar() const { return bar_; }

  // Generates and checks the site, and offers to show it.
  void Output();
  // Checks the site, asks once whether to upload it when links lead nowhere, then runs the
  // uploader and reads the stamps it wrote.
  void Synch();

 private:
  // Checks the site on disk and shows what it found in the bar; the number of problems.
  std::int64_t Check();
  void FillBar();
  void ShowProblems();

  App& app_;
  frmBlog& editor_;
  QWidget* bar_;
  QLabel* label_ = nullptr;
  QPushButton* show_ = nullptr;
  std::vector<check::Finding> problems_;
  QPointer<frmLinks> list_;
};

}  // namespace quill::ui
