#include "ui/setup/about_page.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "core/product.h"
#include "ui/desktop_services.h"
#include "ui/qt_text.h"

namespace quill::ui {

AboutPage::AboutPage(DesktopServices& services, const QString& version) : services_(services) {
  auto* column = new QVBoxLayout(this);
  lblAbout[0] = new QLabel(Q(std::string(core::kProductName)));
  QFont large("Verdana", 16);
  large.setBold(true);
  lblAbout[0]->setFont(large);
  lblAbout[6] = new QLabel("v" + version);
  lblAbout[3] = new QLabel(Q(std::string(core::kMakerSite)));
  lblAbout[3]->setCursor(Qt::PointingHandCursor);
  QFont link = lblAbout[3]->font();
  link.setUnderline(true);
  lblAbout[3]->setFont(link);
  lblAbout[3]->installEventFilter(this);
  for (int i : {0, 6, 3}) {
    lblAbout[i]->setObjectName(QString("lblAbout_%1").arg(i));
    lblAbout[i]->setAlignment(Qt::AlignHCenter);
    column->addWidget(lblAbout[i]);
  }
}

bool AboutPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblAbout[3] && event->type() == QEvent::MouseButtonRelease) {
    services_.Open(window(), lblAbout[3]->text());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quill::ui
