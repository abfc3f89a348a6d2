#include <gtest/gtest.h>

#include "golden_files.h"
#include "site/color.h"
#include "site/comment_pages.h"
#include "site/page_template.h"
#include "site/stylesheets.h"
#include "site/support_files.h"
#include "support/memory_output.h"

namespace quill::site {
namespace {

using Lines = std::vector<std::string>;

// A golden file's lines (stored with LF; the generator writes CR LF, which Lines checks).
Lines GoldenLines(std::string_view text) {
  Lines lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.emplace_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

core::ProjectSettings Html5Project() {
  core::ProjectSettings settings;
  settings.Title = "My Log";
  settings.Html5 = 1;
  settings.IncludeRSS = 1;
  settings.Docs = "http://www.example.com/blog/";
  return settings;
}

TEST(Html5SupportFiles, TheTemplateStylesheetsAndCommentFormAsWrittenByHand) {
  core::ProjectSettings settings = Html5Project();
  testing::MemoryOutput output;
  WriteDefaultTemplate(settings, output);
  WriteSiteStylesheet(settings, output);
  WriteBlogStylesheet(settings, output);
  settings.Language = "de";
  WriteCommentsPage(settings, output);
  EXPECT_EQ(output.Lines("template.html"), GoldenLines(kGolden_html5_template_html));
  EXPECT_EQ(output.Lines("default.css"), GoldenLines(kGolden_html5_default_css));
  EXPECT_EQ(output.Lines("quillsmith.css"), GoldenLines(kGolden_html5_quillsmith_css));
  EXPECT_EQ(output.Lines("comments.html"), GoldenLines(kGolden_html5_comments_html));
}

TEST(Html5SupportFiles, TextIsUtf8AndEscapedInAttributes) {
  core::ProjectSettings settings = Html5Project();
  settings.Title = "Cr\u00e8me \"br\u00fbl\u00e9e\"";
  settings.Language = "fr\"";
  testing::MemoryOutput output;
  WriteDefaultTemplate(settings, output);
  WriteMessagePage(settings, output);
  const Lines page = output.Lines("template.html");
  EXPECT_EQ(page[1], "<html lang=\"fr&quot;\">");
  EXPECT_EQ(page[5],
            "<title>Cr\xC3\xA8me \"br\xC3\xBBl\xC3\xA9"
            "e\"</title>");
  EXPECT_EQ(page[6],
            "<meta name=\"description\" content=\"Cr\xC3\xA8me &quot;br\xC3\xBBl\xC3\xA9"
            "e&quot;\">");
  const Lines message = output.Lines("message.html");
  EXPECT_EQ(message[5],
            "<title>Cr\xC3\xA8me \"br\xC3\xBBl\xC3\xA9"
            "e\": Message Sent</title>");
  EXPECT_EQ(message[17], "\t<p class=\"sent\">Your message has been sent<br>");
  EXPECT_EQ(message.back(), "</html>");
}

TEST(Html5SupportFiles, TheIconIsListedOnlyForHtml5ProjectsAndDrawnInTheThemeColours) {
  EXPECT_EQ(SupportFileNames(false), (Lines{"template.html", "default.css", "quillsmith.css"}));
  EXPECT_EQ(SupportFileNames(true, true),
            (Lines{"template.html", "default.css", "favicon.svg", "comments.html", "message.html",
                   "contact.php", "quillsmith.css"}));
  core::ProjectSettings settings = Html5Project();
  settings.Shading = 255;  // red
  testing::MemoryOutput output;
  ASSERT_TRUE(WriteSupportFile("favicon.svg", settings, output));
  const Lines icon = output.Lines("favicon.svg");
  EXPECT_EQ(icon.front(), "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 32 32\">");
  EXPECT_NE(icon[1].find("fill=\"#FF0000\""), std::string::npos);
  EXPECT_EQ(icon.back(), "</svg>");
}

TEST(ReadableTextColor, TheThemeColourStaysWhileItCanBeReadElseBlackOrWhite) {
  const std::int32_t grey = 0xE0E0E0;
  EXPECT_EQ(ReadableTextColor(grey, 0x202020), 0x202020);
  EXPECT_EQ(ReadableTextColor(grey, 0xC0C0C0), 0);             // too pale on pale grey
  EXPECT_EQ(ReadableTextColor(0x400000, 0x500000), 0xFFFFFF);  // dark blue on dark blue
  // #767676 on white is the palest grey that passes 4.5:1; #777777 fails.
  EXPECT_EQ(ReadableTextColor(0xFFFFFF, 0x767676), 0x767676);
  EXPECT_EQ(ReadableTextColor(0xFFFFFF, 0x777777), 0);
  // The default font colour (a system colour) resolves to black.
  EXPECT_EQ(ReadableTextColor(grey, static_cast<std::int32_t>(0x80000012u)), 0);
}

}  // namespace
}  // namespace quill::site
