#include "ui/editor/frm_url.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/app.h"
#include "ui/editor/markup.h"
#include "ui/qt_text.h"

namespace quill::ui {
namespace {

// A field whose caret goes to the end of its text whenever it gets the focus.
class EndCaretEdit final : public QLineEdit {
 protected:
  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    end(false);
  }
};

}  // namespace

frmURL::frmURL(App& app, frmBlog& editor) : InsertDialog(app, editor, "frmURL", "Insert URL") {
  Label1[0] = new QLabel("Enter a URL:");
  Label1[1] = new QLabel("Enter the display text:");
  for (int i = 0; i < 2; ++i) {
    Label1[i]->setObjectName(QString("Label1_%1").arg(i));
    UseFontColor(Label1[i]);
  }
  Combo1 = new QComboBox;
  Combo1->setObjectName("Combo1");
  Combo1->setAccessibleName("Protocol");
  Text1 = new EndCaretEdit;
  Text1->setObjectName("Text1");
  Text2 = new QLineEdit;
  Text2->setObjectName("Text2");
  Label1[0]->setBuddy(Text1);
  Label1[1]->setBuddy(Text2);
  Check1 = new QCheckBox("Open into new window!");
  Check1->setObjectName("Check1");
  UseFontColor(Check1);

  auto* address = new QHBoxLayout;
  address->addWidget(Combo1);
  address->addWidget(Text1, 1);
  Body()->addWidget(Label1[0]);
  Body()->addLayout(address);
  Body()->addWidget(Label1[1]);
  Body()->addWidget(Text2);
  Body()->addWidget(Check1);
  setTabOrder(Text1, Text2);
  setMinimumWidth(420);

  connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { ProtocolChanged(); });
  // Projects in the HTML5 style start secure: nearly every site linked to today is served
  // over HTTPS. Classic projects keep their order, "https://" last.
  Combo1->addItems(LinkProtocols(app_.Project().Html5 == 1));
  Combo1->setCurrentIndex(0);
  ProtocolChanged();
  Text1->setFocus();
  Ready();
}

void frmURL::SetDisplayText(const QString& text) { Text2->setText(text); }

void frmURL::ProtocolChanged() {
  const bool mail = Combo1->currentText() == "mailto:";
  Check1->setChecked(mail);
  Check1->setEnabled(!mail);
}

void frmURL::Good() {
  const QString url = Trimmed(Text1->text());
  if (url.isEmpty()) {
    Oops("This function requires a valid URL");
    return;
  }
  InsertAndClose(
      LinkMarkup(Combo1->currentText(), url, Trimmed(Text2->text()), Check1->isChecked()));
}

}  // namespace quill::ui
