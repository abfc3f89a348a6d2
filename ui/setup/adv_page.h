#pragma once

#include "ui/setup/setup_page.h"

namespace quill::ui {

// "Adv": the site's and the editor's addresses, the comments page, the RSS feed and the
// entries' own pages.
class AdvPage final : public SetupPage {
  Q_OBJECT

 public:
  AdvPage();

  void Load(const SetupValues& values) override;
  void Save(SetupValues& values) const override;
  bool CommentPage() const;
  bool EntryPages() const;

 signals:
  // The user ticked or cleared the comments page, which has support files of its own.
  void CommentPageClicked();

 private:
  // The feed's two fields show only while the feed is on, the blog address also while entry
  // pages are (the sitemap needs it); hidden, they keep their text.
  void ShowRssFields();

  QLineEdit* txtSite;
  QLineEdit* txtEditor;
  QCheckBox* chkTell;
  QCheckBox* chkNews;
  QCheckBox* chkPages;
  QLabel* docs_caption_;
  QLineEdit* txtDocs;
  QLabel* news_caption_;
  QLineEdit* txtNews;
};

}  // namespace quill::ui
