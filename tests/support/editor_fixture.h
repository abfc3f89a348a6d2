#pragma once

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <filesystem>

#include "support/ui_fixture.h"
#include "ui/editor/frm_blog.h"

namespace quill::testing {

// The main window open on project "My Log", whose output folder is `site/` in the
// temporary folder and holds a minimal template. The clock stands at 7 December 2026, 9:00.
class EditorFixture : public UiFixture {
 protected:
  EditorFixture() {
    app_.Project().ProjectName = "My Log";
    app_.Project().Template = dir_.File("site/template.html");
    app_.Project().Title = "My Log";
    app_.Settings().LoadSettings(true);
    std::filesystem::create_directories(dir_.File("site"));
    WriteFile(app_.Project().Template, "<h1>BlogTitle</h1>\r\nBlogContent\r\n");
    clock_.Set({2026, 12, 7, 9, 0, 0});
  }

  ui::frmBlog* Open() {
    app_.OpenProject("My Log");
    editor_ = app_.OpenEditor();
    return editor_;
  }

  QPushButton* Nav(int index) {
    return Child<QPushButton>(editor_, ("cmdNav_" + std::to_string(index)).c_str());
  }
  QPlainTextEdit* Text() { return Child<QPlainTextEdit>(editor_, "Rtf"); }
  QLabel* Code(int index) {
    return Child<QLabel>(editor_, ("lblCode_" + std::to_string(index)).c_str());
  }
  void ClickCode(int index) { QTest::mouseClick(Code(index), Qt::LeftButton); }

  void Type(const QString& text) {
    Text()->setFocus();
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
      if (i > 0) QTest::keyClick(Text(), Qt::Key_Return);
      QTest::keyClicks(Text(), lines[i]);
    }
  }
  // Sets the text and selects [start, end); the caret stands at `end`.
  void SetText(const QString& text, int start, int end) {
    Text()->setPlainText(text);
    Select(start, end);
  }
  void Select(int start, int end) {
    QTextCursor cursor = Text()->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    Text()->setTextCursor(cursor);
  }
  int Caret() { return Text()->textCursor().position(); }
  bool HasSelection() { return Text()->textCursor().hasSelection(); }

  // The colour the text is shown in at `position`.
  QColor ColourAt(int position) {
    const QTextBlock block = Text()->document()->findBlock(position);
    const int offset = position - block.position();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
      if (offset >= range.start && offset < range.start + range.length) {
        return range.format.foreground().color();
      }
    }
    return QColor(0, 0, 0);
  }

  // The open window named `name`, if there is one.
  template <class Window>
  static Window* Find(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == name && widget->isVisible()) {
        return qobject_cast<Window*>(widget);
      }
    }
    return nullptr;
  }

  ui::frmBlog* editor_ = nullptr;
};

}  // namespace quill::testing
