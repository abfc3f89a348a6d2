#pragma once

#include <QString>
#include <QStringList>

namespace quill::ui {

// The tags an insertion puts around the selection; empty when there is nothing to insert.
struct Wrapping {
  QString open;
  QString close;
};

// The link dialog's protocols in the order it lists them; the first is selected when it
// opens. Classic projects keep "http://", "mailto:", "ftp://" and get "https://" fourth;
// with `secure_first` (the HTML5 style's projects) "https://" leads.
QStringList LinkProtocols(bool secure_first);

// A link to `protocol` + `address` (both already trimmed). Without display text the link
// shows the bare address for mail and the whole address otherwise; mail never opens a new
// window.
QString LinkMarkup(const QString& protocol, const QString& address, const QString& display,
                   bool new_window);

// A font element with whichever of face, size and colour ("#rrggbb") are not empty.
Wrapping FontWrapping(const QString& face, const QString& size, const QString& colour);

// "center" or "right"; left is how text stands anyway.
Wrapping AlignmentWrapping(const QString& word);

// A picture of the output folder in the floating box `box` ("LBox" or "RBox"), described by
// `description` for readers who cannot see it: typed text, so it is escaped as an attribute
// value, and empty for a picture that says nothing (alt="").
QString ImageMarkup(const QString& box, const QString& file, const QString& description);

}  // namespace quill::ui
