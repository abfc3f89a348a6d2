#include "ui/editor/frm_blog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
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
#include "ui/color_picker.h"
#include "ui/editor/draft_keeper.h"
#include "ui/editor/exact_text.h"
#include "ui/editor/frm_date.h"
#include "ui/editor/frm_div.h"
#include "ui/editor/frm_font.h"
#include "ui/editor/frm_fyl.h"
#include "ui/editor/frm_html.h"
#include "ui/editor/frm_img.h"
#include "ui/editor/frm_list.h"
#include "ui/editor/frm_lst.h"
#include "ui/editor/frm_url.h"
#include "ui/editor/insert_dialog.h"
#include "ui/editor/markup_highlighter.h"
#include "ui/qt_text.h"

namespace quill::ui {
namespace {

// The editor shows line breaks as the toolkit has them; entries keep them as CR LF.
std::string ToStored(const QString& text) {
  return core::ReplaceAll(text.toStdString(), "\n", "\r\n");
}
QString FromStored(const std::string& text) { return Q(core::ReplaceAll(text, "\r\n", "\n")); }

struct ToolbarLabel {
  int index;
  const char* caption;
  const char* tip;  // also the name screen readers say
  const char* keys = nullptr;
};

// The markup toolbar, left to right, with the keys that do what a click does.
constexpr ToolbarLabel kToolbar[] = {
    {14, "html", "Edit HTML Code"},
    {0, "<b>", "Bold", "Ctrl+B"},
    {1, "<u>", "Underline", "Ctrl+U"},
    {2, "<i>", "Italic", "Ctrl+I"},
    {11, "<h1>", "Headline 1", "Ctrl+1"},
    {12, "<h2>", "Headline 2", "Ctrl+2"},
    {13, "<h3>", "Headline 3", "Ctrl+3"},
    {16, "<bq>", "blockquote"},
    {8, "<ul>", "Unordered List", "Ctrl+L"},
    {9, "<ol>", "Ordered List"},
    {10, "<hr>", "Horizontal Line"},
    {7, "<br>", "Blank line"},
    {3, "<font>", "Font size and color"},
    {4, "<url>", "Insert URL", "Ctrl+K"},
    {5, "<img>", "Insert Image", "Ctrl+Shift+I"},
    {6, "<div>", "Insert Alignment"},
    {15, "file", "Insert file"},
};

// Saves the entry, in the modes that have a Save button, while the button is enabled.
constexpr const char* kSaveKeys = "Ctrl+S";

// Names for screen readers where the caption says little.
constexpr const char* kHomeLinkNames[] = {"Home page", "Blog", "Help"};

// What a typed character becomes, so that everything typed stays text.
QString Entity(QChar c) {
  switch (c.unicode()) {
    case '&':
      return QStringLiteral("&amp;");
    case '<':
      return QStringLiteral("&lt;");
    case '>':
      return QStringLiteral("&gt;");
    case '"':
      return QStringLiteral("&quot;");
    default:
      return {};
  }
}

QString Escaped(const QString& typed) {
  QString out;
  for (QChar c : typed) {
    const QString entity = Entity(c);
    out += entity.isEmpty() ? QString(c) : entity;
  }
  return out;
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
  lblDraft = new QLabel(QString::fromUtf8("\u2014 unsaved changes restored"));
  lblDraft->setObjectName("lblDraft");
  lblDraft->hide();

  auto* links = new QHBoxLayout;
  links->addStretch();
  const char* captions[] = {"h", "b", "?"};
  for (int i = 0; i < 3; ++i) {
    lblHome[i] = new QLabel(captions[i]);
    lblHome[i]->setObjectName(QString("lblHome_%1").arg(i));
    lblHome[i]->setCursor(Qt::PointingHandCursor);
    lblHome[i]->setAccessibleName(kHomeLinkNames[i]);
    lblHome[i]->installEventFilter(this);
    links->addWidget(lblHome[i]);
  }

  toolbar_ = new QWidget;
  toolbar_->setObjectName("toolbar");
  BuildToolbar();

  Rtf = new QPlainTextEdit;
  Rtf->setObjectName("Rtf");
  Rtf->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Rtf->installEventFilter(this);
  highlighter_ = new MarkupHighlighter(Rtf->document());
  drafts_ = new DraftKeeper(app_, *this, [this] { return ExactText(*Rtf); });

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
  Rtf->setAccessibleName("Entry text");
  Label1->setAccessibleDescription("Entry date");
  connect(new QShortcut(QKeySequence(kSaveKeys), this), &QShortcut::activated, this,
          [this] { SaveByKeys(); });

  auto* top = new QHBoxLayout;
  top->addWidget(Label1);
  top->addWidget(lblDraft);
  top->addLayout(links);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(toolbar_);
  layout->addWidget(Rtf, 1);
  layout->addLayout(buttons);
  // Tab walks the window as it is laid out: the text, then the buttons left to right.
  QWidget* order[] = {Rtf, cmdNav[0], cmdNav[1], cmdNav[2], cmdNav[3], cmdSetup, cmdDone};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  app_.WindowLoaded(this);
  app_.Centre(this);
  ColorMe();
  setWindowTitle("Ardentware Quillsmith : " + Q(app_.Project().ProjectName));
  SetHomeLinks();
  NewEntryStamp_ = app_.Clock().Now();
  ShowTime();
  Rtf->clear();
  if (const auto draft = drafts_->StartNewEntry()) ShowDraft(*draft);
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

void frmBlog::BuildToolbar() {
  auto* bar = new QHBoxLayout(toolbar_);
  bar->setContentsMargins(0, 0, 0, 0);
  QFont font("Verdana", 10);
  font.setBold(true);
  for (const ToolbarLabel& entry : kToolbar) {
    auto* label = new QLabel(entry.caption);
    label->setObjectName(QString("lblCode_%1").arg(entry.index));
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(entry.tip);
    QString tip = entry.tip;
    if (entry.keys != nullptr) {
      const QKeySequence keys(entry.keys);
      const QString shown = keys.toString(QKeySequence::NativeText);
      tip += " (" + shown + ")";
      label->setAccessibleDescription(shown);
      auto* shortcut = new QShortcut(keys, this);
      shortcut_keys_.push_back(keys);
      connect(shortcut, &QShortcut::activated, this,
              [this, index = entry.index] { Guarded([&] { ToolbarClick(index); }); });
    }
    label->setToolTip(tip);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    if (entry.index == 14 || entry.index == 15) label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->installEventFilter(this);
    lblCode[entry.index] = label;
    bar->addWidget(label);
  }
  bar->addStretch();
}

void frmBlog::ColorMe() {
  Paint(this, QPalette::Window, ToQColor(app_.Project().Shading));
  // "html" and "file" keep the window-text colour; the other labels take the font colour.
  const QColor font = ToQColor(app_.Project().FontColor);
  for (int i = 0; i < static_cast<int>(lblCode.size()); ++i) {
    Paint(lblCode[i], QPalette::WindowText,
          i == 14 || i == 15 ? palette().color(QPalette::WindowText) : font);
  }
}

void frmBlog::Highlight() {
  QTextCursor cursor = Rtf->textCursor();
  const int caret = cursor.selectionStart();
  highlighter_->rehighlight();
  cursor.setPosition(caret);
  Rtf->setTextCursor(cursor);
}

void frmBlog::ShowToolbar(bool visible) { toolbar_->setVisible(visible); }

QString frmBlog::SelectedText() const {
  QString text = Rtf->textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

void frmBlog::ReplaceSelection(const QString& text) {
  QTextCursor cursor = Rtf->textCursor();
  cursor.insertText(text);
  Rtf->setTextCursor(cursor);
}

void frmBlog::MoveCaretBack(int characters) {
  QTextCursor cursor = Rtf->textCursor();
  cursor.setPosition(std::max(0, cursor.position() - characters));
  Rtf->setTextCursor(cursor);
}

void frmBlog::FocusText() {
  activateWindow();
  Rtf->setFocus();
}

void frmBlog::WrapSelection(const QString& open, const QString& close) {
  ReplaceSelection(open + SelectedText() + close);
  if (app_.SelectionWasEmpty) MoveCaretBack(static_cast<int>(close.size()));
}

template <class Dialog>
Dialog* frmBlog::OpenDialog(QPointer<Dialog>& instance) {
  if (!instance || instance->Unloaded()) instance = new Dialog(app_, *this);
  instance->show();
  instance->raise();
  instance->activateWindow();
  return instance;
}

void frmBlog::ToolbarClick(int index) {
  app_.SelectionWasEmpty = !Rtf->textCursor().hasSelection();
  if (Mode_ == 1 || index < 0 || index > 16) return;
  const QString caption = lblCode[index]->text();
  switch (index) {
    case 0:
      WrapSelection("<strong>", "</strong>");
      break;
    case 16:
      WrapSelection("<blockquote>", "</blockquote>");
      break;
    case 1:
    case 2:
    case 11:
    case 12:
    case 13:
      WrapSelection(caption, "</" + caption.mid(1));
      break;
    case 7:
      ReplaceSelection(SelectedText() + "&nbsp;<br />");
      break;
    case 10:
      ReplaceSelection("<hr size=\"1\" />");
      break;
    case 4:
      OpenDialog(url_dialog_)->SetDisplayText(SelectedText());
      return;
    case 8:
    case 9:
      OpenDialog(list_dialog_)->Setup(caption);
      return;
    case 3:
      OpenDialog(font_dialog_);
      return;
    case 5:
      OpenDialog(image_dialog_);
      return;
    case 6:
      OpenDialog(align_dialog_);
      return;
    case 14:
      OpenDialog(html_dialog_);
      return;
    case 15:
      OpenDialog(file_dialog_);
      return;
  }
  Highlight();
  Rtf->setFocus();
}

void frmBlog::SaveByKeys() {
  for (QPushButton* button : cmdNav) {
    if (button->text() == "Save" && button->isEnabled()) {
      button->click();
      return;
    }
  }
}

bool frmBlog::IsToolbarShortcut(const QKeyEvent* event) const {
  const QKeySequence pressed(event->keyCombination());
  return std::find(shortcut_keys_.begin(), shortcut_keys_.end(), pressed) != shortcut_keys_.end();
}

bool frmBlog::LeavesTheText(const QKeyEvent* event) {
  // Tab types a tab in the entry, so Ctrl+Tab and Ctrl+Shift+Tab are the way out to the
  // buttons for a keyboard user.
  if ((event->modifiers() & Qt::ControlModifier) == 0) return false;
  if (event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) return false;
  focusNextPrevChild(event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier) == 0);
  return true;
}

bool frmBlog::EscapeTyped(QKeyEvent* event) {
  if (Mode_ == 1 || Rtf->isReadOnly()) return false;
  const QString typed = event->text();
  if (typed.size() != 1 || Entity(typed[0]).isEmpty()) return false;
  Rtf->textCursor().insertText(Entity(typed[0]));
  return true;
}

void frmBlog::OpenInShell(const QString& address) { app_.Services().Open(this, address); }

void frmBlog::SwitchMode(int which) {
  if (which < 0 || which > 2) return;
  drafts_->Flush();
  lblDraft->hide();
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
      Rtf->clear();
      if (const auto draft = drafts_->StartNewEntry()) ShowDraft(*draft);
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
      drafts_->Stop();
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
      ShowEditDraft();
      break;
  }
}

void frmBlog::ReadBlog() {
  drafts_->Flush();
  const store::Entry& entry = app_.Entries().CurrentEntry;
  Label1->setText(Q(site::FormatEntryStamp(app_.Project(), entry.Stamp, false)));
  Rtf->setPlainText(FromStored(core::Trim(entry.Content)));
  Highlight();
  // The text box no longer holds the new entry; in edit mode it holds this entry.
  lblDraft->hide();
  if (Mode_ == 2) {
    ShowEditDraft();
  } else {
    drafts_->Stop();
  }
}

void frmBlog::ShowDraft(const QString& text) {
  const QSignalBlocker kept_as_it_is(Rtf);  // no change to write back
  Rtf->setPlainText(text);
  Rtf->moveCursor(QTextCursor::End);
  Highlight();
}

void frmBlog::ShowEditDraft() {
  const store::Entry& entry = app_.Entries().CurrentEntry;
  const auto draft = drafts_->StartEdit(entry.Stamp, FromStored(core::Trim(entry.Content)));
  if (!draft) return;
  ShowDraft(*draft);
  lblDraft->show();
}

void frmBlog::KeepDraft() { drafts_->Flush(); }

void frmBlog::EntryMoved(const core::Stamp& from, const core::Stamp& to) {
  drafts_->Moved(from, to);
}

void frmBlog::TextChanged() {
  drafts_->Changed();
  if (Mode_ != 0) return;
  // Only spaces count as blank: an entry of line breaks alone can still be saved.
  const bool has_text = !core::Trim(ExactText(*Rtf).toStdString()).empty();
  SetButton(cmdNav[1], has_text ? "Save" : "", has_text);
}

void frmBlog::Guarded(const std::function<void()>& action) {
  RunGuarded(app_.Services(), this, action);
}

void frmBlog::NavClicked(int index) {
  Guarded([&] {
    switch (Mode_ * 4 + index) {
      case 0:
        Review();
        break;
      case 1:
        SaveNewEntry();
        break;
      case 2:
        Output();
        break;
      case 3:
        Synch();
        break;
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
      case 8:
        SaveEdit();
        break;
      case 10:
        OpenDateDialog();
        break;
      default:
        break;
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
  entries.CurrentEntry = {NewEntryStamp_, ToStored(ExactText(*Rtf))};
  entries.SaveEntry();
  drafts_->Discard();
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
      this, "Cool!", "Blog Content has been Produced\n\nYou want to see it?", MessageIcon::Question,
      MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) {
    OpenInShell(Q(project.OutputFolder + site::PageName(project, 0, 0)));
  }
}

void frmBlog::Synch() {
  const publish::Command command =
      publish::UploaderCommand(app_.UploaderPath().toStdString(), app_.Project().ProjectName);
  const publish::LaunchResult result =
      app_.Services().RunAndWait(command.program, command.arguments);
  if (!result.started) {
    app_.Services().Oops(
        this, "The uploader " + Q(command.program) + " could not be started: " + Q(result.error));
  }
  // The uploader writes the upload stamps into the project's settings.
  app_.Settings().LoadSettings(false);
}

void frmBlog::SaveEdit() {
  store::EntryStore& entries = app_.Entries();
  entries.CurrentEntry.Content = core::Trim(ToStored(ExactText(*Rtf)));
  entries.SaveEntry();
  drafts_->Discard();
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
  drafts_->Discard();
  if (entries.NoEntry()) {
    SwitchMode(0);
  } else {
    ReadBlog();
  }
}

void frmBlog::OpenDateDialog() {
  const auto shown = site::ParseEntryStamp(app_.Project(), Label1->text().toStdString());
  OpenDialog(date_dialog_)->SetDay(shown.value_or(app_.Entries().CurrentEntry.Stamp));
}

void frmBlog::OpenEntryList() {
  if (!list_window_ || list_window_->Unloaded()) {
    auto* list = new frmList(app_, *this);
    if (!list->Load()) return;  // nothing to list; it said so and went
    list_window_ = list;
  }
  list_window_->show();
  list_window_->raise();
  list_window_->activateWindow();
}

void frmBlog::DoneClicked() {
  Guarded([&] {
    switch (Mode_) {
      case 0:
        app_.CloseAllWindows(true);
        return;  // this window is gone after this
      case 1:
        SwitchMode(0);
        break;
      case 2:
        drafts_->Discard();
        SwitchMode(1);
        break;  // nothing saved; the edited text stays until the next move
    }
    UpdatePublishButtons();
  });
}

void frmBlog::SetupClicked() {
  Guarded([&] {
    switch (Mode_) {
      case 0:
        app_.OpenSetupDialog();
        break;
      case 1:
        OpenEntryList();
        break;
      case 2:
        DeleteEntry();
        break;
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
  if (watched == Rtf) {
    if (event->type() == QEvent::FocusIn && Mode_ == 1) {
      cmdDone->setFocus();  // the caret never rests in read-only text
      return false;
    }
    if (event->type() == QEvent::ShortcutOverride &&
        IsToolbarShortcut(static_cast<QKeyEvent*>(event))) {
      // The text box would keep some of these keys for itself (Ctrl+K deletes to the line's
      // end on some desktops); the toolbar's meaning wins.
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress && LeavesTheText(static_cast<QKeyEvent*>(event))) {
      return true;
    }
    if (event->type() == QEvent::KeyPress && EscapeTyped(static_cast<QKeyEvent*>(event))) {
      return true;
    }
    if (event->type() == QEvent::InputMethod && Mode_ != 1 && !Rtf->isReadOnly()) {
      // Characters composed by an input method (dead keys and the like) are typed too.
      auto* input = static_cast<QInputMethodEvent*>(event);
      const QString commit = input->commitString();
      if (input->preeditString().isEmpty() && Escaped(commit) != commit) {
        Rtf->textCursor().insertText(Escaped(commit));
        return true;
      }
    }
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    for (QLabel* link : lblHome) {
      if (watched == link) {
        OpenInShell(link->toolTip());
        return true;
      }
    }
    for (int i = 0; i < static_cast<int>(lblCode.size()); ++i) {
      if (watched == lblCode[i]) {
        Guarded([&] { ToolbarClick(i); });
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void frmBlog::closeEvent(QCloseEvent* event) {
  event->accept();
  // The dialogs beside the main window work on it, so they all go with it, and so does the
  // program.
  app_.CloseAllWindows(false);
}

}  // namespace quill::ui
