#pragma once

#include <array>

#include "ui/editor/insert_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace quill::ui {

// "Insert URL": a link to a web, mail or FTP address.
class frmURL final : public InsertDialog {
  Q_OBJECT

 public:
  frmURL(App& app, frmBlog& editor);
  // The link's text; the toolbar hands over the editor's selection.
  void SetDisplayText(const QString& text);

 private:
  void ProtocolChanged();
  void Good() override;

  std::array<QLabel*, 2> Label1{};
  QComboBox* Combo1;
  QLineEdit* Text1;
  QLineEdit* Text2;
  QCheckBox* Check1;
};

}  // namespace quill::ui
