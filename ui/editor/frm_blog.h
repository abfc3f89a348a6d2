#pragma once

#include <QKeySequence>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "core/stamp.h"

class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quill::ui {

class App;
class DraftKeeper;
class MarkupHighlighter;
class frmDate;
class frmDiv;
class frmFYL;
class frmFont;
class frmHtml;
class frmIMG;
class frmList;
class frmLst;
class frmURL;

// The main window: write new entries, review and edit stored ones, generate the site and
// upload it. Mode 0 composes a new entry, mode 1 reviews the stored entries, mode 2 edits
// the one under review.
class frmBlog final : public QWidget {
  Q_OBJECT

 public:
  explicit frmBlog(App& app);

  int Mode() const { return Mode_; }
  const core::Stamp& NewEntryStamp() const { return NewEntryStamp_; }

  // Enters mode 0, 1 or 2; any other value does nothing.
  void SwitchMode(int which);
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
  // Shows the links to the user's site and blog as far as the project names them.
  void SetHomeLinks();

  // A click on toolbar label `index` (0 to 16).
  void ToolbarClick(int index);

  // What the insertion dialogs do to the editing area.
  QString SelectedText() const;
  // Puts `text` in place of the selection; the caret ends after it.
  void ReplaceSelection(const QString& text);
  void MoveCaretBack(int characters);
  void FocusText();

  // Writes the unsaved text to its draft now, before the window goes or shows other text.
  void KeepDraft();
  // The entry under edit was re-dated: its draft goes along.
  void EntryMoved(const core::Stamp& from, const core::Stamp& to);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void NavClicked(int index);
  void DoneClicked();
  void SetupClicked();
  void Review();
  void SaveNewEntry();
  void Output();
  void Synch();
  void SaveEdit();
  void DeleteEntry();
  void OpenDateDialog();
  void OpenEntryList();
  void TextChanged();
  // Shows the text, caret at its end.
  void ShowDraft(const QString& text);
  void ShowEditDraft();
  void UpdatePublishButtons();
  void ShowToolbar(bool visible);
  void BuildToolbar();
  void WrapSelection(const QString& open, const QString& close);
  // Loads the dialog's one instance if it is not loaded yet, and brings it forward.
  template <class Dialog>
  Dialog* OpenDialog(QPointer<Dialog>& instance);
  // Types an entity in place of the character that stands for it.
  bool EscapeTyped(QKeyEvent* event);
  // Ctrl+S: clicks the Save button where there is one and it is enabled.
  void SaveByKeys();
  bool IsToolbarShortcut(const QKeyEvent* event) const;
  // Ctrl+Tab and Ctrl+Shift+Tab move the focus out of the entry; true when they did.
  bool LeavesTheText(const QKeyEvent* event);
  // Sets a button's caption and whether it can be clicked.
  static void SetButton(QPushButton* button, const QString& caption, bool enabled);
  // Runs a button's action; a failure of the database or a file is shown, and the window
  // goes on.
  void Guarded(const std::function<void()>& action);

  App& app_;
  int Mode_ = 0;
  core::Stamp NewEntryStamp_;
  std::array<QPushButton*, 4> cmdNav{};
  QPushButton* cmdSetup;
  QPushButton* cmdDone;
  QPlainTextEdit* Rtf;
  QLabel* Label1;
  QLabel* lblDraft;
  DraftKeeper* drafts_;
  std::array<QLabel*, 3> lblHome{};
  std::array<QLabel*, 17> lblCode{};
  std::vector<QKeySequence> shortcut_keys_;
  QWidget* toolbar_;
  MarkupHighlighter* highlighter_;
  QPointer<frmURL> url_dialog_;
  QPointer<frmIMG> image_dialog_;
  QPointer<frmFYL> file_dialog_;
  QPointer<frmDiv> align_dialog_;
  QPointer<frmFont> font_dialog_;
  QPointer<frmLst> list_dialog_;
  QPointer<frmHtml> html_dialog_;
  QPointer<frmDate> date_dialog_;
  QPointer<frmList> list_window_;
};

}  // namespace quill::ui
