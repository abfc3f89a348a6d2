#include "ui/start/frm_enter.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include "ui/app.h"
#include "ui/app_window.h"
#include "ui/editor/frm_blog.h"
#include "ui/qt_text.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

constexpr const char* kCreateNew = "< create new file set >";

// Why a new project name cannot be used, or nothing. A name that leads to the key of a
// listed project under another spelling would silently take over that project's settings.
QString NameRefusal(const core::SettingsStore& settings, const std::string& name) {
  if (name.find_first_not_of('\\') == std::string::npos) {
    return "\"" + QString::fromStdString(name) +
           "\" cannot name a project. Choose a name with letters or digits.";
  }
  for (int n = 0; n < core::SettingsStore::kMaxProjects; ++n) {
    const std::string held = settings.GetUserValue(core::SettingsStore::ListValueName(n));
    if (held.empty()) break;
    if (held != name && core::SettingsStore::SameProjectKey(held, name)) {
      return "\"" + QString::fromStdString(name) +
             "\" would share its settings with the project \"" + QString::fromStdString(held) +
             "\": names that differ only in letter case or a trailing backslash are one "
             "project. Choose another name, or open \"" +
             QString::fromStdString(held) + "\" from the list.";
    }
  }
  return {};
}

}  // namespace

frmEnter::frmEnter(App& app) : app_(app) {
  setObjectName("frmEnter");
  setWindowTitle("Select");
  setFont(QFont("Verdana", 9));
  Paint(this, QPalette::Window, QColor(0xE0, 0xE0, 0xE0));

  Label1 = new QLabel("Select Blog Project:");
  Label1->setObjectName("Label1");
  boxWho = new QComboBox;
  boxWho->setObjectName("boxWho");
  Label1->setBuddy(boxWho);
  Text1 = new QLineEdit;
  Text1->setObjectName("Text1");
  Text1->setAccessibleName("Blog project name");
  // The name field lies hidden behind the list until a new project is named.
  stack_ = new QStackedWidget;
  stack_->addWidget(boxWho);
  stack_->addWidget(Text1);
  cmdDel = new QPushButton;
  cmdDel->setObjectName("cmdDel");
  cmdSetup = new QPushButton("Go >>");
  cmdSetup->setObjectName("cmdSetup");
  cmdSetup->setDefault(true);
  Command1 = new QPushButton("Egress");
  Command1->setObjectName("Command1");
  Command1->setToolTip("Close the program");

  auto* layout = new QGridLayout(this);
  layout->addWidget(Label1, 0, 0, 1, 3);
  layout->addWidget(stack_, 1, 0, 1, 3);
  layout->addWidget(cmdDel, 2, 0);
  layout->addWidget(Command1, 2, 1);
  layout->addWidget(cmdSetup, 2, 2);
  setMinimumWidth(360);
  TabInReadingOrder(*this);
  adjustSize();

  connect(boxWho, &QComboBox::currentIndexChanged, this, [this](int index) { Select(index); });
  connect(cmdSetup, &QPushButton::clicked, this, [this] { Go(); });
  connect(Text1, &QLineEdit::returnPressed, this, [this] { Go(); });
  connect(cmdDel, &QPushButton::clicked, this, [this] { Delete(); });
  connect(Command1, &QPushButton::clicked, this, [this] { app_.CloseAllWindows(false); });

  app_.WindowLoaded(this);
  app_.Centre(this);
  ChooserStart();
}

void frmEnter::ChooserStart() {
  ChosenProject_ = Trimmed(app_.Settings().GetUserValue("Last"));
  NewProjectMode_ = false;
  cmdDel->setVisible(true);
  cmdDel->setEnabled(false);
  cmdDel->setText("");

  const QSignalBlocker quiet(boxWho);
  boxWho->clear();
  boxWho->addItem(kCreateNew);
  for (int n = 0; n < core::SettingsStore::kMaxProjects; ++n) {
    const std::string name = app_.Settings().GetUserValue(core::SettingsStore::ListValueName(n));
    if (name.empty()) break;
    boxWho->addItem(Trimmed(name));
  }
  int selected = 0;
  if (!ChosenProject_.isEmpty()) {
    for (int i = 1; i < boxWho->count(); ++i) {
      if (boxWho->itemText(i) == ChosenProject_) {
        selected = i;
        break;
      }
    }
  }
  // "Last" counts only while it is listed: a project deleted meanwhile is not opened again.
  if (selected == 0) ChosenProject_.clear();
  boxWho->setCurrentIndex(selected);
  Select(selected);
}

void frmEnter::Select(int index) {
  cmdDel->setEnabled(index > 0);
  cmdDel->setText(index > 0 ? "Delete" : "");
}

bool frmEnter::AddToProjectList(const QString& name) {
  const std::string wanted = name.toStdString();
  for (int n = 0; n < core::SettingsStore::kMaxProjects; ++n) {
    const std::string slot = core::SettingsStore::ListValueName(n);
    const std::string held = app_.Settings().GetUserValue(slot);
    if (held.empty() || held == wanted) {
      app_.Settings().SetUserValue(slot, wanted);
      return true;
    }
  }
  return false;
}

void frmEnter::Go() {
  if (!NewProjectMode_) {
    if (boxWho->currentIndex() <= 0) {
      // Name a new project.
      stack_->setCurrentWidget(Text1);
      boxWho->setEnabled(false);
      NewProjectMode_ = true;
      Label1->setText("Enter Blog Project Name:");
      cmdDel->setVisible(false);
      Text1->setFocus();
      return;
    }
    ChosenProject_ = boxWho->currentText();
    app_.Settings().SetUserValue("Last", ChosenProject_.toStdString());
  } else {
    const QString name = Trimmed(Text1->text());
    if (!name.isEmpty()) {
      if (const QString refusal = NameRefusal(app_.Settings(), name.toStdString());
          !refusal.isEmpty()) {
        app_.Services().Oops(this, refusal);
        Text1->setFocus();
        return;
      }
      if (!AddToProjectList(name)) {
        app_.Services().Oops(this,
                             "The project list is full: it holds 100 projects. Delete one "
                             "you no longer need, then create the new one.");
        Text1->setFocus();
        return;
      }
      app_.Session().StartNewProject(name.toStdString());
      ChosenProject_ = name;
      app_.Settings().SetUserValue("Last", name.toStdString());
    } else if (ChosenProject_.isEmpty()) {
      // No name and no project opened before: nothing to open yet.
      Text1->setFocus();
      return;
    }
  }

  app_.OpenProject(ChosenProject_);
  app_.OpenEditor();
  if (app_.Project().Template.empty()) app_.OpenSetupDialog();
  app_.Unload(this);
}

bool frmEnter::OpenListed(const QString& name) {
  const QString wanted = Trimmed(name.toStdString());
  for (int i = 1; i < boxWho->count(); ++i) {
    if (boxWho->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0) {
      boxWho->setCurrentIndex(i);
      Go();
      return true;
    }
  }
  return false;
}

void frmEnter::Delete() {
  const int index = boxWho->currentIndex();
  if (index <= 0) return;
  const std::string selected = boxWho->currentText().toStdString();
  bool listed = false;
  for (int n = 0; n < core::SettingsStore::kMaxProjects && !listed; ++n) {
    const std::string name = app_.Settings().GetUserValue(core::SettingsStore::ListValueName(n));
    if (name.empty()) break;
    listed = core::Trim(name) == selected;
  }
  const MessageAnswer answer = app_.Services().ShowMessage(
      this, "Just checking!",
      "Are you sure you want to delete this project?\n\n" + boxWho->currentText(),
      MessageIcon::Question, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  if (listed) app_.Settings().DeleteProject(selected);
  ChooserStart();
}

void frmEnter::closeEvent(QCloseEvent* event) {
  event->accept();
  app_.WindowClosedByUser(this);
}

}  // namespace quill::ui
