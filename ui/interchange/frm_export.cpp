#include "ui/interchange/frm_export.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "interchange/site_export.h"
#include "ui/app.h"
#include "ui/interchange/transfer_controls.h"

namespace quill::ui {

frmExport::frmExport(App& app) : AppWindow(app, "frmExport", "Export entries") {
  optHugo = new QRadioButton("For Hugo");
  optHugo->setObjectName("optHugo");
  optHugo->setChecked(true);
  optZola = new QRadioButton("For Zola");
  optZola->setObjectName("optZola");
  lblFolder = PathLabel("lblFolder");
  cmdFolder = NamedButton("cmdFolder", "...");
  cmdFolder->setAccessibleName("Export into");
  chkForce = new QCheckBox("Replace files already in the folder");
  chkForce->setObjectName("chkForce");
  cmdExport = NamedButton("cmdExport", "Export");
  cmdClose = NamedButton("cmdClose", "Close");

  auto* grid = new QGridLayout(this);
  auto* layouts = new QHBoxLayout;
  layouts->addWidget(optHugo);
  layouts->addWidget(optZola);
  layouts->addStretch();
  grid->addLayout(layouts, 0, 1, 1, 2);
  grid->addWidget(new QLabel("Export into:"), 1, 0);
  grid->addWidget(lblFolder, 1, 1);
  grid->addWidget(cmdFolder, 1, 2);
  grid->addWidget(chkForce, 2, 1, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdExport);
  buttons->addWidget(cmdClose);
  grid->addLayout(buttons, 3, 0, 1, 3);
  for (QPushButton* button : {cmdFolder, cmdExport, cmdClose}) KeepSystemColours(button);

  connect(cmdFolder, &QPushButton::clicked, this, [this] { ChooseFolder(); });
  connect(cmdExport, &QPushButton::clicked, this, [this] { Run(); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { Unload(); });
  Centre();
}

void frmExport::ChooseFolder() {
  const QString folder = app_.Services().GetFolderName(this, "Export into", QDir::homePath());
  if (!folder.isEmpty()) lblFolder->setText(QDir::toNativeSeparators(folder));
}

void frmExport::Run() {
  if (lblFolder->text().isEmpty()) ChooseFolder();
  if (lblFolder->text().isEmpty()) return;
  interchange::ExportOptions options;
  options.layout = optZola->isChecked() ? interchange::ExportLayout::Zola
                                        : interchange::ExportLayout::Hugo;
  options.force = chkForce->isChecked();
  const interchange::SystemTimeZone zone;
  interchange::ExportReport report;
  const bool done = Guarded([&] {
    const std::string folder = QDir::fromNativeSeparators(lblFolder->text()).toStdString();
    report = interchange::ExportEntries(app_.Session(), folder, options, zone);
  });
  if (!done) return;
  app_.Services().ShowMessage(this, "Export", ReportText(interchange::DescribeExport(report)),
                              MessageIcon::Information, MessageButtons::Ok);
  Unload();
}

}  // namespace quill::ui
