#include "ui/setup/adv_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt_text.h"

namespace quill::ui {

AdvPage::AdvPage() {
  auto* grid = new QGridLayout(this);
  txtSite = Field("txtSite");
  txtEditor = Field("txtEditor");
  chkTell = Box("chkTell", "Include comments page and link for user feedback");
  chkNews = Box("chkNews", "Generate XML for RSS?");
  txtDocs = Field("txtDocs");
  txtNews = CountField("txtNews");
  grid->addWidget(Caption(4, "Site URL:", txtSite), 0, 0);
  grid->addWidget(txtSite, 0, 1);
  grid->addWidget(Caption(6, "Editor Email Address:", txtEditor), 1, 0);
  grid->addWidget(txtEditor, 1, 1);
  grid->addWidget(chkTell, 2, 0, 1, 2);
  grid->addWidget(chkNews, 3, 0, 1, 2);
  docs_caption_ = Caption(5, "Blog URL (if different from site URL):", txtDocs);
  grid->addWidget(docs_caption_, 4, 0);
  grid->addWidget(txtDocs, 4, 1);
  news_caption_ = Caption(10, "Number of articles to maintain:", txtNews);
  grid->addWidget(news_caption_, 5, 0);
  grid->addWidget(txtNews, 5, 1);
  for (QWidget* hidden : {static_cast<QWidget*>(docs_caption_), static_cast<QWidget*>(txtDocs),
                          static_cast<QWidget*>(news_caption_), static_cast<QWidget*>(txtNews)}) {
    HideInPlace(hidden);
  }
  connect(chkTell, &QCheckBox::clicked, this, &AdvPage::CommentPageClicked);
  connect(chkNews, &QCheckBox::toggled, this, [this] { ShowRssFields(); });
  for (QLineEdit* field : {txtSite, txtEditor, txtDocs, txtNews}) SelectOnFocus(field);
}

void AdvPage::Load(const SetupValues& values) {
  txtSite->setText(Q(values.site));
  txtEditor->setText(Q(values.editor));
  chkTell->setChecked(values.comment_page);
  chkNews->setChecked(values.include_rss);
  txtNews->setText(Q(values.articles));
  txtDocs->setText(Q(values.docs));
  ShowRssFields();
}

void AdvPage::Save(SetupValues& values) const {
  values.site = txtSite->text().toStdString();
  values.editor = txtEditor->text().toStdString();
  values.comment_page = chkTell->isChecked();
  values.include_rss = chkNews->isChecked();
  values.docs = txtDocs->text().toStdString();
  values.articles = txtNews->text().toStdString();
}

bool AdvPage::CommentPage() const { return chkTell->isChecked(); }

void AdvPage::ShowRssFields() {
  const bool on = chkNews->isChecked();
  for (QWidget* widget : {static_cast<QWidget*>(docs_caption_), static_cast<QWidget*>(txtDocs),
                          static_cast<QWidget*>(news_caption_), static_cast<QWidget*>(txtNews)}) {
    widget->setVisible(on);
  }
}

}  // namespace quill::ui
