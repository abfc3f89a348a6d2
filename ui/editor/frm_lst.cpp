#include "ui/editor/frm_lst.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/editor/markup.h"
#include "ui/qt_text.h"

namespace quill::ui {

frmLst::frmLst(App& app, frmBlog& editor) : InsertDialog(app, editor, "frmLst", "List Editor") {
  Text1 = new QLineEdit;
  Text1->setObjectName("Text1");
  Text1->setAccessibleName("List item");
  cmdAdd = new QPushButton("Add");
  cmdAdd->setObjectName("cmdAdd");
  List1 = new QListWidget;
  List1->setObjectName("List1");
  List1->setAccessibleName("List items");
  Command1 = new QPushButton("Remove");
  Command1->setObjectName("Command1");
  auto* entry = new QHBoxLayout;
  entry->addWidget(Text1, 1);
  entry->addWidget(cmdAdd);
  Body()->addLayout(entry);
  Body()->addWidget(List1);
  Body()->addWidget(Command1, 0, Qt::AlignLeft);
  connect(cmdAdd, &QPushButton::clicked, this, [this] { Add(); });
  connect(Text1, &QLineEdit::returnPressed, this, [this] { Add(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Remove(); });
  Ready();
}

void frmLst::Setup(const QString& What) {
  ListTag_ = What;
  if (What == "<ul>") setWindowTitle("Unordered List");
  if (What == "<ol>") setWindowTitle("Ordered List");
}

void frmLst::Add() {
  const QString item = Trimmed(Text1->text());
  if (!item.isEmpty()) List1->addItem(item);
  Text1->clear();
  Text1->setFocus();
}

void frmLst::Remove() {
  if (const auto selected = List1->selectedItems(); !selected.isEmpty()) {
    Text1->setText(selected.front()->text());
    delete List1->takeItem(List1->row(selected.front()));
  }
  List1->clearSelection();
  List1->setCurrentItem(nullptr);
  Text1->setFocus();
}

void frmLst::Good() {
  if (List1->count() == 0) {
    Oops("List is empty");
    return;
  }
  QStringList items;
  for (int i = 0; i < List1->count(); ++i) items << List1->item(i)->text();
  InsertAndClose(ListMarkup(ListTag_, items, Html5()));
}

}  // namespace quill::ui
