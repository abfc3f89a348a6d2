#include "ui/interchange/frm_import.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "interchange/entry_import.h"
#include "ui/app.h"
#include "ui/editor/frm_blog.h"
#include "ui/interchange/transfer_controls.h"
#include "ui/qt_text.h"

namespace quill::ui {

frmImport::frmImport(App& app) : AppWindow(app, "frmImport", "Import entries") {
  lblFile = PathLabel("lblFile");
  cmdFile = NamedButton("cmdFile", "...");
  cmdFile->setAccessibleName("Import entries from");
  chkDrafts = new QCheckBox("Also drafts and scheduled posts (WordPress)");
  chkDrafts->setObjectName("chkDrafts");
  chkReplace = new QCheckBox("Replace entries with the same date");
  chkReplace->setObjectName("chkReplace");
  lblImages = PathLabel("lblImages");
  cmdImages = NamedButton("cmdImages", "...");
  cmdImages->setAccessibleName("Copy pictures from");
  cmdCount = NamedButton("cmdCount", "Count");
  cmdImport = NamedButton("cmdImport", "Import");
  cmdClose = NamedButton("cmdClose", "Close");

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Import entries from:"), 0, 0);
  grid->addWidget(lblFile, 0, 1);
  grid->addWidget(cmdFile, 0, 2);
  grid->addWidget(chkDrafts, 1, 1, 1, 2);
  grid->addWidget(chkReplace, 2, 1, 1, 2);
  grid->addWidget(new QLabel("Copy pictures from:"), 3, 0);
  grid->addWidget(lblImages, 3, 1);
  grid->addWidget(cmdImages, 3, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {cmdCount, cmdImport, cmdClose}) buttons->addWidget(button);
  grid->addLayout(buttons, 4, 0, 1, 3);
  for (QPushButton* button : {cmdFile, cmdImages, cmdCount, cmdImport, cmdClose}) {
    KeepSystemColours(button);
  }

  connect(cmdFile, &QPushButton::clicked, this, [this] { ChooseFile(); });
  connect(cmdImages, &QPushButton::clicked, this, [this] { ChoosePictures(); });
  connect(cmdCount, &QPushButton::clicked, this, [this] { Run(true); });
  connect(cmdImport, &QPushButton::clicked, this, [this] { Run(false); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { Unload(); });
  Centre();
}

void frmImport::ChooseFile() {
  const QString file = app_.Services().GetOpenFileName(
      this, "Import entries from", QDir::homePath(),
      "WordPress exports and feeds (*.xml *.rss *.atom *.wxr);;All files (*)");
  if (!file.isEmpty()) lblFile->setText(QDir::toNativeSeparators(file));
}

void frmImport::ChoosePictures() {
  const QString folder =
      app_.Services().GetFolderName(this, "Copy pictures from (the old blog's uploads)",
                                    lblImages->text().isEmpty() ? QDir::homePath() : lblImages->text());
  if (!folder.isEmpty()) lblImages->setText(QDir::toNativeSeparators(folder));
}

void frmImport::Run(bool dry_run) {
  if (lblFile->text().isEmpty()) ChooseFile();
  if (lblFile->text().isEmpty()) return;
  interchange::ImportOptions options;
  options.drafts = chkDrafts->isChecked();
  options.replace = chkReplace->isChecked();
  options.dry_run = dry_run;
  options.images = QDir::fromNativeSeparators(lblImages->text()).toStdString();
  const interchange::SystemTimeZone zone;
  interchange::ImportReport report;
  const bool done = Guarded([&] {
    const std::string file = QDir::fromNativeSeparators(lblFile->text()).toStdString();
    report = interchange::ImportEntries(app_.Session(), file, options, zone);
  });
  if (!done) return;
  app_.Services().ShowMessage(this, dry_run ? "Count" : "Import",
                              ReportText(interchange::DescribeImport(report)),
                              MessageIcon::Information, MessageButtons::Ok);
  if (dry_run) return;
  if (frmBlog* editor = app_.Editor()) editor->UpdatePublishButtons();
  Unload();
}

}  // namespace quill::ui
