#include "ui/setup/tools_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QIntValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "core/file_names.h"
#include "site/support_files.h"
#include "ui/app_window.h"
#include "ui/color_picker.h"
#include "ui/desktop_services.h"
#include "ui/qt_text.h"
#include "ui/setup/setup_rules.h"

namespace quill::ui {
namespace {

const char* const kStandardNames[] = {"blog", "news", "info", "work"};

bool IsStandardName(const QString& name) {
  return std::any_of(std::begin(kStandardNames), std::end(kStandardNames),
                     [&](const char* standard) { return name == standard; });
}

QPushButton* Button(const char* name) {
  auto* button = new QPushButton;
  button->setObjectName(name);
  return button;
}

}  // namespace

ToolsPage::ToolsPage(DesktopServices& services) : services_(services) {
  auto* grid = new QGridLayout(this);
  ClrBack = new ColorPicker(services);
  ClrBack->setObjectName("ClrBack");
  ClrBack->setAccessibleName("Theme color");
  ClrFont = new ColorPicker(services);
  ClrFont->setObjectName("ClrFont");
  ClrFont->setAccessibleName("Font color");
  BuildPreview();
  cmdApply = Button("cmdApply");
  Combo3 = new QComboBox;
  Combo3->setObjectName("Combo3");
  Combo3->setEditable(true);
  Combo3->setInsertPolicy(QComboBox::NoInsert);
  cmdAdd = Button("cmdAdd");
  cmdAdd->setEnabled(false);
  Check1 = Box("Check1", "Use index.html");
  List1 = new QListWidget;
  List1->setObjectName("List1");
  List1->setAccessibleName("Support files");  // a list's caption does not reach screen readers
  cmdMake = Button("cmdMake");
  cmdMake->setEnabled(false);
  cmdImport = Button("cmdImport");
  cmdImport->setText("Import…");
  cmdImport->setToolTip("Bring in the entries of a WordPress export or a saved RSS or Atom feed");
  cmdExport = Button("cmdExport");
  cmdExport->setText("Export…");
  cmdExport->setToolTip("Write every entry into a folder for Hugo or Zola");
  txtImageWidth = new QLineEdit;
  txtImageWidth->setObjectName("txtImageWidth");
  txtImageWidth->setValidator(new QIntValidator(0, INT16_MAX, txtImageWidth));
  txtImageWidth->setPlaceholderText("0: keep every size");
  txtImageWidth->setToolTip("In pixels; 0 keeps every picture as it is");

  grid->addWidget(PlainCaption(11, "Theme Color:"), 0, 0);
  grid->addWidget(ClrBack, 0, 1, Qt::AlignLeft);
  grid->addWidget(PlainCaption(7, "Font Color:"), 1, 0);
  grid->addWidget(ClrFont, 1, 1, Qt::AlignLeft);
  grid->addWidget(Label1, 0, 2, 2, 1);
  grid->addWidget(cmdApply, 2, 2);
  grid->addWidget(Caption(16, "File Names:", Combo3), 3, 0);
  grid->addWidget(Combo3, 3, 1);
  grid->addWidget(cmdAdd, 3, 2);
  grid->addWidget(Check1, 4, 1);
  grid->addWidget(Caption(17, "Support Files:", List1), 5, 0, Qt::AlignTop);
  grid->addWidget(List1, 5, 1);
  grid->addWidget(cmdMake, 5, 2, Qt::AlignTop);
  grid->addWidget(Caption(18, "Entries:"), 6, 0);
  auto* transfer = new QHBoxLayout;
  transfer->addWidget(cmdImport);
  transfer->addWidget(cmdExport);
  transfer->addStretch();
  grid->addLayout(transfer, 6, 1);
  grid->addWidget(Caption(19, "Largest image width:", txtImageWidth), 7, 0);
  grid->addWidget(txtImageWidth, 7, 1, Qt::AlignLeft);

  connect(cmdApply, &QPushButton::clicked, this, &ToolsPage::ApplyClicked);
  connect(Combo3->lineEdit(), &QLineEdit::textEdited, this, [this] { FileNameEdited(); });
  connect(cmdAdd, &QPushButton::clicked, this, [this] { AddFileName(); });
  connect(List1, &QListWidget::itemChanged, this, [this] { UpdateCreateButton(); });
  connect(cmdMake, &QPushButton::clicked, this, &ToolsPage::CreateClicked);
  connect(cmdImport, &QPushButton::clicked, this, &ToolsPage::ImportClicked);
  connect(cmdExport, &QPushButton::clicked, this, &ToolsPage::ExportClicked);
  SelectOnFocus(Combo3->lineEdit());
}

// The preview shows the colours picked, before they are applied.
void ToolsPage::BuildPreview() {
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
  connect(ClrBack, &ColorPicker::ColorChanged, this, [this] {
    for (int i = 0; i < 2; ++i) Paint(Label4[i], QPalette::Window, ToQColor(ClrBack->Color()));
    PickerChanged();
  });
  connect(ClrFont, &ColorPicker::ColorChanged, this, [this] {
    for (int i = 0; i < 2; ++i) Paint(Label4[i], QPalette::WindowText, ToQColor(ClrFont->Color()));
    PickerChanged();
  });
}

void ToolsPage::Load(const SetupValues& values) {
  Combo3->clear();
  Combo3->setEditText("");
  for (const char* name : kStandardNames) Combo3->addItem(name);
  Check1->setChecked(values.use_index);
  txtImageWidth->setText(QString::number(values.image_width));
  const QString stored = Q(values.file_names);
  int index = Combo3->findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0) {
    Combo3->addItem(stored);
    index = Combo3->count() - 1;
  }
  Combo3->setCurrentIndex(index);
}

void ToolsPage::Save(SetupValues& values) const {
  values.use_index = Check1->isChecked();
  values.image_width = txtImageWidth->text().toInt();  // empty: 0
  values.file_names = PageFileName().toStdString();
}

QString ToolsPage::PageFileName() const {
  const int index = Combo3->currentIndex();
  if (index >= 0 && Combo3->itemText(index) == Combo3->currentText())
    return Combo3->itemText(index);
  return Trimmed(Combo3->currentText());
}

void ToolsPage::ColorMe(const Shades& shades) {
  SetupPage::ColorMe(shades);
  const QColor shading = ToQColor(shades.shading);
  const QColor font = ToQColor(shades.font);
  for (int i = 0; i < 2; ++i) Colour(Label4[i], shading, font);
  Colour(Label4[2], Qt::white, Qt::black);
  ClrBack->SetColor(shades.shading);
  ClrFont->SetColor(shades.font);
  ClrBack->SetBackgroundColor(shading);
  ClrFont->SetBackgroundColor(shading);
  applied_ = shades;
  cmdApply->setText("");
  cmdApply->setEnabled(false);
}

Shades ToolsPage::Picked() const { return {ClrBack->Color(), ClrFont->Color()}; }

void ToolsPage::PickerChanged() {
  const bool same = ClrFont->Color() == applied_.font && ClrBack->Color() == applied_.shading;
  cmdApply->setText(same ? "" : "Apply");
  cmdApply->setEnabled(!same);
}

void ToolsPage::FileNameEdited() {
  const bool added = !IsStandardName(Combo3->currentText());
  cmdAdd->setText(added ? "-add-" : "");
  cmdAdd->setEnabled(added);
}

void ToolsPage::AddFileName() {
  const QString name = Combo3->currentText();
  if (const std::string problem = PageNameProblem(name.toStdString()); !problem.empty()) {
    services_.Oops(window(), Q(problem));
    return;
  }
  Combo3->addItem(name);
  Combo3->setEditText(name);
  cmdAdd->setText("");
  cmdAdd->setEnabled(false);
}

void ToolsPage::FocusFileNames() {
  Combo3->setFocus();
  Combo3->lineEdit()->selectAll();
}

void ToolsPage::ListSupportFiles(const std::string& folder, bool comment_page, bool html5) {
  const QSignalBlocker quiet(List1);
  List1->clear();
  for (const std::string& name : site::SupportFileNames(comment_page, html5)) {
    auto* item = new QListWidgetItem(Q(name), List1);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    const bool present = !folder.empty() && QFileInfo(Q(folder + name)).isFile();
    item->setCheckState(present ? Qt::Unchecked : Qt::Checked);
  }
  List1->clearSelection();
  UpdateCreateButton();
}

std::vector<QString> ToolsPage::CheckedSupportFiles() const {
  std::vector<QString> names;
  for (int i = 0; i < List1->count(); ++i) {
    if (List1->item(i)->checkState() == Qt::Checked) names.push_back(List1->item(i)->text());
  }
  return names;
}

void ToolsPage::CheckSupportFile(const QString& name, bool checked) {
  for (int i = 0; i < List1->count(); ++i) {
    QListWidgetItem* item = List1->item(i);
    if (item->text() == name) item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
}

void ToolsPage::CheckStylesheets() {
  for (const char* name : {core::kBlogStylesheet, core::kSiteStylesheet}) {
    CheckSupportFile(name, true);
  }
}

void ToolsPage::UpdateCreateButton() {
  const bool any = !CheckedSupportFiles().empty();
  cmdMake->setText(any ? "<< Create" : "");
  cmdMake->setEnabled(any);
}

}  // namespace quill::ui
