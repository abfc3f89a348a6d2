#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <utility>

#include "core/stamp.h"
#include "ui/editor/blog_modes.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quill::ui {

class App;
class DraftKeeper;
class EntrySpelling;
class FindBar;
class HomeLinks;
class MarkupHighlighter;
class MarkupToolbar;
class SitePublisher;
class WaitingNote;
class frmDate;
class frmList;

// The main window: write new entries, review and edit stored ones, generate the site and
// upload it. What each mode shows and what its buttons do is in the tables of blog_modes.cpp.
class frmBlog final : public QWidget {
  Q_OBJECT

 public:
  explicit frmBlog(App& app);

  // 0 new entry, 1 review, 2 edit.
  int Mode() const { return static_cast<int>(Mode_); }
  const core::Stamp& NewEntryStamp() const { return NewEntryStamp_; }

  // Enters mode 0, 1 or 2; any other value does nothing.
  void SwitchMode(int which);
  void SwitchMode(ui::Mode which);
  // Shows the entry under the cursor: its stamp in the date label, its text in the editor.
  void ReadBlog();
  // Shows the new entry's stamp in the project's current date and time formats.
  void ShowTime();
  // Paints the window in the project's shading colour.
  void ColorMe();
  // Colours the inside of every tag red and leaves the caret at the start of the
  // selection, with nothing selected.
  void Highlight();
  // Opens an address or a file with the desktop's default handler; says so when it cannot.
  void OpenInShell(const QString& address);
  // Checks the spelling in the project's language as it stands now.
  void FollowSpelling();
  // Shows the links to the user's site and blog as far as the project names them.
  void SetHomeLinks();
  // Offers Output and Synch as the project's stamps say they are due.
  void UpdatePublishButtons();

  // A click on toolbar label `index` (0 to 16).
  void ToolbarClick(int index);

  // What the insertion dialogs do to the editing area.
  QString SelectedText() const;
  // Puts `text` in place of the selection; the caret ends after it.
  void ReplaceSelection(const QString& text);
  void MoveCaretBack(int characters);
  // Whether other text shares the selection's first line before it, and its last line after.
  std::pair<bool, bool> TextBesideSelection() const;
  void FocusText();

  // Writes the unsaved text to its draft now, before the window goes or shows other text.
  void KeepDraft();
  // The entry under edit was re-dated: its draft goes along.
  void EntryMoved(const core::Stamp& from, const core::Stamp& to);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What each mode shows and what its buttons do.
  static const ModeLayout& LayoutOf(ui::Mode mode);

  QLayout* BuildTop();
  QLayout* BuildButtons();
  // A click on a button: its action in the current mode.
  void Run(const ButtonRole& role);
  void NavClicked(int index);
  // Shows a button as its role has it; a button offered on a condition stays blank until the
  // condition is checked.
  static void ShowRole(QPushButton* button, const ButtonRole& role);
  // Shows or blanks the current mode's buttons offered `when`.
  void OfferButtons(Offer when, const std::function<bool()>& offered);

  // The buttons' actions.
  void Review();
  void SaveNewEntry();
  void Output();
  void Synch();
  void Previous();
  void Edit();
  void Next();
  void SaveEdit();
  void OpenDateDialog();
  void Egress();
  void BackToNewEntry();
  void CancelEdit();
  void OpenSetup();
  void OpenEntryList();
  void DeleteEntry();

  // Entering each mode.
  void StartNewEntry();
  void StartReview();
  void StartEdit();

  void TextChanged();
  // Shows the text, caret at its end.
  void ShowDraft(const QString& text);
  void ShowEditDraft();
  // Shows the stamp of the entry under the cursor in the date label (the long form in edit
  // mode), and whether it waits for its time.
  void ShowEntryDate(bool long_form);
  // Ctrl+S: clicks the Save button where there is one and it is enabled.
  void SaveByKeys();
  // Sets a button's caption and whether it can be clicked.
  static void SetButton(QPushButton* button, const QString& caption, bool enabled);
  // Runs a button's action; a failure of the database or a file is shown, and the window
  // goes on.
  void Guarded(const std::function<void()>& action);

  App& app_;
  ui::Mode Mode_ = ui::Mode::NewEntry;
  core::Stamp NewEntryStamp_;
  std::array<QPushButton*, 4> cmdNav{};
  QPushButton* cmdSetup;
  QPushButton* cmdDone;
  QPlainTextEdit* Rtf;
  QLabel* Label1;
  QLabel* draft_note_;
  WaitingNote* waiting_;
  DraftKeeper* drafts_;
  HomeLinks* home_links_;
  MarkupToolbar* toolbar_;
  MarkupHighlighter* highlighter_;
  EntrySpelling* spelling_;
  FindBar* find_bar_;
  SitePublisher* publisher_;
  QPointer<frmDate> date_dialog_;
  QPointer<frmList> list_window_;
};

}  // namespace quill::ui
