#include "ui/setup/frm_setup.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "core/product.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "site/site_names.h"
#include "site/site_output.h"
#include "site/support_files.h"
#include "store/entry_store.h"
#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/editor/frm_blog.h"
#include "ui/qt_text.h"
#include "ui/setup/about_page.h"
#include "ui/setup/adv_page.h"
#include "ui/setup/basic_page.h"
#include "ui/setup/ftp_page.h"
#include "ui/setup/setup_rules.h"
#include "ui/setup/tools_page.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

QString VersionText() {
  return Q(SetupVersionText(core::kVersionMajor, core::kVersionMinor, core::kVersionRevision));
}

QPushButton* Button(const char* name, const char* caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

}  // namespace

frmSetup::frmSetup(App& app, frmBlog& editor)
    : AppWindow(app, "frmSetup", QString()), editor_(editor) {
  setFont(QFont("Verdana", 9));
  BuildPages();
  BuildButtons();
  TabInReadingOrder(*this);
  KeepControlColours();
  Load();
}

void frmSetup::BuildPages() {
  basic_ =
      new BasicPage(app_.Services(), app_.Clock(), [this] { return app_.Project().OutputFolder; });
  Spelling& spelling = app_.Spelling();
  adv_ = new AdvPage(spelling.Languages(), spelling.LanguageOf({}));
  tools_ = new ToolsPage(app_.Services());
  pages_ = {basic_, adv_, tools_, new FtpPage, new AboutPage(app_.Services(), VersionText())};
  connect(adv_, &AdvPage::CommentPageClicked, this, [this] { RefreshSupportFiles(); });
  connect(adv_, &AdvPage::Html5Clicked, this, [this] { RefreshSupportFiles(); });
  connect(tools_, &ToolsPage::ApplyClicked, this, [this] { Apply(); });
  connect(tools_, &ToolsPage::CreateClicked, this, [this] { Create(); });
  connect(tools_, &ToolsPage::ImportClicked, this, [this] {
    if (ShownIsSaved("the entries go into the saved project")) app_.OpenImportWindow();
  });
  connect(tools_, &ToolsPage::ExportClicked, this, [this] {
    if (ShownIsSaved("the entries come from the saved project")) app_.OpenExportWindow();
  });
}

// The five options over the page frames, and the three buttons of every page.
void frmSetup::BuildButtons() {
  auto* options = new QHBoxLayout;
  const char* captions[] = {"Basic", "Adv", "Tools", "FTP", "About"};
  stack_ = new QStackedWidget;
  for (int i = 0; i < 5; ++i) {
    optSet[i] = new QRadioButton(captions[i]);
    optSet[i]->setObjectName(QString("optSet_%1").arg(i));
    options->addWidget(optSet[i]);
    connect(optSet[i], &QRadioButton::clicked, this, [this, i] { SwitchPage(i); });
    fram[i] = new QFrame;
    fram[i]->setObjectName(QString("fram_%1").arg(i));
    auto* page = new QVBoxLayout(fram[i]);
    page->addWidget(pages_[i]);
    page->addStretch();
    stack_->addWidget(fram[i]);
  }

  Command1 = Button("Command1", "Help!");
  cmdSave = Button("cmdSave", "Save");
  cmdExit = Button("cmdExit", "Not!");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Command1);
  buttons->addStretch();
  buttons->addWidget(cmdSave);
  buttons->addWidget(cmdExit);
  connect(Command1, &QPushButton::clicked, this, [this] { Help(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { Save(); });
  connect(cmdExit, &QPushButton::clicked, this, [this] { Cancel(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(options);
  layout->addWidget(stack_);
  layout->addLayout(buttons);
}

// Command buttons, text fields and lists keep the system's colours whatever the shading.
void frmSetup::KeepControlColours() {
  for (QWidget* control : findChildren<QWidget*>()) {
    const bool picker = qobject_cast<ColorPicker*>(control) != nullptr;
    if ((qobject_cast<QPushButton*>(control) != nullptr && !picker) ||
        qobject_cast<QLineEdit*>(control) != nullptr ||
        qobject_cast<QComboBox*>(control) != nullptr ||
        qobject_cast<QListWidget*>(control) != nullptr) {
      KeepSystemColours(control);
    }
  }
}

void frmSetup::Load() {
  const core::ProjectSettings& project = app_.Project();
  adjustSize();
  app_.Centre(this);
  WasShade_ = project.Shading;
  WasFore_ = project.FontColor;
  first_setup_ = project.Template.empty();
  ColorMe();
  setWindowTitle(Q(std::string(core::kProductName)) + " : v" + VersionText());

  const SetupValues values = SetupValues::Of(project);
  for (SetupPage* page : pages_) page->Load(values);
  optSet[0]->setChecked(true);
  SwitchPage(0);
  RefreshSupportFiles();
  SetupLoaded_ = true;
}

SetupValues frmSetup::Values() const {
  SetupValues values;
  for (const SetupPage* page : pages_) page->Save(values);
  return values;
}

void frmSetup::ColorMe() {
  const Shades shades{app_.Project().Shading, app_.Project().FontColor};
  const QColor shading = ToQColor(shades.shading);
  const QColor font = ToQColor(shades.font);
  Colour(this, shading, font);
  for (QFrame* page : fram) Colour(page, shading, font);
  for (SetupPage* page : pages_) page->ColorMe(shades);
}

void frmSetup::RefreshSupportFiles() {
  tools_->ListSupportFiles(app_.Project().OutputFolder, adv_->CommentPage(), adv_->Html5());
}

void frmSetup::SwitchPage(int index) {
  if (index >= 1 && SetupLoaded_) {
    if (const std::string missing = Values().Missing(); !missing.empty()) {
      app_.Services().ShowMessage(this, "Oops!", Q(missing), MessageIcon::Information,
                                  MessageButtons::Ok);
      optSet[0]->setChecked(true);
      SwitchPage(0);
      return;
    }
  }
  ShowPage(index);
}

void frmSetup::ShowPage(int index) {
  for (int i = 0; i < 5; ++i) fram[i]->setEnabled(i == index);
  if (optSet[index]->isChecked()) {
    stack_->setCurrentIndex(index);
    CurrentPage_ = index;
  }
  Command1->setText(index == 4 ? "Support" : "Help!");
  Command1->setEnabled(true);
}

void frmSetup::Help() {
  static constexpr const char* kPages[] = {"start/start1.html", "help/advanced.html",
                                           "start/start2.html", "help/synch.html", "support.html"};
  if (CurrentPage_ < 0 || CurrentPage_ > 4) return;
  app_.Services().Open(this, Q(std::string(core::kHomePage) + kPages[CurrentPage_]));
}

void frmSetup::Apply() {
  const Shades picked = tools_->Picked();
  app_.Project().Shading = picked.shading;
  app_.Project().FontColor = picked.font;
  ColorMe();
  tools_->CheckStylesheets();
}

void frmSetup::Save() {
  const SetupValues values = Values();
  std::string problem = PageNameProblem(values.file_names);
  if (problem.empty() && values.entry_pages) {
    problem = site::EntryPagesNameClash(values.file_names, values.use_index);
  }
  if (!problem.empty()) {
    app_.Services().Oops(this, Q(problem));
    // Straight to the field at fault, wherever the user was.
    optSet[2]->setChecked(true);
    ShowPage(2);
    tools_->FocusFileNames();
    return;
  }
  core::ProjectSettings& project = app_.Project();
  const std::string old_title = project.Title;
  const std::string old_database = project.DatabasePath;
  values.ApplyTo(project);
  app_.Session().Reload(true);

  if (const std::string missing = MissingRequirement(project.OutputFolder, project.Title);
      !missing.empty()) {
    CloseProgram(Q(missing));
  } else {
    if (project.DatabasePath == old_database) OfferEntriesOf(old_title);
    editor_.ColorMe();
    editor_.ShowTime();
    editor_.SetHomeLinks();
    editor_.FollowSpelling();
    App& app = app_;
    frmBlog& editor = editor_;
    const bool first = first_setup_;
    Leave();
    if (first) OfferImport(app, editor);
  }
}

void frmSetup::OfferImport(App& app, frmBlog& editor) {
  if (app.Services().ShowMessage(&editor, "Import entries from…",
                                 "Import entries from another blog into the new one now: a "
                                 "WordPress export, or an RSS or Atom feed saved from it?\n\n"
                                 "(Setup, Tools, Import… does it later too.)",
                                 MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes) {
    app.OpenImportWindow();
  }
}

bool frmSetup::ShownIsSaved(const char* because) {
  const core::ProjectSettings& project = app_.Project();
  if (!project.OutputFolder.empty() && basic_->Folder() == project.OutputFolder &&
      Values().title == project.Title) {
    return true;
  }
  app_.Services().Oops(this,
                       QString("Save the setup first: ") + because +
                           ", and the folder or title shown here is not saved yet.",
                       MessageIcon::Information);
  return false;
}

void frmSetup::OfferEntriesOf(const std::string& old_title) {
  const std::string& title = app_.Project().Title;
  // Titles that differ in letter case only name the same table.
  if (old_title.empty() || core::EqualsIgnoringCase(old_title, title)) return;
  if (!QFileInfo(Q(app_.Project().DatabasePath)).isFile()) return;
  Guarded([&] {
    store::EntryStore& entries = app_.Entries();
    const std::int32_t count = entries.CountEntriesOf(old_title);
    if (count < 1 || entries.CountEntriesOf(title) > 0) return;
    const QString question =
        QString("Carry the %1 of \"%2\" over to \"%3\"?")
            .arg(count == 1 ? QString("1 entry") : QString("%1 entries").arg(count), Q(old_title),
                 Q(title));
    if (app_.Services().ShowMessage(this, "Just checking!", question, MessageIcon::Question,
                                    MessageButtons::YesNo) == MessageAnswer::Yes) {
      entries.CopyEntriesFrom(old_title);
    }
  });
}

void frmSetup::Cancel() {
  core::ProjectSettings& project = app_.Project();
  // The saved template stands for the saved folder here.
  if (const std::string missing = MissingRequirement(project.Template, project.Title);
      !missing.empty()) {
    CloseProgram(Q(missing));
  } else {
    project.Shading = WasShade_;
    project.FontColor = WasFore_;
    Leave();
  }
}

void frmSetup::CloseProgram(const QString& reason) {
  app_.Services().ShowMessage(this, "Oops!", reason + "\n\nProgram closing!",
                              MessageIcon::Information, MessageButtons::Ok);
  app_.CloseAllWindows(false);
}

void frmSetup::Create() {
  // The files are written in the style the page shows, as they are listed.
  core::ProjectSettings project = app_.Project();
  if (adv_->Html5() != (project.Html5 == 1)) project.Html5 = adv_->Html5() ? 1 : 0;
  project.Language = adv_->Language();
  if (project.OutputFolder.empty() || basic_->Folder() != project.OutputFolder) {
    app_.Services().Oops(this,
                         "Save the setup first: the support files go into the saved output "
                         "folder, and the folder shown here is not saved yet.",
                         MessageIcon::Information);
    return;
  }
  std::vector<QString> failed;
  QStringList reasons;
  const bool opened = Guarded([&] {
    // A folder chosen but not made yet is made now, or the one message says why not.
    site::DiskOutput output(project.OutputFolder, site::MissingFolder::Create);
    for (const QString& name : tools_->CheckedSupportFiles()) {
      // A file that fails stays checked for another try; the others are still written.
      try {
        site::WriteSupportFile(name.toStdString(), project, output);
        tools_->CheckSupportFile(name, false);
      } catch (const std::exception& error) {
        failed.push_back(name);
        reasons.push_back(QString::fromStdString(error.what()));
      }
    }
  });
  if (!opened) return;
  RefreshSupportFiles();
  for (const QString& name : failed) tools_->CheckSupportFile(name, true);
  // One message for them all: a folder that refuses one file mostly refuses the rest.
  if (!reasons.isEmpty()) Oops(reasons.join("\n"));
}

void frmSetup::Leave() {
  editor_.FocusText();
  Unload();
}

}  // namespace quill::ui
