#pragma once

#include <string>

#include "ui/setup/setup_page.h"

namespace quill::ui {

// "Adv": the site's and the editor's addresses, the comments page, the RSS feed, the
// entries' own pages, entries that wait for their time and the style of the pages (HTML5, in
// the pages' language).
class AdvPage final : public SetupPage {
  Q_OBJECT

 public:
  AdvPage();

  void Load(const SetupValues& values) override;
  void Save(SetupValues& values) const override;
  bool CommentPage() const;
  bool EntryPages() const;
  bool Html5() const;
  std::string Language() const;

 signals:
  // The user ticked or cleared the comments page, which has support files of its own.
  void CommentPageClicked();
  // The same for the HTML5 pages, whose support files differ.
  void Html5Clicked();

 private:
  // The feed's two fields show only while the feed is on, the blog address also while entry
  // pages are (the sitemap needs it); hidden, they keep their text.
  void ShowRssFields();

  QLineEdit* txtSite;
  QLineEdit* txtEditor;
  QCheckBox* chkTell;
  QCheckBox* chkNews;
  QCheckBox* chkPages;
  QCheckBox* chkHtml5;
  QLineEdit* txtLanguage;
  QCheckBox* chkHold;
  QLabel* docs_caption_;
  QLineEdit* txtDocs;
  QLabel* news_caption_;
  QLineEdit* txtNews;
};

}  // namespace quill::ui
