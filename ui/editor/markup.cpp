#include "ui/editor/markup.h"

#include "ui/editor/typed_text.h"

namespace quill::ui {
namespace {

QString Attribute(const char* name, const QString& value) {
  return value.isEmpty() ? QString() : QString(" %1=\"%2\"").arg(name, value);
}

}  // namespace

QStringList LinkProtocols(bool secure_first) {
  if (secure_first) return {"https://", "http://", "mailto:", "ftp://"};
  return {"http://", "mailto:", "ftp://", "https://"};
}

QString LinkMarkup(const QString& protocol, const QString& address, const QString& display,
                   bool new_window) {
  const bool mail = protocol == "mailto:";
  const QString shown = !display.isEmpty() ? display : mail ? address : protocol + address;
  const QString target = new_window && !mail ? " target=\"_blank\"" : "";
  return "<a href=\"" + protocol + address + "\"" + target + ">" + shown + "</a>";
}

Wrapping FontWrapping(const QString& face, const QString& size, const QString& colour) {
  const QString attributes =
      Attribute("face", face) + Attribute("size", size) + Attribute("color", colour);
  if (attributes.isEmpty()) return {};
  return {"<font" + attributes + ">", "</font>"};
}

Wrapping AlignmentWrapping(const QString& word) {
  if (word == "center") return {"<center>", "</center>"};
  if (word == "right") return {"<div align=\"right\">", "</div>"};
  return {};
}

QString ImageMarkup(const QString& box, const QString& file, const QString& description) {
  return "<div class=\"" + box + "\"><img src=\"" + file + "\" alt=\"" + TypedAsText(description) +
         "\" /></div>";
}

}  // namespace quill::ui
