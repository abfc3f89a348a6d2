#pragma once

#include <array>

#include "ui/setup/setup_page.h"

namespace quill::ui {

// "FTP": whether the site goes up after each build, and where to.
class FtpPage final : public SetupPage {
 public:
  FtpPage();

  void Load(const SetupValues& values) override;
  void Save(SetupValues& values) const override;

 private:
  // The four fields and their captions show only while uploading is on.
  void ShowFtpFields();

  QCheckBox* chkSync;
  QLineEdit* txtHost;
  QLineEdit* txtUser;
  QLineEdit* txtPass;
  QLineEdit* txtPath;
  std::array<QLabel*, 4> captions_{};
};

}  // namespace quill::ui
