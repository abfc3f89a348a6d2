#include "ui/setup/ftp_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt_text.h"
#include "ui/setup/setup_rules.h"

namespace quill::ui {

FtpPage::FtpPage() {
  auto* grid = new QGridLayout(this);
  chkSync = Box("chkSync", "Enable FTP Synch");
  txtHost = Field("txtHost");
  txtUser = Field("txtUser");
  txtPass = Field("txtPass");
  txtPass->setEchoMode(QLineEdit::Password);
  txtPass->setStyleSheet("lineedit-password-character: 42");  // "*", whatever the style's own
  txtPath = Field("txtPath");
  captions_ = {Caption(12, "FTP Host:", txtHost), Caption(13, "FTP User Name:", txtUser),
               Caption(15, "FTP Password:", txtPass), Caption(14, "FTP Blog Path:", txtPath)};
  grid->addWidget(chkSync, 0, 0, 1, 2);
  const std::array<QLineEdit*, 4> fields = {txtHost, txtUser, txtPass, txtPath};
  for (int row = 0; row < 4; ++row) {
    grid->addWidget(captions_[row], row + 1, 0);
    grid->addWidget(fields[row], row + 1, 1);
  }
  for (QLabel* caption : captions_) HideInPlace(caption);
  for (QLineEdit* field : fields) HideInPlace(field);
  connect(chkSync, &QCheckBox::toggled, this, [this] { ShowFtpFields(); });

  SelectOnFocus(txtUser);
  // The password shows only while it has the focus.
  SelectOnFocus(
      txtPass, [this] { txtPass->setEchoMode(QLineEdit::Normal); },
      [this] { txtPass->setEchoMode(QLineEdit::Password); });
  SelectOnFocus(txtHost, {},
                [this] { txtHost->setText(Q(NormaliseFtpHost(txtHost->text().toStdString()))); });
  SelectOnFocus(txtPath, {}, [this] {
    txtPath->setText(
        Q(NormaliseFtpPath(txtPath->text().toStdString(), txtHost->text().toStdString())));
  });
}

void FtpPage::Load(const SetupValues& values) {
  chkSync->setChecked(values.post_ftp);
  txtHost->setText(Q(values.ftp_host));
  txtUser->setText(Q(values.ftp_user));
  txtPass->setText(Q(values.ftp_pass));
  txtPath->setText(Q(values.ftp_path));
  ShowFtpFields();
}

void FtpPage::Save(SetupValues& values) const {
  values.post_ftp = chkSync->isChecked();
  values.ftp_host = txtHost->text().toStdString();
  values.ftp_user = txtUser->text().toStdString();
  values.ftp_pass = txtPass->text().toStdString();
  values.ftp_path = txtPath->text().toStdString();
}

void FtpPage::ShowFtpFields() {
  const bool on = chkSync->isChecked();
  for (QLabel* caption : captions_) caption->setVisible(on);
  for (QLineEdit* field : {txtHost, txtUser, txtPass, txtPath}) field->setVisible(on);
}

}  // namespace quill::ui
