#include "ui/editor/frm_font.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "site/color.h"
#include "ui/app.h"
#include "ui/color_picker.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/markup.h"

namespace quill::ui {

frmFont::frmFont(App& app, frmBlog& editor) : InsertDialog(app, editor, "frmFont", "Change Font") {
  const char* captions[] = {"Face=", "Size=", "Color="};
  auto* grid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    Label1[i] = new QLabel(captions[i]);
    Label1[i]->setObjectName(QString("Label1_%1").arg(i));
    UseFontColor(Label1[i]);
    grid->addWidget(Label1[i], i, 0);
  }
  Combo1 = new QComboBox;
  Combo1->setObjectName("Combo1");
  Combo2 = new QComboBox;
  Combo2->setObjectName("Combo2");
  // Black to begin with; leaving it black (or choosing black) writes no colour.
  ColorPicker1 = new ColorPicker(app_.Services());
  ColorPicker1->setObjectName("ColorPicker1");
  ColorPicker1->Reset(0);
  ColorPicker1->setAccessibleName("Color");
  Label1[0]->setBuddy(Combo1);
  Label1[1]->setBuddy(Combo2);
  Label1[2]->setBuddy(ColorPicker1);
  grid->addWidget(Combo1, 0, 1);
  grid->addWidget(Combo2, 1, 1);
  grid->addWidget(ColorPicker1, 2, 1, Qt::AlignLeft);
  Body()->addLayout(grid);

  Combo1->addItems({"Default", "Arial, Helvetica, Sans Serif", "Times New Roman, Times, Serif",
                    "Courier New, Courier, Monospace", "Georgia, Times New Roman, Times, Serif",
                    "Verdana, Arial, Helvetica, Sans Serif",
                    "Geneva, Arial, Helvetica, Sans Serif"});
  Combo2->addItems({"Default", "1", "2", "3", "4", "5", "6", "7"});
  Combo1->setCurrentIndex(0);
  Combo2->setCurrentIndex(0);
  Ready();
}

void frmFont::Good() {
  const std::int32_t colour = ColorPicker1->Color();
  const Wrapping font =
      FontWrapping(Combo1->currentIndex() > 0 ? Combo1->currentText() : QString(),
                   Combo2->currentIndex() > 0 ? Combo2->currentText() : QString(),
                   colour == ColorPicker1->InitialColor()
                       ? QString()
                       : "#" + QString::fromStdString(site::ColorToCssHex(colour)),
                   Html5());
  InsertWrapped(font, editor_.SelectedText());
}

}  // namespace quill::ui
