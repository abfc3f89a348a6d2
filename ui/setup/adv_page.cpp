#include "ui/setup/adv_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/text.h"
#include "ui/qt_text.h"

namespace quill::ui {

AdvPage::AdvPage(const std::vector<std::string>& languages, std::string default_language)
    : default_language_(std::move(default_language)) {
  auto* grid = new QGridLayout(this);
  txtSite = Field("txtSite");
  txtEditor = Field("txtEditor");
  chkTell = Box("chkTell", "Include comments page and link for user feedback");
  chkNews = Box("chkNews", "Generate XML for RSS?");
  chkPages = Box("chkPages", "Give every entry a page of its own (with an archive and a sitemap)");
  chkHtml5 = Box("chkHtml5", "Pages for today's browsers and phones (HTML5, UTF-8)");
  txtLanguage = Field("txtLanguage");
  txtLanguage->setPlaceholderText("en");
  chkHold = Box("chkHold", "Keep entries dated in the future off the site until their time");
  txtDocs = Field("txtDocs");
  txtNews = CountField("txtNews");
  grid->addWidget(Caption(4, "Site URL:", txtSite), 0, 0);
  grid->addWidget(txtSite, 0, 1);
  grid->addWidget(Caption(6, "Editor Email Address:", txtEditor), 1, 0);
  grid->addWidget(txtEditor, 1, 1);
  grid->addWidget(chkTell, 2, 0, 1, 2);
  grid->addWidget(chkNews, 3, 0, 1, 2);
  grid->addWidget(chkPages, 4, 0, 1, 2);
  grid->addWidget(chkHold, 5, 0, 1, 2);
  docs_caption_ = Caption(5, "Blog URL (if different from site URL):", txtDocs);
  grid->addWidget(docs_caption_, 6, 0);
  grid->addWidget(txtDocs, 6, 1);
  news_caption_ = Caption(10, "Number of articles to maintain:", txtNews);
  grid->addWidget(news_caption_, 7, 0);
  grid->addWidget(txtNews, 7, 1);
  grid->addWidget(chkHtml5, 8, 0, 1, 2);
  grid->addWidget(Caption(11, "Language of the pages (en, de, fr-CA, ...):", txtLanguage), 9, 0);
  grid->addWidget(txtLanguage, 9, 1);
  grid->addWidget(BuildSpelling(languages), 10, 0, 1, 2);
  for (QWidget* hidden : {static_cast<QWidget*>(docs_caption_), static_cast<QWidget*>(txtDocs),
                          static_cast<QWidget*>(news_caption_), static_cast<QWidget*>(txtNews)}) {
    HideInPlace(hidden);
  }
  connect(chkTell, &QCheckBox::clicked, this, &AdvPage::CommentPageClicked);
  connect(chkHtml5, &QCheckBox::clicked, this, &AdvPage::Html5Clicked);
  connect(chkNews, &QCheckBox::toggled, this, [this] { ShowRssFields(); });
  connect(chkPages, &QCheckBox::toggled, this, [this] { ShowRssFields(); });
  for (QLineEdit* field : {txtSite, txtEditor, txtDocs, txtNews, txtLanguage}) {
    SelectOnFocus(field);
  }
}

void AdvPage::Load(const SetupValues& values) {
  txtSite->setText(Q(values.site));
  txtEditor->setText(Q(values.editor));
  chkTell->setChecked(values.comment_page);
  chkNews->setChecked(values.include_rss);
  chkPages->setChecked(values.entry_pages);
  chkHtml5->setChecked(values.html5);
  txtLanguage->setText(Q(values.language));
  chkHold->setChecked(values.hold_future);
  txtNews->setText(Q(values.articles));
  txtDocs->setText(Q(values.docs));
  ShowRssFields();
  stored_language_ = values.spell_language;
  const std::string shown = stored_language_.empty() ? default_language_ : stored_language_;
  int at = cboSpell->findData(Q(shown.empty() ? std::string("none") : shown));
  if (at < 0) {  // a dictionary since removed stays the choice until another is made
    cboSpell->insertItem(0, Q(shown + " (not installed)"), Q(shown));
    at = 0;
  }
  cboSpell->setCurrentIndex(at);
  shown_language_ = at;
}

QWidget* AdvPage::BuildSpelling(const std::vector<std::string>& languages) {
  cboSpell = new QComboBox;
  cboSpell->setObjectName("cboSpell");
  for (const std::string& language : languages) cboSpell->addItem(Q(language), Q(language));
  cboSpell->addItem("(no spell checking)", QStringLiteral("none"));
  auto* row = new QWidget;
  auto* layout = new QGridLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Caption(18, "Spelling:", cboSpell), 0, 0);
  layout->addWidget(cboSpell, 0, 1);
  layout->setColumnStretch(1, 1);
  if (languages.empty()) {
    auto* note = new QLabel(
        "No dictionary is installed. Install one for spell checking, such as hunspell-en-us "
        "(sudo apt install hunspell-en-us), and start the program again.");
    note->setObjectName("lblSpell");
    note->setWordWrap(true);
    layout->addWidget(note, 1, 0, 1, 2);
  }
  return row;
}

void AdvPage::Save(SetupValues& values) const {
  values.site = txtSite->text().toStdString();
  values.editor = txtEditor->text().toStdString();
  values.comment_page = chkTell->isChecked();
  values.include_rss = chkNews->isChecked();
  values.entry_pages = chkPages->isChecked();
  values.html5 = chkHtml5->isChecked();
  values.language = txtLanguage->text().toStdString();
  values.hold_future = chkHold->isChecked();
  values.docs = txtDocs->text().toStdString();
  values.articles = txtNews->text().toStdString();
  values.spell_language = cboSpell->currentIndex() == shown_language_
                              ? stored_language_
                              : cboSpell->currentData().toString().toStdString();
}

bool AdvPage::CommentPage() const { return chkTell->isChecked(); }

bool AdvPage::EntryPages() const { return chkPages->isChecked(); }

bool AdvPage::Html5() const { return chkHtml5->isChecked(); }

std::string AdvPage::Language() const { return core::Trim(txtLanguage->text().toStdString()); }

void AdvPage::ShowRssFields() {
  const bool news = chkNews->isChecked();
  const bool address = news || chkPages->isChecked();
  docs_caption_->setVisible(address);
  txtDocs->setVisible(address);
  news_caption_->setVisible(news);
  txtNews->setVisible(news);
}

}  // namespace quill::ui
