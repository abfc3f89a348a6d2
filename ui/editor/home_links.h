#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QHBoxLayout;
class QLabel;
class QWidget;

namespace quill::core {
struct ProjectSettings;
}

namespace quill::ui {

// The three small links at the top of the main window: "h" the user's site, "b" the blog,
// "?" the program's help. A click opens the address in the link's tool tip.
class HomeLinks final : public QObject {
  Q_OBJECT

 public:
  // The links go right-aligned into `row` of `window`; `open` opens an address.
  HomeLinks(QWidget* window, QHBoxLayout& row, std::function<void(const QString&)> open);

  // Shows the links to the site and blog as far as `project` names them.
  void Show(const core::ProjectSettings& project);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QString&)> open_;
  std::array<QLabel*, 3> lblHome{};
};

}  // namespace quill::ui
