#include "ui/editor/markup.h"

#include <iterator>

#include "ui/editor/typed_text.h"

namespace quill::ui {
namespace {

QString Attribute(const char* name, const QString& value) {
  return value.isEmpty() ? QString() : QString(" %1=\"%2\"").arg(name, value);
}

// A void element ends in " />" in the classic style's XHTML, in ">" in HTML5.
QString VoidEnd(bool html5) { return html5 ? ">" : " />"; }

Placement BlockIn(bool html5, Placement block) { return html5 ? block : Placement::Inline; }

// The font list's faces end in a generic family, written as the font element knew it.
QString CssFamily(const QString& face) {
  struct Generic {
    const char* face;
    const char* css;
  };
  static constexpr Generic kGenerics[] = {
      {"Sans Serif", "sans-serif"}, {"Serif", "serif"}, {"Monospace", "monospace"}};
  QStringList names = face.split(',');
  for (QString& name : names) {
    name = name.trimmed();
    for (const Generic& generic : kGenerics) {
      if (name.compare(generic.face, Qt::CaseInsensitive) == 0) name = generic.css;
    }
  }
  return names.join(", ");
}

// The CSS keyword for each size of the font element, 1 to 7.
QString CssSize(const QString& size) {
  static constexpr const char* kSizes[] = {"x-small", "small",    "medium",   "large",
                                           "x-large", "xx-large", "xxx-large"};
  bool number = false;
  const int index = size.toInt(&number) - 1;
  if (!number || index < 0 || index >= static_cast<int>(std::size(kSizes))) return size;
  return kSizes[index];
}

QString Declaration(const char* property, const QString& value) {
  return value.isEmpty() ? QString() : QString("; %1: %2").arg(property, value);
}

}  // namespace

QString Wrapped(const Wrapping& wrapping, const QString& body) {
  const QString around = wrapping.placement == Placement::Block && body.contains('\n') ? "\n" : "";
  return wrapping.open + around + body + around + wrapping.close;
}

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

Wrapping CaptionWrapping(const QString& caption, bool html5) {
  const bool heading = caption.startsWith("<h", Qt::CaseInsensitive);
  return {caption, "</" + caption.mid(1),
          heading ? BlockIn(html5, Placement::Line) : Placement::Inline};
}

Wrapping QuoteWrapping(bool html5) {
  return {"<blockquote>", "</blockquote>", BlockIn(html5, Placement::Block)};
}

Wrapping RuleMarkup(bool html5) {
  return {html5 ? "<hr>" : "<hr size=\"1\" />", {}, BlockIn(html5, Placement::Line)};
}

QString LineBreak(bool html5) { return "&nbsp;<br" + VoidEnd(html5); }

Wrapping ListMarkup(const QString& list_tag, const QStringList& items, bool html5) {
  QString markup = list_tag;
  for (const QString& item : items) markup += "<li>" + item + "</li>";
  markup += "</" + list_tag.mid(1);
  return {markup, {}, BlockIn(html5, Placement::Line)};
}

Wrapping FontWrapping(const QString& face, const QString& size, const QString& colour, bool html5) {
  if (html5) {
    const QString style = Declaration("font-family", CssFamily(face)) +
                          Declaration("font-size", CssSize(size)) + Declaration("color", colour);
    if (style.isEmpty()) return {};
    return {"<span style=\"" + style.mid(2) + "\">", "</span>"};
  }
  const QString attributes =
      Attribute("face", face) + Attribute("size", size) + Attribute("color", colour);
  if (attributes.isEmpty()) return {};
  return {"<font" + attributes + ">", "</font>"};
}

Wrapping AlignmentWrapping(const QString& word, bool html5) {
  if (word != "center" && word != "right") return {};
  if (html5) {
    return {"<div style=\"text-align: " + word + "\">", "</div>", Placement::Block};
  }
  if (word == "center") return {"<center>", "</center>"};
  return {"<div align=\"right\">", "</div>"};
}

Wrapping ImageMarkup(const QString& box, const QString& file, const QString& description,
                     bool html5) {
  return {"<div class=\"" + box + "\"><img src=\"" + file + "\" alt=\"" + TypedAsText(description) +
              "\"" + VoidEnd(html5) + "</div>",
          {},
          BlockIn(html5, Placement::Line)};
}

}  // namespace quill::ui
