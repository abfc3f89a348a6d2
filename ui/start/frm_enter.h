#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace quill::ui {

class App;

// The project chooser: pick a blog project to open, name a new one, or delete one.
class frmEnter final : public QWidget {
  Q_OBJECT

 public:
  explicit frmEnter(App& app);

  bool NewProjectMode() const { return NewProjectMode_; }
  const QString& ChosenProject() const { return ChosenProject_; }
  // Selects the listed project of that name (case aside) and opens it; false when no
  // such project is listed.
  bool OpenListed(const QString& name);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Fills the list from the project list and selects the project opened last.
  void ChooserStart();
  void Select(int index);
  void Go();
  void Delete();
  // Writes a new project's name into its slot of the list; false when the list is full.
  bool AddToProjectList(const QString& name);

  App& app_;
  QLabel* Label1;
  QStackedWidget* stack_;
  QComboBox* boxWho;
  QLineEdit* Text1;
  QPushButton* cmdDel;
  QPushButton* cmdSetup;
  QPushButton* Command1;
  bool NewProjectMode_ = false;
  QString ChosenProject_;
};

}  // namespace quill::ui
