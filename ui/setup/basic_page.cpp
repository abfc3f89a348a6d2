#include "ui/setup/basic_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/clock.h"
#include "core/file_names.h"
#include "core/folders.h"
#include "core/settings_store.h"
#include "site/stamp_format.h"
#include "ui/desktop_services.h"
#include "ui/qt_text.h"

namespace quill::ui {

BasicPage::BasicPage(DesktopServices& services, const core::Clock& clock,
                     std::function<std::string()> saved_folder)
    : services_(services), clock_(clock), saved_folder_(std::move(saved_folder)) {
  auto* grid = new QGridLayout(this);
  txtTitle = Field("txtTitle");
  lblTemp = new QLabel;
  lblTemp->setObjectName("lblTemp");
  lblTemp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  lblTemp->setMinimumWidth(300);
  cmdTemp = new QPushButton("...");
  cmdTemp->setObjectName("cmdTemp");
  cmdTemp->setAccessibleName("Choose the blog output folder");
  Combo1 = new QComboBox;
  Combo1->setObjectName("Combo1");
  Combo2 = new QComboBox;
  Combo2->setObjectName("Combo2");
  Frame1 = new QFrame;
  Frame1->setObjectName("Frame1");
  Frame1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Frame1->setAccessibleName("Date and time separator");
  Shade(Frame1);
  auto* separators = new QHBoxLayout(Frame1);
  const char* marks[] = {"at", "@", ":"};
  for (int i = 0; i < 3; ++i) {
    optDT[i] = new QRadioButton(marks[i]);
    optDT[i]->setObjectName(QString("optDT_%1").arg(i));
    Shade(optDT[i]);
    separators->addWidget(optDT[i]);
  }
  chkTime = Box("chkTime", "Include Time in Output");
  txtPage = CountField("txtPage");

  grid->addWidget(Caption(3, "Blog Title:", txtTitle), 0, 0);
  grid->addWidget(txtTitle, 0, 1, 1, 2);
  grid->addWidget(Caption(1, "Blog Output Folder:"), 1, 0);
  grid->addWidget(lblTemp, 1, 1);
  grid->addWidget(cmdTemp, 1, 2);
  grid->addWidget(Caption(0, "Date Format:", Combo1), 2, 0);
  grid->addWidget(Combo1, 2, 1, 1, 2);
  grid->addWidget(Caption(2, "Time Format:", Combo2), 3, 0);
  grid->addWidget(Combo2, 3, 1, 1, 2);
  grid->addWidget(Frame1, 4, 1);
  grid->addWidget(chkTime, 5, 1);
  auto* size = new QHBoxLayout;
  size->addWidget(txtPage);
  size->addWidget(Caption(9, "kb"));
  size->addStretch();
  grid->addWidget(Caption(8, "Maximum Page Size:", txtPage), 6, 0);
  grid->addLayout(size, 6, 1);
  connect(cmdTemp, &QPushButton::clicked, this, [this] { ChooseFolder(); });
  for (QLineEdit* field : {txtTitle, txtPage}) SelectOnFocus(field);
}

void BasicPage::ListFormats() {
  const core::Stamp now = clock_.Now();
  Combo1->clear();
  for (int i = 0; i < 4; ++i) Combo1->addItem(Q(site::FormatDatePart(i, now)));
  Combo2->clear();
  for (int i = 0; i < 4; ++i) {
    Combo2->addItem(Q(site::FormatTimePart(i, now)) + (i >= 2 && now.hour < 13 ? " (24 hr)" : ""));
  }
}

void BasicPage::Load(const SetupValues& values) {
  ListFormats();
  Combo1->setCurrentIndex(values.date_format);
  Combo2->setCurrentIndex(values.time_format);
  txtTitle->setText(Q(values.title));
  chkTime->setChecked(values.print_time);
  txtPage->setText(Q(values.page_size));
  if (values.separator >= 0) optDT[values.separator]->setChecked(true);
  lblTemp->setText(Q(values.output_folder));
}

void BasicPage::Save(SetupValues& values) const {
  values.title = txtTitle->text().toStdString();
  values.output_folder = lblTemp->text().toStdString();
  values.date_format = Combo1->currentIndex();
  values.time_format = Combo2->currentIndex();
  values.separator = -1;
  for (int i = 0; i < 3; ++i) {
    if (optDT[i]->isChecked()) values.separator = i;
  }
  values.print_time = chkTime->isChecked();
  values.page_size = txtPage->text().toStdString();
}

std::string BasicPage::Folder() const { return TrimmedText(lblTemp->text()); }

QString BasicPage::StartFolder() const {
  const std::string saved = saved_folder_();
  if (!saved.empty() && core::FolderExists(saved)) return Q(saved);
  return QDir::homePath() + "/";
}

void BasicPage::ChooseFolder() {
  const QString start = StartFolder();
  for (;;) {
    const QString path =
        services_.GetSaveFileName(window(), "Blog Output Folder", start + core::kTemplateFile,
                                  "Web Page Template (*.htm *.html)");
    if (path.isEmpty()) return;
    const QString folder = Q(core::OutputFolderOf(QDir::fromNativeSeparators(path).toStdString()));
    if (!folder.isEmpty() && !core::FolderExists(folder.toStdString())) {
      if (!MadeFolder(folder)) continue;  // the file dialog again
    } else if (!QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty() &&
               services_.ShowMessage(window(), "Warning",
                                     "Files with the same name as those used by\n"
                                     "this program will be overwritten in this folder\n\n"
                                     "Are you sure this is the right place?",
                                     MessageIcon::None,
                                     MessageButtons::YesNo) != MessageAnswer::Yes) {
      continue;
    }
    lblTemp->setText(folder);
    return;
  }
}

bool BasicPage::MadeFolder(const QString& folder) {
  if (services_.ShowMessage(window(), "Just checking!",
                            "The folder " + folder + " does not exist. Create it?",
                            MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
    return false;
  }
  try {
    core::MakeFolder(folder.toStdString());
    return true;
  } catch (const std::exception& error) {
    services_.Oops(window(), QString::fromStdString(error.what()));
    return false;
  }
}

}  // namespace quill::ui
