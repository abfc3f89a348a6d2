#include "site/comment_pages.h"

#include <gtest/gtest.h>

#include "site/page_template.h"
#include "support/memory_output.h"

namespace quill::site {
namespace {

using Lines = std::vector<std::string>;

Lines FooterLines() {
  Lines lines;
  const std::string footer = BuildPageFooter();
  for (std::size_t at = 0;;) {
    const auto end = footer.find("\r\n", at);
    lines.push_back(footer.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return lines;
}

core::ProjectSettings Titled(std::string title) {
  core::ProjectSettings settings;
  settings.Title = std::move(title);
  return settings;
}

const Lines kHead = {
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">",
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">",
    "<head>",
};

TEST(CommentsPage, FortyLinesThenTheFooter) {
  testing::MemoryOutput output;
  output.files["comments.html"] = std::string(100000, 'x');  // replaced whole
  WriteCommentsPage(Titled("My Log"), output);
  Lines expected = kHead;
  expected.insert(
      expected.end(),
      {
          "<title>My Log: Comments Welcome</title>",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />",
          "<link rel=\"stylesheet\" href=\"default.css\" type=\"text/css\" />",
          "</head>",
          "<body>",
          "<div id=\"container\">",
          "\t<div id=\"header\">",
          "\t\t<h1>My Log</h1>",
          "\t</div>",
          "\t<div id=\"content\">",
          "\t<h3>&nbsp;Comment on My Log</h3>",
          "\t<form name=\"form1\" method=\"post\" action=\"contact.php\">",
          "\t<table width=\"75%\" border=\"0\" cellpadding=\"8\">",
          "\t<tr valign=\"top\">",
          "\t<td align=\"right\" class=\"screentext\">Your Name:&nbsp;</td>",
          "\t<td><input name=\"name\" type=\"text\" id=\"name\" size=\"48\"></td>",
          "\t</tr>",
          "\t<tr valign=\"top\">",
          "\t<td align=\"right\" class=\"screentext\">Your eMail:&nbsp;</td>",
          "\t<td><input name=\"email\" type=\"text\" id=\"email\" size=\"48\"></td>",
          "\t</tr>",
          "\t<tr valign=\"top\">",
          "\t<td align=\"right\" class=\"screentext\">Your Message:&nbsp;</td>",
          "\t<td><textarea name=\"message\" cols=\"48\" rows=\"16\" "
          "id=\"message\"></textarea></td>",
          "\t</tr>",
          "\t<tr valign=\"top\">",
          "\t<td>&nbsp;</td>",
          "\t<td>",
          "\t<input type=\"hidden\" name=\"subject\" value=\"My Log\" id=\"subject\" />",
          "\t<input type=\"submit\" name=\"Submit\" value=\"Send Email\">",
          "\t<input type=\"hidden\" name=\"required\" value=\"name email message\">",
          "\t<input name=\"Reset\" type=\"reset\" id=\"Reset\" value=\"Clear\">",
          "\t</td>",
          "\t</tr>",
          "\t</table>",
          "\t</form>",
          "\t</div>",
      });
  ASSERT_EQ(expected.size(), 40u);
  const Lines footer = FooterLines();
  expected.insert(expected.end(), footer.begin(), footer.end());
  EXPECT_EQ(output.Lines("comments.html"), expected);
}

// Markup stays as the user wrote it; on one line, and with &quot; inside the attribute.
TEST(CommentsPage, TitlesGoInAsTheyStand) {
  testing::MemoryOutput output;
  WriteCommentsPage(Titled("Fish & <i>\"Chips\"</i>\r\nLtd"), output);
  const Lines lines = output.Lines("comments.html");
  EXPECT_EQ(lines[3], "<title>Fish & <i>\"Chips\"</i> Ltd: Comments Welcome</title>");
  EXPECT_EQ(lines[31],
            "\t<input type=\"hidden\" name=\"subject\" value=\"Fish & <i>&quot;Chips&quot;</i> "
            "Ltd\" id=\"subject\" />");

  WriteCommentsPage(Titled(""), output);
  const Lines untitled = output.Lines("comments.html");
  EXPECT_EQ(untitled[3], "<title>: Comments Welcome</title>");
  EXPECT_EQ(untitled[10], "\t\t<h1></h1>");
  EXPECT_EQ(untitled[31], "\t<input type=\"hidden\" name=\"subject\" value=\"\" id=\"subject\" />");
}

TEST(MessagePage, SeventeenLinesThenTheFooter) {
  testing::MemoryOutput output;
  WriteMessagePage(Titled("My Log"), output);
  Lines expected = kHead;
  expected.insert(
      expected.end(),
      {
          "<title>My Log: Message Sent</title>",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />",
          "<link rel=\"stylesheet\" href=\"default.css\" type=\"text/css\" />",
          "</head>",
          "<body>",
          "<div id=\"container\">",
          "\t<div id=\"header\">",
          "\t\t<h1>My Log</h1>",
          "\t</div>",
          "\t<div id=\"content\">",
          "\t\t<h3>&nbsp;Comment on My Log</h3>",
          "\t\t<p><center>Your message has been sent<br />",
          "\t\tThank you</center></p>",
          "\t</div>",
      });
  ASSERT_EQ(expected.size(), 17u);
  const Lines footer = FooterLines();
  expected.insert(expected.end(), footer.begin(), footer.end());
  EXPECT_EQ(output.Lines("message.html"), expected);
}

}  // namespace
}  // namespace quill::site
