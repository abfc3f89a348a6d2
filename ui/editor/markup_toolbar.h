#pragma once

#include <QKeySequence>
#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

#include "ui/editor/markup.h"

class QKeyEvent;
class QLabel;

namespace quill::ui {

class App;
class frmBlog;
class frmDiv;
class frmFYL;
class frmFont;
class frmHtml;
class frmIMG;
class frmLst;
class frmURL;
struct ArrivingPicture;

// The markup toolbar above the entry text: seventeen labels, each wrapping the selection in
// tags, inserting a piece of markup or opening an insertion dialog, and some with keys that
// do what a click does. A click or a key goes to the editor's ToolbarClick, which decides
// whether the toolbar acts.
class MarkupToolbar final : public QWidget {
  Q_OBJECT

 public:
  // The keys work anywhere in `editor`, even while the toolbar is hidden.
  MarkupToolbar(App& app, frmBlog& editor);

  // Does what label `index` (0 to 16) is for. True when that changed the text; false when it
  // opened a dialog.
  bool Act(int index);
  // True when `event` presses the keys of a label.
  bool HasKeys(const QKeyEvent* event) const;
  // Opens the image dialog with a picture pasted or dropped on the text box.
  void OpenImage(const ArrivingPicture& picture);
  // Paints the captions in `colour`, but the boxed labels ("html", "file") in `boxed`.
  void PaintLabels(const QColor& colour, const QColor& boxed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Label;
  // The labels, left to right, each with what a click does.
  static const Label kLabels[];
  static const Label& LabelOf(int index);

  QLabel* AddLabel(const Label& entry);
  void Clicked(int index);

  // Puts the selection between the tags; with nothing selected the caret stands before the
  // closing tag. True: the text changed.
  bool Wrap(const Wrapping& wrapping);
  // Puts the markup in place of the selection. True: the text changed.
  bool Replace(const Wrapping& markup);
  // Whether the project's pages are in the HTML5 style, whose markup the toolbar then writes.
  bool Html5() const;
  // Brings the dialog's one instance forward.
  template <class Dialog>
  Dialog* Open(QPointer<Dialog>& instance);

  // What the labels do, given their caption; true when the text changed.
  static bool CaptionTags(MarkupToolbar& bar, const QString& caption);
  static bool BlankLine(MarkupToolbar& bar, const QString& caption);
  static bool Link(MarkupToolbar& bar, const QString& caption);
  static bool List(MarkupToolbar& bar, const QString& caption);
  template <auto dialog>
  static bool Opens(MarkupToolbar& bar, const QString& caption);

  App& app_;
  frmBlog& editor_;
  std::array<QLabel*, 17> lblCode{};
  std::vector<QKeySequence> keys_;
  QPointer<frmURL> url_dialog_;
  QPointer<frmIMG> image_dialog_;
  QPointer<frmFYL> file_dialog_;
  QPointer<frmDiv> align_dialog_;
  QPointer<frmFont> font_dialog_;
  QPointer<frmLst> list_dialog_;
  QPointer<frmHtml> html_dialog_;
};

}  // namespace quill::ui
