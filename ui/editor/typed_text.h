#pragma once

#include <QString>

class QLineEdit;

namespace quill::ui {

// What a typed character becomes so that everything typed stays text: "&amp;" for '&',
// "&lt;", "&gt;" and "&quot;" for the other three; empty for every other character.
QString EntityOf(QChar c);

// `typed` with each of those four characters replaced by its entity.
QString TypedAsText(const QString& typed);

// Makes `field` follow the text box's typing rule: a typed &, <, > or " (also one an input
// method composed) goes in as its entity; pasted text stays as it is.
void TypeAsText(QLineEdit& field);

}  // namespace quill::ui
