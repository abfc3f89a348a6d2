#include "ui/editor/home_links.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

#include "core/product.h"
#include "core/project_settings.h"
#include "ui/qt_text.h"
#include "ui/tab_order.h"

namespace quill::ui {
namespace {

struct Link {
  const char* caption;
  const char* name;  // what screen readers say, where the caption says little
};
constexpr Link kLinks[] = {{"h", "Home page"}, {"b", "Blog"}, {"?", "Help"}};

}  // namespace

HomeLinks::HomeLinks(QWidget* window, QHBoxLayout& row, std::function<void(const QString&)> open)
    : QObject(window), open_(std::move(open)) {
  row.addStretch();
  for (std::size_t i = 0; i < lblHome.size(); ++i) {
    lblHome[i] = new QLabel(kLinks[i].caption);
    lblHome[i]->setObjectName(QString("lblHome_%1").arg(i));
    MakeClickable(*lblHome[i]);
    lblHome[i]->setAccessibleName(kLinks[i].name);
    lblHome[i]->installEventFilter(this);
    row.addWidget(lblHome[i]);
  }
}

void HomeLinks::Show(const core::ProjectSettings& project) {
  lblHome[0]->setVisible(!project.Site.empty());
  lblHome[0]->setToolTip(Q(project.Site));
  const std::string& blog = project.Docs.empty() ? project.Site : project.Docs;
  lblHome[1]->setVisible(!blog.empty());
  lblHome[1]->setToolTip(Q(blog));
  lblHome[2]->setToolTip(Q(std::string(core::kHomePage) + "help/"));
}

bool HomeLinks::eventFilter(QObject* watched, QEvent* event) {
  if (!Clicks(*event)) return false;
  for (QLabel* link : lblHome) {
    if (watched == link) {
      open_(link->toolTip());
      return true;
    }
  }
  return false;
}

}  // namespace quill::ui
