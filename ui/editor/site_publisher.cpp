#include "ui/editor/site_publisher.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "publish/process.h"
#include "publish/publish_rules.h"
#include "site/blog_pages.h"
#include "site/site_output.h"
#include "ui/app.h"
#include "ui/editor/frm_blog.h"
#include "ui/editor/single_window.h"
#include "ui/qt_text.h"
#include "ui/tab_order.h"

namespace quill::ui {

SitePublisher::SitePublisher(App& app, frmBlog& editor)
    : QObject(&editor), app_(app), editor_(editor) {
  bar_ = new QWidget;
  bar_->setObjectName("LinkBar");
  bar_->hide();
}

// The bar's controls come with the first problem, so a site whose links all lead somewhere
// adds no stop to the window's tab order.
void SitePublisher::FillBar() {
  label_ = new QLabel;
  label_->setObjectName("lblLinks");
  label_->setAccessibleName("Links that lead nowhere");
  show_ = new QPushButton("Show");
  show_->setObjectName("cmdLinks");
  show_->setToolTip("List the links that lead nowhere");
  auto* layout = new QHBoxLayout(bar_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label_);
  layout->addWidget(show_);
  layout->addStretch();
  QObject::connect(show_, &QPushButton::clicked, bar_, [this] { ShowProblems(); });
  TabInReadingOrder(editor_);  // Show takes its place under the buttons, not where it was made
}

std::int64_t SitePublisher::Check() {
  const check::CheckReport report = app_.Session().CheckSite();
  problems_.clear();
  for (const check::Finding& finding : report.findings) {
    if (finding.verdict == check::Finding::Verdict::Problem) problems_.push_back(finding);
  }
  if (!problems_.empty() && label_ == nullptr) FillBar();
  if (label_ != nullptr) label_->setText(Q(check::ProblemSummary(report.Problems())));
  bar_->setVisible(!problems_.empty());
  if (list_ && !list_->Unloaded()) list_->Show(problems_);
  return report.Problems();
}

void SitePublisher::ShowProblems() { BringForward(list_, app_, editor_)->Show(problems_); }

void SitePublisher::Output() {
  const core::ProjectSettings& project = app_.Project();
  site::DiskOutput output(project.OutputFolder);
  app_.Session().GenerateSite(output);
  const std::int64_t problems = Check();
  const QString found =
      problems > 0 ? Q(check::ProblemSummary(problems)) + " (Show lists them).\n\n" : QString();
  const MessageAnswer answer = app_.Services().ShowMessage(
      &editor_, "Cool!", "Blog Content has been Produced\n\n" + found + "You want to see it?",
      MessageIcon::Question, MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) {
    editor_.OpenInShell(Q(project.OutputFolder + site::PageName(project, 0, 0)));
  }
}

void SitePublisher::Synch() {
  if (const std::int64_t problems = Check(); problems > 0) {
    const MessageAnswer answer = app_.Services().ShowMessage(
        &editor_, "Synch", Q(check::ProblemSummary(problems)) + ".\n\nUpload anyway?",
        MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;
  }
  const publish::Command command =
      publish::UploaderCommand(app_.UploaderPath().toStdString(), app_.Project().ProjectName);
  const publish::LaunchResult result =
      app_.Services().RunAndWait(command.program, command.arguments);
  const std::string failure = publish::UploaderFailure(command.program, result);
  if (!failure.empty()) app_.Services().Oops(&editor_, Q(failure));
  // The uploader writes the upload stamps into the project's settings.
  app_.Session().Reload();
}

}  // namespace quill::ui
