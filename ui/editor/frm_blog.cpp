#include "ui/editor/frm_blog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/clock.h"
#include "core/text.h"
#include "publish/publish_rules.h"
#include "site/stamp_format.h"
#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/editor/draft_keeper.h"
#include "ui/editor/entry_keys.h"
#include "ui/editor/entry_spelling.h"
#include "ui/editor/entry_text_box.h"
#include "ui/editor/exact_text.h"
#include "ui/editor/find_bar.h"
#include "ui/editor/frm_date.h"
#include "ui/editor/frm_list.h"
#include "ui/editor/home_links.h"
#include "ui/editor/markup_highlighter.h"
#include "ui/editor/markup_toolbar.h"
#include "ui/editor/output_watch.h"
#include "ui/editor/single_window.h"
#include "ui/editor/site_publisher.h"
#include "ui/editor/waiting_note.h"
#include "ui/editor/word_count.h"
#include "ui/qt_text.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

// Saves the entry, in the modes that have a Save button, while the button is enabled.
constexpr const char* kSaveKeys = "Ctrl+S";

}  // namespace

frmBlog::frmBlog(App& app) : app_(app) {
  setObjectName("frmBlog");
  resize(820, 600);

  toolbar_ = new MarkupToolbar(app_, *this);
  Rtf = new EntryTextBox([this](const ArrivingPicture& picture) { toolbar_->OpenImage(picture); });
  Rtf->setObjectName("Rtf");
  Rtf->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Rtf->setAccessibleName("Entry text");
  Rtf->installEventFilter(this);
  new EntryKeys(
      *Rtf, [this](const QKeyEvent* event) { return toolbar_->HasKeys(event); },
      [this](bool forward) { focusNextPrevChild(forward); });
  highlighter_ = new MarkupHighlighter(Rtf->document());
  spelling_ = new EntrySpelling(app_, *Rtf, *highlighter_);
  drafts_ = new DraftKeeper(app_, *this, [this] { return ExactText(*Rtf); });
  connect(Rtf, &QPlainTextEdit::textChanged, this, [this] { TextChanged(); });
  connect(new QShortcut(QKeySequence(kSaveKeys), this), &QShortcut::activated, this,
          [this] { SaveByKeys(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildTop());
  layout->addWidget(toolbar_);
  layout->addWidget(Rtf, 1);
  layout->addLayout(BuildButtons());
  find_bar_ = new FindBar(*Rtf, *this);
  layout->addWidget(find_bar_);
  publisher_ = new SitePublisher(app_, *this);
  layout->addWidget(publisher_->Bar());
  TabInReadingOrder(*this);
  new OutputWatch(*this, [this] { Guarded([&] { UpdatePublishButtons(); }); });

  app_.WindowLoaded(this);
  app_.Centre(this);
  ColorMe();
  SetHomeLinks();
  SwitchMode(ui::Mode::NewEntry);
}

QLayout* frmBlog::BuildTop() {
  Label1 = new QLabel;
  Label1->setObjectName("Label1");
  Label1->setAccessibleDescription("Entry date");
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  draft_note_ = new QLabel(QString::fromUtf8("\u2014 unsaved changes restored"));
  draft_note_->setObjectName("lblDraft");
  draft_note_->hide();
  waiting_ = new WaitingNote;

  auto* links = new QHBoxLayout;
  home_links_ =
      new HomeLinks(this, *links, [this](const QString& address) { OpenInShell(address); });
  auto* top = new QHBoxLayout;
  top->addWidget(Label1);
  top->addWidget(waiting_);
  top->addWidget(draft_note_);
  top->addWidget(new WordCount(*Rtf));
  top->addLayout(links);
  return top;
}

QLayout* frmBlog::BuildButtons() {
  auto* buttons = new QHBoxLayout;
  const ModeLayout& start = LayoutOf(ui::Mode::NewEntry);
  for (int i = 0; i < 4; ++i) {
    cmdNav[i] = new QPushButton(start.nav[i].caption);
    cmdNav[i]->setObjectName(QString("cmdNav_%1").arg(i));
    buttons->addWidget(cmdNav[i]);
    connect(cmdNav[i], &QPushButton::clicked, this, [this, i] { NavClicked(i); });
  }
  buttons->addStretch();
  cmdSetup = new QPushButton(start.setup.caption);
  cmdSetup->setObjectName("cmdSetup");
  cmdDone = new QPushButton(start.done.caption);
  cmdDone->setObjectName("cmdDone");
  cmdDone->setToolTip("Close the current Blog project");
  buttons->addWidget(cmdSetup);
  buttons->addWidget(cmdDone);
  connect(cmdSetup, &QPushButton::clicked, this,
          [this] { Guarded([&] { Run(LayoutOf(Mode_).setup); }); });
  connect(cmdDone, &QPushButton::clicked, this,
          [this] { Guarded([&] { Run(LayoutOf(Mode_).done); }); });
  return buttons;
}

void frmBlog::SetHomeLinks() { home_links_->Show(app_.Project()); }
void frmBlog::SetButton(QPushButton* button, const QString& caption, bool enabled) {
  button->setText(caption);
  button->setEnabled(enabled);
}

void frmBlog::ShowTime() {
  Label1->setText(Q(site::FormatEntryStamp(app_.Project(), NewEntryStamp_, false)));
}

void frmBlog::ColorMe() {
  Paint(this, QPalette::Window, ToQColor(app_.Project().Shading));
  toolbar_->PaintLabels(ToQColor(app_.Project().FontColor), palette().color(QPalette::WindowText));
}

void frmBlog::Highlight() {
  QTextCursor cursor = Rtf->textCursor();
  const int caret = cursor.selectionStart();
  highlighter_->rehighlight();
  cursor.setPosition(caret);
  Rtf->setTextCursor(cursor);
}

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

std::pair<bool, bool> frmBlog::TextBesideSelection() const {
  const QTextCursor selection = Rtf->textCursor();
  QTextCursor start = selection;
  QTextCursor end = selection;
  start.setPosition(selection.selectionStart());
  end.setPosition(selection.selectionEnd());
  return {!start.atBlockStart(), !end.atBlockEnd()};
}

void frmBlog::FocusText() {
  activateWindow();
  Rtf->setFocus();
}

void frmBlog::ToolbarClick(int index) {
  app_.SelectionWasEmpty = !Rtf->textCursor().hasSelection();
  if (Mode_ == ui::Mode::Review || index < 0 || index > 16) return;
  if (!toolbar_->Act(index)) return;  // a dialog took over
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

void frmBlog::OpenInShell(const QString& address) { app_.Services().Open(this, address); }

void frmBlog::SwitchMode(int which) {
  if (which >= 0 && which <= 2) SwitchMode(static_cast<ui::Mode>(which));
}

void frmBlog::SwitchMode(ui::Mode which) {
  drafts_->Flush();
  draft_note_->hide();
  waiting_->hide();
  Mode_ = which;
  const ModeLayout& layout = LayoutOf(which);
  toolbar_->setVisible(layout.editable);
  setWindowTitle(layout.title + Q(app_.Project().ProjectName));
  for (std::size_t i = 0; i < cmdNav.size(); ++i) ShowRole(cmdNav[i], layout.nav[i]);
  ShowRole(cmdDone, layout.done);
  ShowRole(cmdSetup, layout.setup);
  Rtf->setReadOnly(!layout.editable);
  // Read-only text is no stop for Tab, which would only bounce back to Blog.
  Rtf->setFocusPolicy(layout.editable ? Qt::StrongFocus : Qt::ClickFocus);
  (this->*layout.enter)();
  FollowSpelling();
}

void frmBlog::FollowSpelling() { spelling_->Follow(LayoutOf(Mode_).editable); }

void frmBlog::ShowRole(QPushButton* button, const ButtonRole& role) {
  const bool shown = role.offer == Offer::Always && *role.caption != '\0';
  SetButton(button, shown ? role.caption : "", shown);
}

void frmBlog::StartNewEntry() {
  NewEntryStamp_ = app_.Clock().Now();
  ShowTime();
  Rtf->clear();
  if (const auto draft = drafts_->StartNewEntry()) ShowDraft(*draft);
  Rtf->setFocus();  // where writing starts, whatever Tab would reach first
  TextChanged();
  QCoreApplication::processEvents();
  UpdatePublishButtons();
}

void frmBlog::StartReview() {
  ShowEntryDate(false);
  drafts_->Stop();
}

void frmBlog::StartEdit() {
  ShowEntryDate(true);
  ShowEditDraft();
}

void frmBlog::ShowEntryDate(bool long_form) {
  const core::Stamp& stamp = app_.Entries().CurrentEntry.Stamp;
  Label1->setText(Q(long_form ? site::FormatLongStamp(app_.Project(), stamp)
                              : site::FormatEntryStamp(app_.Project(), stamp, false)));
  waiting_->Show(app_.Project(), stamp, app_.Clock().Now(), long_form);
}

void frmBlog::ReadBlog() {
  drafts_->Flush();
  const store::Entry& entry = app_.Entries().CurrentEntry;
  ShowEntryDate(false);
  Rtf->setPlainText(FromStored(core::Trim(entry.Content)));
  Highlight();
  // The text box no longer holds the new entry; in edit mode it holds this entry.
  draft_note_->hide();
  if (Mode_ == ui::Mode::Edit) {
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
  draft_note_->show();
}

void frmBlog::KeepDraft() { drafts_->Flush(); }

void frmBlog::EntryMoved(const core::Stamp& from, const core::Stamp& to) {
  drafts_->Moved(from, to);
}

void frmBlog::TextChanged() {
  drafts_->Changed();
  // Only spaces count as blank: an entry of line breaks alone can still be saved.
  OfferButtons(Offer::WhileTextIsThere,
               [this] { return !core::Trim(ExactText(*Rtf).toStdString()).empty(); });
}

void frmBlog::OfferButtons(Offer when, const std::function<bool()>& offered) {
  const ModeLayout& layout = LayoutOf(Mode_);
  for (std::size_t i = 0; i < cmdNav.size(); ++i) {
    if (layout.nav[i].offer != when) continue;
    const bool shown = offered();
    SetButton(cmdNav[i], shown ? layout.nav[i].caption : "", shown);
  }
}

void frmBlog::Guarded(const std::function<void()>& action) {
  RunGuarded(app_.Services(), this, action);
}

void frmBlog::Run(const ButtonRole& role) {
  if (role.click != nullptr) (this->*role.click)();
}

void frmBlog::NavClicked(int index) {
  Guarded([&] { Run(LayoutOf(Mode_).nav[index]); });
  Guarded([&] { UpdatePublishButtons(); });
}

void frmBlog::Review() {
  SwitchMode(ui::Mode::Review);
  app_.Entries().MoveLastEntry();
  if (app_.Entries().NoEntry()) {
    SwitchMode(ui::Mode::NewEntry);
  } else {
    ReadBlog();
  }
}

void frmBlog::Previous() {
  app_.Entries().MovePreviousEntry();
  if (app_.Entries().NoEntry()) app_.Entries().MoveFirstEntry();  // stay on the oldest
  ReadBlog();
}

void frmBlog::Edit() {
  SwitchMode(ui::Mode::Edit);
  Rtf->setFocus();
}

void frmBlog::Next() {
  app_.Entries().MoveNextEntry();
  if (app_.Entries().NoEntry()) app_.Entries().MoveLastEntry();  // stay on the newest
  ReadBlog();
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

void frmBlog::Output() { publisher_->Output(); }

void frmBlog::Synch() { publisher_->Synch(); }

void frmBlog::SaveEdit() {
  store::EntryStore& entries = app_.Entries();
  entries.CurrentEntry.Content = core::Trim(ToStored(ExactText(*Rtf)));
  entries.SaveEntry();
  drafts_->Discard();
  app_.Settings().StampSave();
  SwitchMode(ui::Mode::NewEntry);
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
    SwitchMode(ui::Mode::NewEntry);
  } else {
    ReadBlog();
  }
}

void frmBlog::OpenDateDialog() {
  const auto shown = site::ParseEntryStamp(app_.Project(), Label1->text().toStdString());
  BringForward(date_dialog_, app_, *this)
      ->SetDay(shown.value_or(app_.Entries().CurrentEntry.Stamp));
}

void frmBlog::OpenEntryList() {
  if (!list_window_ || list_window_->Unloaded()) {
    auto* list = new frmList(app_, *this);
    if (!list->Load()) return;  // nothing to list; it said so and went
    list_window_ = list;
  }
  BringToFront(list_window_);
}

void frmBlog::Egress() {
  app_.CloseAllWindows(true);  // back to the chooser; this window is gone after this
}

void frmBlog::BackToNewEntry() { SwitchMode(ui::Mode::NewEntry); }

void frmBlog::CancelEdit() {
  drafts_->Discard();
  SwitchMode(ui::Mode::Review);  // nothing saved; the edited text stays until the next move
}

void frmBlog::OpenSetup() { app_.OpenSetupDialog(); }

void frmBlog::UpdatePublishButtons() {
  const core::ProjectSettings& project = app_.Project();
  OfferButtons(Offer::WhileOutputIsDue, [&] { return app_.Session().OutputStale(); });
  OfferButtons(Offer::WhileSynchIsDue,
               [&] { return publish::IsSynchOffered(project, app_.UploaderPresent()); });
}

bool frmBlog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Rtf && event->type() == QEvent::FocusIn && Mode_ == ui::Mode::Review) {
    cmdDone->setFocus();  // the caret never rests in read-only text
    return false;
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
