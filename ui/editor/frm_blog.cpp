#include "ui/editor/frm_blog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/clock.h"
#include "core/product.h"
#include "core/quill_error.h"
#include "core/text.h"
#include "publish/publish_rules.h"
#include "site/blog_pages.h"
#include "site/color.h"
#include "site/rss_feed.h"
#include "site/site_output.h"
#include "site/stamp_format.h"
#include "ui/app.h"

namespace quill::ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The editor shows line breaks as the toolkit has them; entries keep them as CR LF.
std::string ToStored(const QString& text) {
  return core::ReplaceAll(text.toStdString(), "\n", "\r\n");
}
QString FromStored(const std::string& text) { return Q(core::ReplaceAll(text, "\r\n", "\n")); }

QColor ToQColor(std::int32_t color) {
  const std::uint32_t bgr = site::ResolveColor(color);
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

frmBlog::frmBlog(App& app) : app_(app) {
  setObjectName("frmBlog");
  resize(820, 600);

  Label1 = new QLabel;
  Label1->setObjectName("Label1");
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);

  auto* links = new QHBoxLayout;
  links->addStretch();
  const char* captions[] = {"h", "b", "?"};
  for (int i = 0; i < 3; ++i) {
    lblHome[i] = new QLabel(captions[i]);
    lblHome[i]->setObjectName(QString("lblHome_%1").arg(i));
    lblHome[i]->setCursor(Qt::PointingHandCursor);
    lblHome[i]->installEventFilter(this);
    links->addWidget(lblHome[i]);
  }

  toolbar_ = new QWidget;
  toolbar_->setObjectName("toolbar");

  Rtf = new QPlainTextEdit;
  Rtf->setObjectName("Rtf");
  Rtf->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Rtf->installEventFilter(this);

  const char* nav[] = {"Review", "Save", "Output", "Synch"};
  auto* buttons = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) {
    cmdNav[i] = new QPushButton(nav[i]);
    cmdNav[i]->setObjectName(QString("cmdNav_%1").arg(i));
    buttons->addWidget(cmdNav[i]);
    connect(cmdNav[i], &QPushButton::clicked, this, [this, i] { NavClicked(i); });
  }
  buttons->addStretch();
  cmdSetup = new QPushButton("Setup");
  cmdSetup->setObjectName("cmdSetup");
  cmdDone = new QPushButton("Egress");
  cmdDone->setObjectName("cmdDone");
  cmdDone->setToolTip("Close the current Blog project");
  buttons->addWidget(cmdSetup);
  buttons->addWidget(cmdDone);
  connect(cmdSetup, &QPushButton::clicked, this, [this] { SetupClicked(); });
  connect(cmdDone, &QPushButton::clicked, this, [this] { DoneClicked(); });
  connect(Rtf, &QPlainTextEdit::textChanged, this, [this] { TextChanged(); });

  auto* top = new QHBoxLayout;
  top->addWidget(Label1);
  top->addLayout(links);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(toolbar_);
  layout->addWidget(Rtf, 1);
  layout->addLayout(buttons);

  app_.WindowLoaded(this);
  app_.Centre(this);
  ColorMe();
  setWindowTitle("Ardentware Quillsmith : " + Q(app_.Project().ProjectName));
  SetHomeLinks();
  NewEntryStamp_ = app_.Clock().Now();
  ShowTime();
  Rtf->clear();
  TextChanged();
  QCoreApplication::processEvents();
  UpdatePublishButtons();
}

void frmBlog::SetHomeLinks() {
  const core::ProjectSettings& project = app_.Project();
  lblHome[0]->setVisible(!project.Site.empty());
  lblHome[0]->setToolTip(Q(project.Site));
  const std::string& blog = project.Docs.empty() ? project.Site : project.Docs;
  lblHome[1]->setVisible(!blog.empty());
  lblHome[1]->setToolTip(Q(blog));
  lblHome[2]->setToolTip(Q(std::string(core::kHomePage) + "help/"));
}

void frmBlog::SetButton(QPushButton* button, const QString& caption, bool enabled) {
  button->setText(caption);
  button->setEnabled(enabled);
}

void frmBlog::ShowTime() {
  Label1->setText(Q(site::FormatEntryStamp(app_.Project(), NewEntryStamp_, false)));
}

void frmBlog::ColorMe() {
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(app_.Project().Shading));
  setPalette(colours);
  setAutoFillBackground(true);
}

void frmBlog::Highlight() {}

void frmBlog::ShowToolbar(bool visible) { toolbar_->setVisible(visible); }

void frmBlog::OpenInShell(const QString& address) { app_.Services().OpenInShell(address); }

void frmBlog::SwitchMode(int which) {
  if (which < 0 || which > 2) return;
  Mode_ = which;
  const QString project = Q(app_.Project().ProjectName);
  switch (which) {
    case 0:
      ShowToolbar(true);
      setWindowTitle("Ardentware Quillsmith : " + project);
      cmdNav[0]->setText("Review");
      cmdNav[2]->setText("");
      cmdDone->setText("Egress");
      NewEntryStamp_ = app_.Clock().Now();
      ShowTime();
      Rtf->clear();  // unsaved text goes
      TextChanged();
      cmdSetup->setText("Setup");
      Rtf->setReadOnly(false);
      QCoreApplication::processEvents();
      UpdatePublishButtons();
      break;
    case 1:
      ShowToolbar(false);
      Label1->setText(
          Q(site::FormatEntryStamp(app_.Project(), app_.Entries().CurrentEntry.Stamp, false)));
      setWindowTitle("Ardentware Quillsmith - Review : " + project);
      SetButton(cmdNav[0], "Previous", true);
      SetButton(cmdNav[1], "Edit", true);
      SetButton(cmdNav[2], "Next", true);
      cmdDone->setText("Blog");
      cmdSetup->setText("List");
      Rtf->setReadOnly(true);
      SetButton(cmdNav[3], "", false);
      break;
    case 2:
      ShowToolbar(true);
      Label1->setText(Q(site::FormatLongStamp(app_.Project(), app_.Entries().CurrentEntry.Stamp)));
      setWindowTitle("Ardentware Quillsmith - Edit : " + project);
      SetButton(cmdNav[0], "Save", true);
      SetButton(cmdNav[1], "", false);
      SetButton(cmdNav[2], "Date", true);
      cmdDone->setText("Cancel");
      cmdSetup->setText("Delete");
      Rtf->setReadOnly(false);
      SetButton(cmdNav[3], "", false);
      break;
  }
}

void frmBlog::ReadBlog() {
  const store::Entry& entry = app_.Entries().CurrentEntry;
  Label1->setText(Q(site::FormatEntryStamp(app_.Project(), entry.Stamp, false)));
  Rtf->setPlainText(FromStored(core::Trim(entry.Content)));
  Highlight();
}

void frmBlog::TextChanged() {
  if (Mode_ != 0) return;
  // Only spaces count as blank: an entry of line breaks alone can still be saved.
  const bool has_text = !core::Trim(Rtf->toPlainText().toStdString()).empty();
  SetButton(cmdNav[1], has_text ? "Save" : "", has_text);
}

void frmBlog::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    app_.Services().Oops(this, QString::fromStdString(error.what()));
  }
}

void frmBlog::NavClicked(int index) {
  Guarded([&] {
    switch (Mode_ * 4 + index) {
      case 0: Review(); break;
      case 1: SaveNewEntry(); break;
      case 2: Output(); break;
      case 3: Synch(); break;
      case 4:  // Previous: stay on the oldest at the end
        app_.Entries().MovePreviousEntry();
        if (app_.Entries().NoEntry()) app_.Entries().MoveFirstEntry();
        ReadBlog();
        break;
      case 5:  // Edit
        SwitchMode(2);
        Rtf->setFocus();
        break;
      case 6:  // Next: stay on the newest at the end
        app_.Entries().MoveNextEntry();
        if (app_.Entries().NoEntry()) app_.Entries().MoveLastEntry();
        ReadBlog();
        break;
      case 8: SaveEdit(); break;
      case 10: {
        const auto stamp = site::ParseEntryStamp(app_.Project(), Label1->text().toStdString());
        const core::Stamp day = stamp.value_or(app_.Entries().CurrentEntry.Stamp);
        app_.OpenDateDialog({day.year, day.month, day.day, 0, 0, 0});
        break;
      }
      default: break;
    }
  });
  Guarded([&] { UpdatePublishButtons(); });
}

void frmBlog::Review() {
  SwitchMode(1);
  app_.Entries().MoveLastEntry();
  if (app_.Entries().NoEntry()) {
    SwitchMode(0);
  } else {
    ReadBlog();
  }
}

void frmBlog::SaveNewEntry() {
  store::EntryStore& entries = app_.Entries();
  entries.CurrentEntry = {NewEntryStamp_, ToStored(Rtf->toPlainText())};
  entries.SaveEntry();
  app_.Settings().StampSave();
  NewEntryStamp_ = app_.Clock().Now();
  ShowTime();
  Rtf->clear();
}

void frmBlog::Output() {
  const core::ProjectSettings& project = app_.Project();
  site::DiskOutput output(project.OutputFolder);
  site::BuildBlogPages(project, app_.Entries(), output);
  if (project.IncludeRSS == 1) {
    site::WriteRssFeed(project, app_.Entries(), app_.Clock(), output);
  }
  app_.Settings().StampOutput();
  const MessageAnswer answer = app_.Services().ShowMessage(
      this, "Cool!", "Blog Content has been Produced\n\nYou want to see it?",
      MessageIcon::Question, MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) {
    OpenInShell(Q(project.OutputFolder + site::PageName(project, 0, 0)));
  }
}

void frmBlog::Synch() {
  const publish::Command command = publish::UploaderCommand(
      app_.UploaderPath().toStdString(), app_.Project().ProjectName);
  const publish::LaunchResult result =
      app_.Services().RunAndWait(command.program, command.arguments);
  if (!result.started) {
    app_.Services().Oops(this, "The uploader " + Q(command.program) +
                                   " could not be started: " + Q(result.error));
  }
  // The uploader writes the upload stamps into the project's settings.
  app_.Settings().LoadSettings(false);
}

void frmBlog::SaveEdit() {
  store::EntryStore& entries = app_.Entries();
  entries.CurrentEntry.Content = core::Trim(ToStored(Rtf->toPlainText()));
  entries.SaveEntry();
  app_.Settings().StampSave();
  SwitchMode(0);
}

void frmBlog::DeleteEntry() {
  const MessageAnswer answer = app_.Services().ShowMessage(
      this, "Delete", "Do you want to delete this entry?\n\n" + Label1->text(),
      MessageIcon::Question, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  // The entry under review is deleted by its own stamp, which the label may show without
  // its seconds.
  store::EntryStore& entries = app_.Entries();
  entries.DeleteEntry(entries.CurrentEntry.Stamp);
  if (entries.NoEntry()) {
    SwitchMode(0);
  } else {
    ReadBlog();
  }
}

void frmBlog::DoneClicked() {
  Guarded([&] {
    switch (Mode_) {
      case 0: app_.CloseAllWindows(true); return;  // this window is gone after this
      case 1: SwitchMode(0); break;
      case 2: SwitchMode(1); break;  // nothing saved; the edited text stays until the next move
    }
    UpdatePublishButtons();
  });
}

void frmBlog::SetupClicked() {
  Guarded([&] {
    switch (Mode_) {
      case 0: app_.OpenSetupDialog(); break;
      case 1: app_.OpenEntryList(); break;
      case 2: DeleteEntry(); break;
    }
  });
}

void frmBlog::UpdatePublishButtons() {
  if (Mode_ != 0) return;
  const core::ProjectSettings& project = app_.Project();
  const bool output = publish::IsOutputStale(project);
  SetButton(cmdNav[2], output ? "Output" : "", output);
  const bool synch = publish::IsSynchOffered(project, app_.UploaderPresent());
  SetButton(cmdNav[3], synch ? "Synch" : "", synch);
}

bool frmBlog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Rtf && event->type() == QEvent::FocusIn && Mode_ == 1) {
    cmdDone->setFocus();  // the caret never rests in read-only text
    return false;
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    for (QLabel* link : lblHome) {
      if (watched == link) {
        OpenInShell(link->toolTip());
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void frmBlog::closeEvent(QCloseEvent* event) {
  event->accept();
  app_.WindowClosedByUser(this);
}

}  // namespace quill::ui
