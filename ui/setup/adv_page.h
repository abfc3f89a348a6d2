#pragma once

#include <string>
#include <vector>

#include "ui/setup/setup_page.h"

class QComboBox;

namespace quill::ui {

// "Adv": the site's and the editor's addresses, the comments page, the RSS feed, the
// entries' own pages, entries that wait for their time, the style of the pages (HTML5, in
// the pages' language) and the language the editor checks the spelling in.
class AdvPage final : public SetupPage {
  Q_OBJECT

 public:
  // `languages`: those there are dictionaries for; `default_language`: the one a project that
  // has chosen none checks in.
  AdvPage(const std::vector<std::string>& languages, std::string default_language);

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
  QWidget* BuildSpelling(const std::vector<std::string>& languages);

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
  QComboBox* cboSpell;
  std::string default_language_;
  // The project's own value and the choice it was shown as, kept while the choice stays.
  std::string stored_language_;
  int shown_language_ = -1;
};

}  // namespace quill::ui
