#pragma once

#include <QWidget>
#include <vector>

#include "ui/editor/text_matches.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace quill::ui {

// The find bar at the foot of the main window: finds text in the entry's text box, counts
// the matches and steps through them, and replaces them where the text can be changed.
// Replacing edits the text box as typing does, so whatever follows a change (the draft, the
// Save button, the highlighting) follows a replacement too. The find and replace fields take
// typed characters as the text box does: a typed &, <, > or " becomes its entity.
class FindBar final : public QWidget {
  Q_OBJECT

 public:
  // Ctrl+F, Ctrl+H, F3 and Shift+F3 work anywhere in `window`.
  FindBar(QPlainTextEdit& text, QWidget& window);

  // Shows the bar with the find field in front, holding the selection when it is one line.
  void OpenFind();
  // The same, with the replace field; its buttons stay off while the text is read-only.
  void OpenReplace();
  void FindNext();
  void FindPrevious();
  // Replaces the selected match and goes on to the next one; elsewhere finds the next one.
  void Replace();
  // Replaces every match, as one step that Undo takes back whole.
  void ReplaceAll();
  // Hides the bar; the text box has the focus again.
  void Close();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The bar's fields and buttons, made when it first opens.
  void Build();
  QLayout* BuildFindRow();
  QLayout* BuildReplaceRow();
  void Open(bool replacing);
  MatchRule Rule() const;
  // Finds the matches afresh and shows how many there are.
  void Recount();
  void ShowCount();
  // The match the selection is, or -1.
  int SelectedMatch() const;
  void SelectMatch(int index);
  // The first match at or after `position`, or the first of all (the search wraps).
  int MatchFrom(int position) const;
  void FindAsTyped();
  void ShowReplaceButtons();

  QPlainTextEdit& text_;
  std::vector<int> matches_;
  int needle_length_ = 0;
  QLineEdit* txtFind;
  QCheckBox* chkCase;
  QCheckBox* chkWords;
  QToolButton* cmdFindPrevious;
  QToolButton* cmdFindNext;
  QLabel* lblFound;
  QToolButton* cmdCloseFind;
  QWidget* replace_row_ = nullptr;
  QLineEdit* txtReplace;
  QPushButton* cmdReplace;
  QPushButton* cmdReplaceAll;
};

}  // namespace quill::ui
