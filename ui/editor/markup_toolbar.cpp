#include "ui/editor/markup_toolbar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <algorithm>

#include "ui/app.h"
#include "ui/app_window.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/frm_div.h"
#include "ui/editor/frm_font.h"
#include "ui/editor/frm_fyl.h"
#include "ui/editor/frm_html.h"
#include "ui/editor/frm_img.h"
#include "ui/editor/frm_lst.h"
#include "ui/editor/frm_url.h"
#include "ui/editor/markup_insertion.h"
#include "ui/editor/single_window.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

using Bar = MarkupToolbar;
using Caption = const QString&;

}  // namespace

struct MarkupToolbar::Label {
  int index;
  const char* caption;
  const char* tip;  // also the name screen readers say
  const char* keys;
  bool boxed;  // framed, and in the window's text colour
  // What a click does, given the caption; true when it changed the text.
  bool (*act)(MarkupToolbar& bar, const QString& caption);
};

bool MarkupToolbar::Wrap(const Wrapping& wrapping) {
  InsertMarkup(editor_, wrapping, editor_.SelectedText(), app_.SelectionWasEmpty);
  return true;
}

bool MarkupToolbar::Replace(const Wrapping& markup) {
  InsertMarkup(editor_, markup, {}, false);
  return true;
}

bool MarkupToolbar::Html5() const { return app_.Project().Html5 == 1; }

template <class Dialog>
Dialog* MarkupToolbar::Open(QPointer<Dialog>& instance) {
  return BringForward(instance, app_, editor_);
}

void MarkupToolbar::OpenImage(const ArrivingPicture& picture) {
  Open(image_dialog_)->TakePicture(picture);
}

// Wraps the selection in the caption and its closing tag: "<h2>" gives "</h2>".
bool MarkupToolbar::CaptionTags(MarkupToolbar& bar, const QString& caption) {
  return bar.Wrap(CaptionWrapping(caption, bar.Html5()));
}

// The selection stays, and a blank line follows it.
bool MarkupToolbar::BlankLine(MarkupToolbar& bar, const QString&) {
  return bar.Replace({bar.editor_.SelectedText() + LineBreak(bar.Html5()), {}});
}

// The link dialog, with the selection as the text to show.
bool MarkupToolbar::Link(MarkupToolbar& bar, const QString&) {
  bar.Open(bar.url_dialog_)->SetDisplayText(bar.editor_.SelectedText());
  return false;
}

// The list editor, for the caption's kind of list.
bool MarkupToolbar::List(MarkupToolbar& bar, const QString& caption) {
  bar.Open(bar.list_dialog_)->Setup(caption);
  return false;
}

template <auto dialog>
bool MarkupToolbar::Opens(MarkupToolbar& bar, const QString&) {
  bar.Open(bar.*dialog);
  return false;
}

// The caption is data: the tags of the caption labels and the type of list come from it.
const MarkupToolbar::Label MarkupToolbar::kLabels[] = {
    {14, "html", "Edit HTML Code", nullptr, true, &Opens<&Bar::html_dialog_>},
    {0, "<b>", "Bold", "Ctrl+B", false,
     [](Bar& bar, Caption) {
       return bar.Wrap({"<strong>", "</strong>"});
     }},
    {1, "<u>", "Underline", "Ctrl+U", false, &CaptionTags},
    {2, "<i>", "Italic", "Ctrl+I", false, &CaptionTags},
    {11, "<h1>", "Headline 1", "Ctrl+1", false, &CaptionTags},
    {12, "<h2>", "Headline 2", "Ctrl+2", false, &CaptionTags},
    {13, "<h3>", "Headline 3", "Ctrl+3", false, &CaptionTags},
    {16, "<bq>", "blockquote", nullptr, false,
     [](Bar& bar, Caption) { return bar.Wrap(QuoteWrapping(bar.Html5())); }},
    {8, "<ul>", "Unordered List", "Ctrl+L", false, &List},
    {9, "<ol>", "Ordered List", nullptr, false, &List},
    {10, "<hr>", "Horizontal Line", nullptr, false,
     [](Bar& bar, Caption) { return bar.Replace(RuleMarkup(bar.Html5())); }},
    {7, "<br>", "Blank line", nullptr, false, &BlankLine},
    {3, "<font>", "Font size and color", nullptr, false, &Opens<&Bar::font_dialog_>},
    {4, "<url>", "Insert URL", "Ctrl+K", false, &Link},
    {5, "<img>", "Insert Image", "Ctrl+Shift+I", false, &Opens<&Bar::image_dialog_>},
    {6, "<div>", "Insert Alignment", nullptr, false, &Opens<&Bar::align_dialog_>},
    {15, "file", "Insert file", nullptr, true, &Opens<&Bar::file_dialog_>},
};

const MarkupToolbar::Label& MarkupToolbar::LabelOf(int index) {
  return *std::find_if(std::begin(kLabels), std::end(kLabels),
                       [index](const Label& label) { return label.index == index; });
}

MarkupToolbar::MarkupToolbar(App& app, frmBlog& editor) : app_(app), editor_(editor) {
  setObjectName("toolbar");
  auto* bar = new QHBoxLayout(this);
  bar->setContentsMargins(0, 0, 0, 0);
  for (const Label& entry : kLabels) bar->addWidget(AddLabel(entry));
  bar->addStretch();
}

QLabel* MarkupToolbar::AddLabel(const Label& entry) {
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
    // The keys belong to the window, so that they also reach the toolbar while it is hidden.
    auto* shortcut = new QShortcut(keys, &editor_);
    keys_.push_back(keys);
    connect(shortcut, &QShortcut::activated, this, [this, index = entry.index] { Clicked(index); });
  }
  label->setToolTip(tip);
  QFont font("Verdana", 10);
  font.setBold(true);
  label->setFont(font);
  MakeClickable(*label);
  if (entry.boxed) label->setFrameStyle(QFrame::Box | QFrame::Plain);
  label->installEventFilter(this);
  lblCode[entry.index] = label;
  return label;
}

void MarkupToolbar::PaintLabels(const QColor& colour, const QColor& boxed) {
  for (const Label& entry : kLabels) {
    Paint(lblCode[entry.index], QPalette::WindowText, entry.boxed ? boxed : colour);
  }
}

bool MarkupToolbar::HasKeys(const QKeyEvent* event) const {
  const QKeySequence pressed(event->keyCombination());
  return std::find(keys_.begin(), keys_.end(), pressed) != keys_.end();
}

bool MarkupToolbar::Act(int index) { return LabelOf(index).act(*this, lblCode[index]->text()); }

void MarkupToolbar::Clicked(int index) {
  RunGuarded(app_.Services(), &editor_, [&] { editor_.ToolbarClick(index); });
}

bool MarkupToolbar::eventFilter(QObject* watched, QEvent* event) {
  if (Clicks(*event)) {
    const auto label = std::find(lblCode.begin(), lblCode.end(), watched);
    if (label != lblCode.end()) {
      Clicked(static_cast<int>(label - lblCode.begin()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quill::ui
