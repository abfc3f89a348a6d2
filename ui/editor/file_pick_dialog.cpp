#include "ui/editor/file_pick_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "ui/app.h"

namespace quill::ui {

FilePickDialog::FilePickDialog(App& app, frmBlog& editor, const QString& object_name,
                               const QString& caption, QStringList patterns,
                               const QString& filter_name)
    : InsertDialog(app, editor, object_name, caption),
      patterns_(std::move(patterns)),
      filter_(filter_name + " (" + patterns_.join(' ') + ")") {
  File1 = new QListWidget;
  File1->setObjectName("File1");
  File1->setAccessibleName("Files in the output folder");
  cmdTemp = new QPushButton("...");
  cmdTemp->setObjectName("cmdTemp");
  cmdTemp->setToolTip("Bring a file from another folder into the output folder");
  cmdTemp->setAccessibleName(cmdTemp->toolTip());
  Body()->addWidget(File1);
  Body()->addWidget(cmdTemp, 0, Qt::AlignLeft);
  connect(File1, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) {
            PickedFile_ = item->text();
            Picked();
          });
  connect(cmdTemp, &QPushButton::clicked, this, [this] { BringFile(); });
  RefreshList();
}

void FilePickDialog::RefreshList() {
  File1->clear();
  const QString folder = QString::fromStdString(app_.Project().OutputFolder);
  if (folder.isEmpty()) return;  // no output folder: nothing to list
  File1->addItems(QDir(folder).entryList(patterns_, QDir::Files, QDir::Name));
}

void FilePickDialog::BringFile() {
  const QString folder = OutputFolder();
  const QString source = app_.Services().GetOpenFileName(this, windowTitle(), folder, filter_);
  if (source.isEmpty()) return;
  if (folder.isEmpty()) {
    Oops("The project has no output folder yet; choose one in the setup dialog.");
    return;
  }
  const QString dest = folder + QFileInfo(source).fileName();
  if (dest == source) {
    Pick(QFileInfo(source).fileName());  // already in the folder
    return;
  }
  Bring(source, dest);
}

QString FilePickDialog::OutputFolder() const {
  return QString::fromStdString(app_.Project().OutputFolder);
}

void FilePickDialog::Pick(const QString& name) {
  RefreshList();
  const auto items = File1->findItems(name, Qt::MatchExactly);
  if (!items.isEmpty()) File1->setCurrentItem(items.front());
  PickedFile_ = name;
  Picked();
}

void FilePickDialog::Bring(const QString& source, const QString& dest) {
  std::error_code error;
  std::filesystem::copy_file(source.toStdString(), dest.toStdString(),
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) {
    Oops("Cannot copy " + source + " to " + dest + ": " + QString::fromStdString(error.message()));
    return;
  }
  RefreshList();
}

}  // namespace quill::ui
