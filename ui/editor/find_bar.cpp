#include "ui/editor/find_bar.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/editor/exact_text.h"
#include "ui/editor/typed_text.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

QPushButton* Button(const char* name, const QString& caption, const QString& tip) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  return button;
}

// A small button that shows a sign rather than words, and says what it does.
QToolButton* SignButton(const char* name, const QString& does, const QString& keys) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setAccessibleName(does);
  button->setToolTip(does + " (" + keys + ")");
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

QLineEdit* FindField(const char* name, const QString& accessible) {
  auto* field = new QLineEdit;
  field->setObjectName(name);
  field->setAccessibleName(accessible);
  field->setClearButtonEnabled(true);
  TypeAsText(*field);
  return field;
}

void OnKeys(QWidget& parent, const QKeySequence& keys, Qt::ShortcutContext context,
            const std::function<void()>& act) {
  auto* shortcut = new QShortcut(keys, &parent);
  shortcut->setContext(context);
  QObject::connect(shortcut, &QShortcut::activated, &parent, act);
}

}  // namespace

FindBar::FindBar(QPlainTextEdit& text, QWidget& window) : text_(text) {
  setObjectName("findBar");
  setAccessibleName("Find in the entry");
  hide();

  OnKeys(window, QKeySequence::Find, Qt::WindowShortcut, [this] { OpenFind(); });
  OnKeys(window, QKeySequence(Qt::CTRL | Qt::Key_H), Qt::WindowShortcut, [this] { OpenReplace(); });
  OnKeys(window, QKeySequence(Qt::Key_F3), Qt::WindowShortcut, [this] { FindNext(); });
  OnKeys(window, QKeySequence(Qt::SHIFT | Qt::Key_F3), Qt::WindowShortcut,
         [this] { FindPrevious(); });
  OnKeys(*this, QKeySequence(Qt::Key_Escape), Qt::WidgetWithChildrenShortcut, [this] { Close(); });
  text_.installEventFilter(this);
  connect(text_.document(), &QTextDocument::contentsChanged, this, [this] {
    if (!isHidden()) Recount();
  });
}

void FindBar::Build() {
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addLayout(BuildFindRow());
  replace_row_ = new QWidget;
  replace_row_->setLayout(BuildReplaceRow());
  rows->addWidget(replace_row_);
  // Made after the window set its tab order, whatever else came since: the bar's fields take
  // their place by where they stand.
  TabInReadingOrder(*window());
}

QLayout* FindBar::BuildFindRow() {
  txtFind = FindField("txtFind", "Find");
  txtFind->installEventFilter(this);
  chkCase = new QCheckBox("Match case");
  chkCase->setObjectName("chkCase");
  chkWords = new QCheckBox("Whole words");
  chkWords->setObjectName("chkWords");
  cmdFindPrevious = SignButton("cmdFindPrevious", "Previous match", "Shift+F3");
  cmdFindPrevious->setArrowType(Qt::UpArrow);
  cmdFindNext = SignButton("cmdFindNext", "Next match", "F3");
  cmdFindNext->setArrowType(Qt::DownArrow);
  lblFound = new QLabel;
  lblFound->setObjectName("lblFound");
  lblFound->setAccessibleName("Matches");
  cmdCloseFind = SignButton("cmdCloseFind", "Close the find bar", "Esc");
  cmdCloseFind->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));

  auto* row = new QHBoxLayout;
  auto* caption = new QLabel("Find:");
  caption->setBuddy(txtFind);
  for (QWidget* part : std::initializer_list<QWidget*>{caption, txtFind, chkCase, chkWords,
                                                       cmdFindPrevious, cmdFindNext, lblFound}) {
    row->addWidget(part);
  }
  row->addStretch();
  row->addWidget(cmdCloseFind);
  connect(txtFind, &QLineEdit::textChanged, this, [this] { FindAsTyped(); });
  for (QCheckBox* box : {chkCase, chkWords}) {
    connect(box, &QCheckBox::toggled, this, [this] { FindAsTyped(); });
  }
  connect(cmdFindPrevious, &QToolButton::clicked, this, [this] { FindPrevious(); });
  connect(cmdFindNext, &QToolButton::clicked, this, [this] { FindNext(); });
  connect(cmdCloseFind, &QToolButton::clicked, this, [this] { Close(); });
  return row;
}

QLayout* FindBar::BuildReplaceRow() {
  txtReplace = FindField("txtReplace", "Replace with");
  txtReplace->installEventFilter(this);
  cmdReplace = Button("cmdReplace", "Replace", "Replace this match and find the next one");
  cmdReplaceAll = Button("cmdReplaceAll", "Replace all", "Replace every match");
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  auto* caption = new QLabel("Replace with:");
  caption->setBuddy(txtReplace);
  row->addWidget(caption);
  row->addWidget(txtReplace);
  row->addWidget(cmdReplace);
  row->addWidget(cmdReplaceAll);
  row->addStretch();
  connect(cmdReplace, &QPushButton::clicked, this, [this] { Replace(); });
  connect(cmdReplaceAll, &QPushButton::clicked, this, [this] { ReplaceAll(); });
  return row;
}

void FindBar::OpenFind() { Open(false); }

void FindBar::OpenReplace() { Open(true); }

void FindBar::Open(bool replacing) {
  if (replace_row_ == nullptr) Build();
  const QString selected = text_.textCursor().selectedText();
  if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) {
    const QSignalBlocker as_it_stands(txtFind);
    txtFind->setText(selected);
  }
  replace_row_->setVisible(replacing);
  ShowReplaceButtons();
  show();
  Recount();
  txtFind->setFocus();
  txtFind->selectAll();
}

MatchRule FindBar::Rule() const { return {chkCase->isChecked(), chkWords->isChecked()}; }

void FindBar::Recount() {
  needle_length_ = static_cast<int>(txtFind->text().size());
  matches_ = FindMatches(ExactText(text_), txtFind->text(), Rule());
  ShowCount();
}

void FindBar::ShowCount() {
  const int current = SelectedMatch();
  if (txtFind->text().isEmpty()) {
    lblFound->clear();
  } else if (matches_.empty()) {
    lblFound->setText("No matches");
  } else if (current >= 0) {
    lblFound->setText(QString("%1 of %2").arg(current + 1).arg(matches_.size()));
  } else {
    lblFound->setText(QString("%1 found").arg(matches_.size()));
  }
}

int FindBar::SelectedMatch() const {
  const QTextCursor cursor = text_.textCursor();
  if (cursor.selectionEnd() - cursor.selectionStart() != needle_length_) return -1;
  const auto found = std::lower_bound(matches_.begin(), matches_.end(), cursor.selectionStart());
  if (found == matches_.end() || *found != cursor.selectionStart()) return -1;
  return static_cast<int>(found - matches_.begin());
}

int FindBar::MatchFrom(int position) const {
  if (matches_.empty()) return -1;
  const auto found = std::lower_bound(matches_.begin(), matches_.end(), position);
  return found == matches_.end() ? 0 : static_cast<int>(found - matches_.begin());
}

void FindBar::SelectMatch(int index) {
  if (index >= 0) {
    QTextCursor cursor = text_.textCursor();
    cursor.setPosition(matches_[index]);
    cursor.setPosition(matches_[index] + needle_length_, QTextCursor::KeepAnchor);
    text_.setTextCursor(cursor);
  }
  ShowCount();
}

void FindBar::FindAsTyped() {
  Recount();
  SelectMatch(MatchFrom(text_.textCursor().selectionStart()));
}

void FindBar::FindNext() {
  if (isHidden()) return OpenFind();
  const int current = SelectedMatch();
  SelectMatch(current >= 0 ? (current + 1) % static_cast<int>(matches_.size())
                           : MatchFrom(text_.textCursor().selectionEnd()));
}

void FindBar::FindPrevious() {
  if (isHidden()) return OpenFind();
  if (matches_.empty()) return ShowCount();
  const int start = text_.textCursor().selectionStart();
  const auto before = std::lower_bound(matches_.begin(), matches_.end(), start);
  SelectMatch(before == matches_.begin() ? static_cast<int>(matches_.size()) - 1
                                         : static_cast<int>(before - matches_.begin()) - 1);
}

void FindBar::Replace() {
  if (isHidden() || text_.isReadOnly()) return;
  if (SelectedMatch() >= 0) {
    QTextCursor cursor = text_.textCursor();
    cursor.insertText(txtReplace->text());
    text_.setTextCursor(cursor);
    Recount();
  }
  SelectMatch(MatchFrom(text_.textCursor().selectionEnd()));
}

void FindBar::ReplaceAll() {
  if (isHidden() || text_.isReadOnly() || matches_.empty()) return;
  const std::vector<int> replaced = matches_;
  const QString replacement = txtReplace->text();
  QTextCursor cursor(text_.document());
  cursor.beginEditBlock();
  // From the end backwards, so the matches still to go keep their places.
  for (auto at = replaced.rbegin(); at != replaced.rend(); ++at) {
    cursor.setPosition(*at);
    cursor.setPosition(*at + needle_length_, QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
  }
  cursor.endEditBlock();
  Recount();
  lblFound->setText(QString("%1 replaced").arg(replaced.size()));
}

void FindBar::Close() {
  hide();
  text_.setFocus();
}

void FindBar::ShowReplaceButtons() {
  if (replace_row_ == nullptr) return;
  const bool editable = !text_.isReadOnly();
  for (QWidget* part : std::initializer_list<QWidget*>{txtReplace, cmdReplace, cmdReplaceAll}) {
    part->setEnabled(editable);
  }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &text_) {
    if (event->type() == QEvent::ReadOnlyChange) ShowReplaceButtons();
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if (watched == txtReplace) {
    Replace();
  } else if ((key->modifiers() & Qt::ShiftModifier) != 0) {
    FindPrevious();
  } else {
    FindNext();
  }
  return true;
}

}  // namespace quill::ui
