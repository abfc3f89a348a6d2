#pragma once

#include <QString>
#include <QStringList>

namespace quill::ui {

// Where an insertion stands among the entry's lines. Pages in the HTML5 style write a line
// that starts with a block's tag as it stands and put every other line in a paragraph, so
// there the toolbar gives each block a line of its own.
enum class Placement {
  Inline,  // in place of the selection, whatever stands beside it
  Line,    // on a line of its own
  // On a line of its own, and around several lines with its tags on lines of their own, so
  // that each of those lines stays a paragraph of its own inside it.
  Block,
};

// The tags an insertion puts around the selection (or the whole markup in `open`, for an
// insertion that replaces it); empty when there is nothing to insert.
struct Wrapping {
  QString open;
  QString close;
  Placement placement = Placement::Inline;
};

// `body` between the wrapping's tags.
QString Wrapped(const Wrapping& wrapping, const QString& body);

// The link dialog's protocols in the order it lists them; the first is selected when it
// opens. Classic projects keep "http://", "mailto:", "ftp://" and get "https://" fourth;
// with `secure_first` (the HTML5 style's projects) "https://" leads.
QStringList LinkProtocols(bool secure_first);

// A link to `protocol` + `address` (both already trimmed). Without display text the link
// shows the bare address for mail and the whole address otherwise; mail never opens a new
// window.
QString LinkMarkup(const QString& protocol, const QString& address, const QString& display,
                   bool new_window);

// The toolbar's tags. In the classic style they are what they have always been; with `html5`
// the blocks get lines of their own and void elements lose the XHTML slash.
// A caption label's tags: "<h2>" gives "<h2>" and "</h2>"; headings are blocks.
Wrapping CaptionWrapping(const QString& caption, bool html5);
Wrapping QuoteWrapping(bool html5);
Wrapping RuleMarkup(bool html5);
// The blank line the toolbar puts after the selection.
QString LineBreak(bool html5);
// A list of `items` in list tag `list_tag` ("<ul>" or "<ol>").
Wrapping ListMarkup(const QString& list_tag, const QStringList& items, bool html5);

// A font change with whichever of face, size (1 to 7) and colour ("#rrggbb") are not empty:
// a font element in the classic style, a span with the same look in the HTML5 style.
Wrapping FontWrapping(const QString& face, const QString& size, const QString& colour, bool html5);

// "center" or "right"; left is how text stands anyway.
Wrapping AlignmentWrapping(const QString& word, bool html5);

// A picture of the output folder in the floating box `box` ("LBox" or "RBox"), described by
// `description` for readers who cannot see it: typed text, so it is escaped as an attribute
// value, and empty for a picture that says nothing (alt="").
Wrapping ImageMarkup(const QString& box, const QString& file, const QString& description,
                     bool html5);

}  // namespace quill::ui
