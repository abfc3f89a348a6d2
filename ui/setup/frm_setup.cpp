#include "ui/setup/frm_setup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

#include "core/clock.h"
#include "core/file_names.h"
#include "core/product.h"
#include "core/settings_store.h"
#include "core/text.h"
#include "site/site_output.h"
#include "site/stamp_format.h"
#include "site/support_files.h"
#include "store/entry_store.h"
#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/editor/frm_blog.h"
#include "ui/qt_text.h"
#include "ui/setup/setup_rules.h"

namespace quill::ui {
namespace {

std::string Trimmed(const QLineEdit* field) { return TrimmedText(field->text()); }

const char* const kStandardNames[] = {"blog", "news", "info", "work"};

bool IsStandardName(const QString& name) {
  return std::any_of(std::begin(kStandardNames), std::end(kStandardNames),
                     [&](const char* standard) { return name == standard; });
}

// The shading and font colour reach the window, its pages, labels, check boxes and option
// buttons; command buttons, text fields and lists keep the system's colours.
void Colour(QWidget* widget, const QColor& background, const QColor& text) {
  QPalette colours = widget->palette();
  if (background.isValid()) {
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::Button, background);  // what check boxes fill with
    widget->setAutoFillBackground(true);
  }
  colours.setColor(QPalette::WindowText, text);
  colours.setColor(QPalette::ButtonText, text);
  widget->setPalette(colours);
}

QLineEdit* Field(const char* name) {
  auto* field = new QLineEdit;
  field->setObjectName(name);
  return field;
}

// Takes digits only, up to the largest page size or article count a project can store, so
// what the field shows is what is saved.
class CountValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    for (const QChar c : input) {
      if (c < u'0' || c > u'9') return Invalid;
    }
    return input.isEmpty() || input.toInt() <= 32767 ? Acceptable : Invalid;
  }
};

QLineEdit* CountField(const char* name) {
  QLineEdit* field = Field(name);
  field->setValidator(new CountValidator(field));
  return field;
}

// Hidden, it still holds its place, so the fields beside it do not move when it shows.
void KeepPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

QCheckBox* Box(const char* name, const char* caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(name);
  return box;
}

}  // namespace

frmSetup::frmSetup(App& app, frmBlog& editor)
    : AppWindow(app, "frmSetup", QString()), editor_(editor) {
  setFont(QFont("Verdana", 9));

  auto* options = new QHBoxLayout;
  const char* captions[] = {"Basic", "Adv", "Tools", "FTP", "About"};
  pages_ = new QStackedWidget;
  QWidget* const contents[] = {BuildBasic(), BuildAdv(), BuildTools(), BuildFtp(), BuildAbout()};
  for (int i = 0; i < 5; ++i) {
    optSet[i] = new QRadioButton(captions[i]);
    optSet[i]->setObjectName(QString("optSet_%1").arg(i));
    options->addWidget(optSet[i]);
    connect(optSet[i], &QRadioButton::clicked, this, [this, i] { SwitchPage(i); });
    fram[i] = new QFrame;
    fram[i]->setObjectName(QString("fram_%1").arg(i));
    auto* page = new QVBoxLayout(fram[i]);
    page->addWidget(contents[i]);
    page->addStretch();
    pages_->addWidget(fram[i]);
  }

  Command1 = new QPushButton("Help!");
  Command1->setObjectName("Command1");
  cmdSave = new QPushButton("Save");
  cmdSave->setObjectName("cmdSave");
  cmdExit = new QPushButton("Not!");
  cmdExit->setObjectName("cmdExit");
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
  layout->addWidget(pages_);
  layout->addLayout(buttons);

  for (QWidget* control : findChildren<QWidget*>()) {
    const bool picker = qobject_cast<ColorPicker*>(control) != nullptr;
    if ((qobject_cast<QPushButton*>(control) != nullptr && !picker) ||
        qobject_cast<QLineEdit*>(control) != nullptr ||
        qobject_cast<QComboBox*>(control) != nullptr ||
        qobject_cast<QListWidget*>(control) != nullptr) {
      KeepSystemColours(control);
    }
  }
  Load();
}

QLabel* frmSetup::Caption(int index, const QString& text) {
  Label2[index] = new QLabel(text);
  Label2[index]->setObjectName(QString("Label2_%1").arg(index));
  return Label2[index];
}

QWidget* frmSetup::BuildBasic() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  txtTitle = Field("txtTitle");
  lblTemp = new QLabel;
  lblTemp->setObjectName("lblTemp");
  lblTemp->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  lblTemp->setMinimumWidth(300);
  cmdTemp = new QPushButton("...");
  cmdTemp->setObjectName("cmdTemp");
  Combo1 = new QComboBox;
  Combo1->setObjectName("Combo1");
  Combo2 = new QComboBox;
  Combo2->setObjectName("Combo2");
  Frame1 = new QFrame;
  Frame1->setObjectName("Frame1");
  Frame1->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* separators = new QHBoxLayout(Frame1);
  const char* marks[] = {"at", "@", ":"};
  for (int i = 0; i < 3; ++i) {
    optDT[i] = new QRadioButton(marks[i]);
    optDT[i]->setObjectName(QString("optDT_%1").arg(i));
    separators->addWidget(optDT[i]);
  }
  chkTime = Box("chkTime", "Include Time in Output");
  txtPage = CountField("txtPage");

  grid->addWidget(Caption(3, "Blog Title:"), 0, 0);
  grid->addWidget(txtTitle, 0, 1, 1, 2);
  grid->addWidget(Caption(1, "Blog Output Folder:"), 1, 0);
  grid->addWidget(lblTemp, 1, 1);
  grid->addWidget(cmdTemp, 1, 2);
  grid->addWidget(Caption(0, "Date Format:"), 2, 0);
  grid->addWidget(Combo1, 2, 1, 1, 2);
  grid->addWidget(Caption(2, "Time Format:"), 3, 0);
  grid->addWidget(Combo2, 3, 1, 1, 2);
  grid->addWidget(Frame1, 4, 1);
  grid->addWidget(chkTime, 5, 1);
  auto* size = new QHBoxLayout;
  size->addWidget(txtPage);
  size->addWidget(Caption(9, "kb"));
  size->addStretch();
  grid->addWidget(Caption(8, "Maximum Page Size:"), 6, 0);
  grid->addLayout(size, 6, 1);
  connect(cmdTemp, &QPushButton::clicked, this, [this] { ChooseFolder(); });
  return page;
}

QWidget* frmSetup::BuildAdv() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  txtSite = Field("txtSite");
  txtEditor = Field("txtEditor");
  chkTell = Box("chkTell", "Include comments page and link for user feedback");
  chkNews = Box("chkNews", "Generate XML for RSS?");
  txtDocs = Field("txtDocs");
  txtNews = CountField("txtNews");
  grid->addWidget(Caption(4, "Site URL:"), 0, 0);
  grid->addWidget(txtSite, 0, 1);
  grid->addWidget(Caption(6, "Editor Email Address:"), 1, 0);
  grid->addWidget(txtEditor, 1, 1);
  grid->addWidget(chkTell, 2, 0, 1, 2);
  grid->addWidget(chkNews, 3, 0, 1, 2);
  grid->addWidget(Caption(5, "Blog URL (if different from site URL):"), 4, 0);
  grid->addWidget(txtDocs, 4, 1);
  grid->addWidget(Caption(10, "Number of articles to maintain:"), 5, 0);
  grid->addWidget(txtNews, 5, 1);
  for (QWidget* hidden : {static_cast<QWidget*>(Label2[5]), static_cast<QWidget*>(txtDocs),
                          static_cast<QWidget*>(Label2[10]), static_cast<QWidget*>(txtNews)}) {
    KeepPlace(hidden);
    hidden->setVisible(false);
  }
  connect(chkTell, &QCheckBox::clicked, this, [this] { RefreshSupportFiles(); });
  connect(chkNews, &QCheckBox::toggled, this, [this] { ShowRssFields(); });
  return page;
}

QWidget* frmSetup::BuildTools() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  ClrBack = new ColorPicker(app_.Services());
  ClrBack->setObjectName("ClrBack");
  ClrFont = new ColorPicker(app_.Services());
  ClrFont->setObjectName("ClrFont");

  Label1 = new QFrame;
  Label1->setObjectName("Label1");
  Colour(Label1, Qt::white, Qt::black);
  auto* preview = new QVBoxLayout(Label1);
  const char* samples[] = {"Header", "Date and Time", "Standard Text"};
  for (int i = 0; i < 3; ++i) {
    Label4[i] = new QLabel(samples[i]);
    Label4[i]->setObjectName(QString("Label4_%1").arg(i));
    preview->addWidget(Label4[i]);
  }
  cmdApply = new QPushButton;
  cmdApply->setObjectName("cmdApply");
  Combo3 = new QComboBox;
  Combo3->setObjectName("Combo3");
  Combo3->setEditable(true);
  Combo3->setInsertPolicy(QComboBox::NoInsert);
  cmdAdd = new QPushButton;
  cmdAdd->setObjectName("cmdAdd");
  cmdAdd->setEnabled(false);
  Check1 = Box("Check1", "Use index.html");
  List1 = new QListWidget;
  List1->setObjectName("List1");
  cmdMake = new QPushButton;
  cmdMake->setObjectName("cmdMake");
  cmdMake->setEnabled(false);

  grid->addWidget(Caption(11, "Theme Color:"), 0, 0);
  grid->addWidget(ClrBack, 0, 1, Qt::AlignLeft);
  grid->addWidget(Caption(7, "Font Color:"), 1, 0);
  grid->addWidget(ClrFont, 1, 1, Qt::AlignLeft);
  grid->addWidget(Label1, 0, 2, 2, 1);
  grid->addWidget(cmdApply, 2, 2);
  grid->addWidget(Caption(16, "File Names:"), 3, 0);
  grid->addWidget(Combo3, 3, 1);
  grid->addWidget(cmdAdd, 3, 2);
  grid->addWidget(Check1, 4, 1);
  grid->addWidget(Caption(17, "Support Files:"), 5, 0, Qt::AlignTop);
  grid->addWidget(List1, 5, 1);
  grid->addWidget(cmdMake, 5, 2, Qt::AlignTop);

  connect(ClrBack, &ColorPicker::ColorChanged, this, [this] {
    for (int i = 0; i < 2; ++i) {
      Paint(Label4[i], QPalette::Window, ToQColor(ClrBack->Color()));
    }
    PickerChanged();
  });
  connect(ClrFont, &ColorPicker::ColorChanged, this, [this] {
    for (int i = 0; i < 2; ++i) {
      Paint(Label4[i], QPalette::WindowText, ToQColor(ClrFont->Color()));
    }
    PickerChanged();
  });
  connect(cmdApply, &QPushButton::clicked, this, [this] { Apply(); });
  connect(Combo3->lineEdit(), &QLineEdit::textEdited, this, [this] { FileNameEdited(); });
  connect(cmdAdd, &QPushButton::clicked, this, [this] { AddFileName(); });
  connect(List1, &QListWidget::itemChanged, this, [this] { UpdateCreateButton(); });
  connect(cmdMake, &QPushButton::clicked, this, [this] { Create(); });
  return page;
}

QWidget* frmSetup::BuildFtp() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  chkSync = Box("chkSync", "Enable FTP Synch");
  txtHost = Field("txtHost");
  txtUser = Field("txtUser");
  txtPass = Field("txtPass");
  txtPass->setEchoMode(QLineEdit::Password);
  txtPass->setStyleSheet("lineedit-password-character: 42");  // "*", whatever the style's own
  txtPath = Field("txtPath");
  grid->addWidget(chkSync, 0, 0, 1, 2);
  grid->addWidget(Caption(12, "FTP Host:"), 1, 0);
  grid->addWidget(txtHost, 1, 1);
  grid->addWidget(Caption(13, "FTP User Name:"), 2, 0);
  grid->addWidget(txtUser, 2, 1);
  grid->addWidget(Caption(15, "FTP Password:"), 3, 0);
  grid->addWidget(txtPass, 3, 1);
  grid->addWidget(Caption(14, "FTP Blog Path:"), 4, 0);
  grid->addWidget(txtPath, 4, 1);
  for (int i : {12, 13, 14, 15}) {
    KeepPlace(Label2[i]);
    Label2[i]->setVisible(false);
  }
  for (QLineEdit* field : {txtHost, txtUser, txtPass, txtPath}) {
    KeepPlace(field);
    field->setVisible(false);
  }
  connect(chkSync, &QCheckBox::toggled, this, [this] { ShowFtpFields(); });
  return page;
}

QWidget* frmSetup::BuildAbout() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  lblAbout[0] = new QLabel(Q(std::string(core::kProductName)));
  QFont large("Verdana", 16);
  large.setBold(true);
  lblAbout[0]->setFont(large);
  lblAbout[6] = new QLabel;
  lblAbout[3] = new QLabel(Q(std::string(core::kMakerSite)));
  lblAbout[3]->setCursor(Qt::PointingHandCursor);
  QFont link = lblAbout[3]->font();
  link.setUnderline(true);
  lblAbout[3]->setFont(link);
  lblAbout[3]->installEventFilter(this);
  for (int i : {0, 6, 3}) {
    lblAbout[i]->setObjectName(QString("lblAbout_%1").arg(i));
    lblAbout[i]->setAlignment(Qt::AlignHCenter);
    column->addWidget(lblAbout[i]);
  }
  return page;
}

void frmSetup::Load() {
  const core::ProjectSettings& project = app_.Project();
  adjustSize();
  app_.Centre(this);
  WasShade = project.Shading;
  WasFore = project.FontColor;
  ColorMe();

  const QString version =
      Q(SetupVersionText(core::kVersionMajor, core::kVersionMinor, core::kVersionRevision));
  setWindowTitle(Q(std::string(core::kProductName)) + " : v" + version);
  lblAbout[6]->setText("v" + version);

  // The lists show what each choice looks like today, now.
  const core::Stamp now = app_.Clock().Now();
  Combo1->clear();
  for (int i = 0; i < 4; ++i) Combo1->addItem(Q(site::FormatDatePart(i, now)));
  Combo1->setCurrentIndex(project.DateFormat >= 0 && project.DateFormat < 4 ? project.DateFormat
                                                                            : -1);
  Combo2->clear();
  for (int i = 0; i < 4; ++i) {
    Combo2->addItem(Q(site::FormatTimePart(i, now)) + (i >= 2 && now.hour < 13 ? " (24 hr)" : ""));
  }
  Combo2->setCurrentIndex(project.TimeFormat >= 0 && project.TimeFormat < 4 ? project.TimeFormat
                                                                            : -1);

  txtTitle->setText(Trimmed(project.Title));
  chkTime->setChecked(project.PrintTime != 0);
  txtSite->setText(Trimmed(project.Site));
  txtEditor->setText(Trimmed(project.Editor));
  txtPage->setText(QString::number(project.MaxPageSize));
  if (project.Separator >= 0 && project.Separator < 3) optDT[project.Separator]->setChecked(true);
  lblTemp->setText(Q(project.OutputFolder));

  chkTell->setChecked(project.CommentPage != 0);
  chkNews->setChecked(project.IncludeRSS != 0);
  txtNews->setText(QString::number(project.Articles));
  txtDocs->setText(Trimmed(project.Docs));
  chkSync->setChecked(project.PostFTP != 0);
  txtHost->setText(Q(project.FtpHost));
  txtUser->setText(Q(project.FtpUser));
  txtPass->setText(Q(project.FtpPass));
  txtPath->setText(Q(project.FtpPath));
  ShowRssFields();
  ShowFtpFields();

  optSet[0]->setChecked(true);
  SwitchPage(0);

  Combo3->clear();
  Combo3->setEditText("");
  for (const char* name : kStandardNames) Combo3->addItem(name);
  Check1->setChecked(project.UseIndex != 0);
  RefreshSupportFiles();
  const QString stored = Q(project.FileNames);
  int index = Combo3->findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) {
    Combo3->addItem(stored);
    index = Combo3->count() - 1;
  }
  Combo3->setCurrentIndex(index);

  for (QWidget* field : {static_cast<QWidget*>(txtTitle), static_cast<QWidget*>(txtPage),
                         static_cast<QWidget*>(txtSite), static_cast<QWidget*>(txtEditor),
                         static_cast<QWidget*>(txtDocs), static_cast<QWidget*>(txtNews),
                         static_cast<QWidget*>(txtUser), static_cast<QWidget*>(txtPass),
                         static_cast<QWidget*>(txtHost), static_cast<QWidget*>(txtPath),
                         static_cast<QWidget*>(Combo3->lineEdit())}) {
    field->installEventFilter(this);
  }
  SetupLoaded = true;
}

void frmSetup::ColorMe() {
  const QColor shading = ToQColor(app_.Project().Shading);
  const QColor font = ToQColor(app_.Project().FontColor);
  const QColor design = QApplication::palette().color(QPalette::WindowText);
  Colour(this, shading, font);
  for (int i = 0; i < 2; ++i) Colour(Label4[i], shading, font);
  Colour(Label4[2], Qt::white, Qt::black);
  ClrBack->SetColor(app_.Project().Shading);
  ClrFont->SetColor(app_.Project().FontColor);
  ClrBack->SetBackgroundColor(shading);
  ClrFont->SetBackgroundColor(shading);
  for (QFrame* page : fram) Colour(page, shading, font);
  for (int i = 0; i < static_cast<int>(Label2.size()); ++i) {
    if (Label2[i] != nullptr) Colour(Label2[i], QColor(), i == 7 || i == 11 ? design : font);
  }
  for (QCheckBox* box : {chkNews, chkSync, chkTime, chkTell, Check1}) Colour(box, shading, font);
  Colour(Frame1, shading, font);
  for (QRadioButton* option : optDT) Colour(option, shading, font);
  cmdApply->setText("");
  cmdApply->setEnabled(false);
}

void frmSetup::SwitchPage(int index) {
  if (index >= 1 && SetupLoaded) {
    const std::string missing =
        MissingRequirement(lblTemp->text().toStdString(), txtTitle->text().toStdString());
    if (!missing.empty()) {
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
    pages_->setCurrentIndex(index);
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

void frmSetup::ShowRssFields() {
  const bool on = chkNews->isChecked();
  for (QWidget* widget : {static_cast<QWidget*>(Label2[5]), static_cast<QWidget*>(txtDocs),
                          static_cast<QWidget*>(Label2[10]), static_cast<QWidget*>(txtNews)}) {
    widget->setVisible(on);
  }
}

void frmSetup::ShowFtpFields() {
  const bool on = chkSync->isChecked();
  for (int i : {12, 13, 14, 15}) Label2[i]->setVisible(on);
  for (QLineEdit* field : {txtHost, txtUser, txtPass, txtPath}) field->setVisible(on);
}

void frmSetup::PickerChanged() {
  const bool same =
      ClrFont->Color() == app_.Project().FontColor && ClrBack->Color() == app_.Project().Shading;
  cmdApply->setText(same ? "" : "Apply");
  cmdApply->setEnabled(!same);
}

void frmSetup::Apply() {
  app_.Project().Shading = ClrBack->Color();
  app_.Project().FontColor = ClrFont->Color();
  ColorMe();
  // Both stylesheets carry the colours, so both are to be written again.
  for (int i = 0; i < List1->count(); ++i) {
    QListWidgetItem* item = List1->item(i);
    if (item->text() == core::kBlogStylesheet || item->text() == core::kSiteStylesheet) {
      item->setCheckState(Qt::Checked);
    }
  }
}

void frmSetup::FileNameEdited() {
  const bool added = !IsStandardName(Combo3->currentText());
  cmdAdd->setText(added ? "-add-" : "");
  cmdAdd->setEnabled(added);
}

void frmSetup::AddFileName() {
  const QString name = Combo3->currentText();
  if (const std::string problem = PageNameProblem(name.toStdString()); !problem.empty()) {
    app_.Services().Oops(this, Q(problem));
    return;
  }
  Combo3->addItem(name);
  Combo3->setEditText(name);
  cmdAdd->setText("");
  cmdAdd->setEnabled(false);
}

void frmSetup::RefreshSupportFiles() {
  const QSignalBlocker quiet(List1);
  List1->clear();
  const QString folder = Q(app_.Project().OutputFolder);
  for (const std::string& name : site::SupportFileNames(chkTell->isChecked())) {
    auto* item = new QListWidgetItem(Q(name), List1);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    const bool present = !folder.isEmpty() && QFileInfo(folder + Q(name)).isFile();
    item->setCheckState(present ? Qt::Unchecked : Qt::Checked);
  }
  List1->clearSelection();
  UpdateCreateButton();
}

void frmSetup::UpdateCreateButton() {
  int checked = 0;
  for (int i = 0; i < List1->count(); ++i) checked += List1->item(i)->checkState() == Qt::Checked;
  cmdMake->setText(checked > 0 ? "<< Create" : "");
  cmdMake->setEnabled(checked > 0);
}

void frmSetup::ChooseFolder() {
  const QString saved = Q(app_.Project().OutputFolder);
  for (;;) {
    const QString path =
        app_.Services().GetSaveFileName(this, "Blog Output Folder", saved + core::kTemplateFile,
                                        "Web Page Template (*.htm *.html)");
    if (path.isEmpty()) return;
    const QString folder = Q(core::OutputFolderOf(QDir::fromNativeSeparators(path).toStdString()));
    const bool holds_files =
        !folder.isEmpty() && !QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty();
    if (holds_files && app_.Services().ShowMessage(
                           this, "Warning",
                           "Files with the same name as those used by\n"
                           "this program will be overwritten in this folder\n\n"
                           "Are you sure this is the right place?",
                           MessageIcon::None, MessageButtons::YesNo) != MessageAnswer::Yes) {
      continue;  // the file dialog again
    }
    lblTemp->setText(folder);
    return;
  }
}

QString frmSetup::PageFileName() const {
  const int index = Combo3->currentIndex();
  if (index >= 0 && Combo3->itemText(index) == Combo3->currentText())
    return Combo3->itemText(index);
  return Trimmed(Combo3->currentText());
}

void frmSetup::Save() {
  const QString file_names = PageFileName();
  if (const std::string problem = PageNameProblem(file_names.toStdString()); !problem.empty()) {
    app_.Services().Oops(this, Q(problem));
    // Straight to the field at fault, wherever the user was.
    optSet[2]->setChecked(true);
    ShowPage(2);
    Combo3->setFocus();
    Combo3->lineEdit()->selectAll();
    return;
  }
  core::ProjectSettings& project = app_.Project();
  const std::string old_title = project.Title;
  const std::string old_database = project.DatabasePath;
  project.OutputFolder = TrimmedText(lblTemp->text());
  project.Template = project.OutputFolder + core::kTemplateFile;
  project.DateFormat = static_cast<std::int16_t>(Combo1->currentIndex());
  project.TimeFormat = static_cast<std::int16_t>(Combo2->currentIndex());
  project.Title = Trimmed(txtTitle);
  project.IncludeRSS = chkNews->isChecked() ? 1 : 0;
  project.PrintTime = chkTime->isChecked() ? 1 : 0;
  project.Site = Trimmed(txtSite);
  project.Docs = Trimmed(txtDocs);
  project.Editor = Trimmed(txtEditor);
  project.Master = Trimmed(txtEditor);
  project.CommentPage = chkTell->isChecked() ? 1 : 0;
  project.MaxPageSize = LeadingNumber(txtPage->text().toStdString());
  project.Articles = LeadingNumber(txtNews->text().toStdString());
  for (int i = 0; i < 3; ++i) {
    if (optDT[i]->isChecked()) project.Separator = static_cast<std::int16_t>(i);
  }
  project.PostFTP = chkSync->isChecked() ? 1 : 0;
  project.FtpHost = Trimmed(txtHost);
  project.FtpUser = Trimmed(txtUser);
  project.FtpPass = Trimmed(txtPass);
  project.FtpPath = Trimmed(txtPath);
  project.UseIndex = Check1->isChecked() ? 1 : 0;
  project.FileNames = file_names.toStdString();
  app_.Settings().LoadSettings(true);

  if (const std::string missing = MissingRequirement(project.OutputFolder, project.Title);
      !missing.empty()) {
    CloseProgram(Q(missing));
  } else {
    if (project.DatabasePath == old_database) OfferEntriesOf(old_title);
    editor_.ColorMe();
    editor_.ShowTime();
    editor_.SetHomeLinks();
    Leave();
  }
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
    project.Shading = WasShade;
    project.FontColor = WasFore;
    Leave();
  }
}

void frmSetup::CloseProgram(const QString& reason) {
  app_.Services().ShowMessage(this, "Oops!", reason + "\n\nProgram closing!",
                              MessageIcon::Information, MessageButtons::Ok);
  app_.CloseAllWindows(false);
}

void frmSetup::Create() {
  const core::ProjectSettings& project = app_.Project();
  if (project.OutputFolder.empty() || TrimmedText(lblTemp->text()) != project.OutputFolder) {
    app_.Services().Oops(this,
                         "Save the setup first: the support files go into the saved output "
                         "folder, and the folder shown here is not saved yet.",
                         MessageIcon::Information);
    return;
  }
  std::vector<QString> failed;
  const bool opened = Guarded([&] {
    site::DiskOutput output(project.OutputFolder);
    for (int i = 0; i < List1->count(); ++i) {
      QListWidgetItem* item = List1->item(i);
      if (item->checkState() != Qt::Checked) continue;
      // A file that fails stays checked for another try; the others are still written.
      if (!Guarded([&] { site::WriteSupportFile(item->text().toStdString(), project, output); })) {
        failed.push_back(item->text());
      } else {
        item->setCheckState(Qt::Unchecked);
      }
    }
  });
  if (!opened) return;
  RefreshSupportFiles();
  for (int i = 0; i < List1->count(); ++i) {
    QListWidgetItem* item = List1->item(i);
    if (std::find(failed.begin(), failed.end(), item->text()) != failed.end()) {
      item->setCheckState(Qt::Checked);
    }
  }
}

void frmSetup::Leave() {
  editor_.FocusText();
  Unload();
}

bool frmSetup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblAbout[3] && event->type() == QEvent::MouseButtonRelease) {
    app_.Services().Open(this, lblAbout[3]->text());
    return true;
  }
  auto* field = qobject_cast<QLineEdit*>(watched);
  if (field == nullptr) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn) {
    if (field == txtPass) txtPass->setEchoMode(QLineEdit::Normal);
    // After the click that gave the focus has placed the caret.
    QTimer::singleShot(0, field, [field] { field->selectAll(); });
  } else if (event->type() == QEvent::FocusOut) {
    if (field == txtPass) txtPass->setEchoMode(QLineEdit::Password);
    if (field == txtHost) txtHost->setText(Q(NormaliseFtpHost(txtHost->text().toStdString())));
    if (field == txtPath) {
      txtPath->setText(
          Q(NormaliseFtpPath(txtPath->text().toStdString(), txtHost->text().toStdString())));
    }
    field->deselect();
    field->setCursorPosition(0);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quill::ui
