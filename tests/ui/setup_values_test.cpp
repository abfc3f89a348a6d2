#include "ui/setup/setup_values.h"

#include <gtest/gtest.h>

#include "ui/setup/setup_rules.h"

namespace quill::ui {
namespace {

core::ProjectSettings Stored() {
  core::ProjectSettings project;
  project.Template = "/srv/blog/template.html";
  project.OutputFolder = "/srv/blog/";
  project.Title = "  My Log ";
  project.DateFormat = 3;
  project.TimeFormat = 7;  // no such format
  project.Separator = 5;   // no such mark
  project.MaxPageSize = 40;
  project.Site = " https://ann.example/ ";
  project.Editor = " ann@example.org";
  project.Master = "old@example.org";
  project.CommentPage = 1;
  project.IncludeRSS = 1;
  project.Docs = "https://ann.example/blog/ ";
  project.Articles = 12;
  project.Shading = 255;
  project.PostFTP = 1;
  project.FtpHost = " ftp.example ";
  project.FtpPass = " secret ";
  project.UseIndex = 0;
  project.FileNames = " diary ";
  project.OutDate = "261207";
  return project;
}

TEST(SetupValues, WhatTheDialogShowsIsWhatItSaves) {
  const core::ProjectSettings stored = Stored();
  const SetupValues values = SetupValues::Of(stored);
  EXPECT_EQ(values.title, "My Log");
  EXPECT_EQ(values.output_folder, "/srv/blog/");
  EXPECT_EQ(values.time_format, -1);
  EXPECT_EQ(values.separator, -1);
  EXPECT_EQ(values.page_size, "40");
  EXPECT_EQ(values.editor, "ann@example.org");
  EXPECT_EQ(values.ftp_pass, " secret ");  // the FTP fields show what is stored

  core::ProjectSettings saved = stored;
  SetupValues edited = values;
  edited.time_format = 2;
  edited.page_size = "1e2kb";
  edited.articles = "99999";
  edited.output_folder = " /srv/other/ ";
  values.ApplyTo(saved);
  EXPECT_EQ(saved.Template, stored.Template);
  EXPECT_EQ(saved.Title, "My Log");
  EXPECT_EQ(saved.DateFormat, 3);
  EXPECT_EQ(saved.Separator, 5);  // no mark chosen: the stored one stays
  EXPECT_EQ(saved.MaxPageSize, 40);
  EXPECT_EQ(saved.Articles, 12);
  EXPECT_EQ(saved.Site, "https://ann.example/");
  EXPECT_EQ(saved.Docs, "https://ann.example/blog/");
  EXPECT_EQ(saved.Editor, "ann@example.org");
  EXPECT_EQ(saved.Master, "ann@example.org");
  EXPECT_EQ((std::vector<int>{saved.CommentPage, saved.IncludeRSS, saved.PostFTP, saved.UseIndex,
                              saved.PrintTime}),
            (std::vector<int>{1, 1, 1, 0, 1}));
  EXPECT_EQ(saved.FtpHost, "ftp.example");
  EXPECT_EQ(saved.FtpPass, "secret");
  EXPECT_EQ(saved.FileNames, " diary ");  // the page name is taken as the list gives it
  EXPECT_EQ(saved.Shading, 255);          // colours and stamps are not the dialog's
  EXPECT_EQ(saved.OutDate, "261207");

  edited.ApplyTo(saved);
  EXPECT_EQ(saved.OutputFolder, "/srv/other/");
  EXPECT_EQ(saved.Template, "/srv/other/template.html");
  EXPECT_EQ(saved.TimeFormat, 2);
  EXPECT_EQ(saved.MaxPageSize, 100);
  EXPECT_EQ(saved.Articles, 32767);
}

// Blanks make a title as typed, so another page may show, but not once saved (trimmed).
TEST(SetupValues, AProjectNeedsAnOutputFolderAndATitle) {
  SetupValues values = SetupValues::Of(Stored());
  EXPECT_EQ(values.Missing(), "");
  values.title = "   ";
  EXPECT_EQ(values.Missing(), "");
  core::ProjectSettings saved = Stored();
  values.ApplyTo(saved);
  EXPECT_EQ(MissingRequirement(saved.OutputFolder, saved.Title), "Blog Title REQUIRED!");
  values.title = "";
  EXPECT_EQ(values.Missing(), "Blog Title REQUIRED!");
  values.output_folder = "";
  EXPECT_EQ(values.Missing(), "Output Folder REQUIRED!");
  values.title = "My Log";
  EXPECT_EQ(values.Missing(), "Output Folder REQUIRED!");
}

}  // namespace
}  // namespace quill::ui
