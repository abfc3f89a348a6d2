#pragma once

#include <array>

#include "ui/setup/setup_page.h"

namespace quill::ui {

class DesktopServices;

// "About": the product, its version and a link to the maker's site.
class AboutPage final : public SetupPage {
 public:
  AboutPage(DesktopServices& services, const QString& version);

  void Load(const SetupValues&) override {}
  void Save(SetupValues&) const override {}

 protected:
  // A click on the link opens it in the browser.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DesktopServices& services_;
  std::array<QLabel*, 7> lblAbout{};
};

}  // namespace quill::ui
