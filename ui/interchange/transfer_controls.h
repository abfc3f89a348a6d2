#pragma once

#include <QString>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace quill::ui {

// What the import and export windows share: a sunken label that shows a chosen path, a
// named push button, the report's text.
QLabel* PathLabel(const char* name);
QPushButton* NamedButton(const char* name, const char* caption);

// A report's lines for a message box: at most `most` of them, then how many more there are.
QString ReportText(const std::vector<std::string>& lines, std::size_t most = 12);

}  // namespace quill::ui
