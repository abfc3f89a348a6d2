#include "site/comment_pages.h"

#include <gtest/gtest.h>

#include "site/contact_script.h"
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

TEST(ContactScript, SixtyNineLinesOfTheMailScript) {
  core::ProjectSettings settings = Titled("My Log");
  settings.Editor = "ann@example.org";
  testing::MemoryOutput output;
  WriteContactScript(settings, output);
  const Lines lines = output.Lines("contact.php");
  ASSERT_EQ(lines.size(), 69u);
  EXPECT_EQ(lines[0], "<?php");
  EXPECT_EQ(lines[1], "\t$default_destination_email = \"ann@example.org\";");
  EXPECT_EQ(lines[2], "\t$site_name = \"My Log\";");
  EXPECT_EQ(lines[16], "if($destination_email == \"you@your-domain.example\")");
  EXPECT_EQ(lines[18],
            "\techo \"Script Error:  This form processing script has not yet been correctly set "
            "up.<br>Please contact the webmaster.\";");
  EXPECT_EQ(lines[21],
            "if(!eregi(\"^[a-z0-9 _@, \\.\\-]+$\", $destination_email)) die(\"Error. Invalid "
            "Destination Email\");");
  EXPECT_EQ(lines[45], "\t\t$msg .= \"\\n\\n\".$key.\": \\n\";");
  EXPECT_EQ(lines[47], "\t\t\t\tfor ($n =0; $n < count($value); ++$n) {");
  EXPECT_EQ(lines[48], "\t\t\t$msg .= $value[$n].\"\\n   \";");
  EXPECT_EQ(lines[61], "mail(\"$destination_email\",\"$subject\",\"$msg\\n\",\"FROM: $email\");");
  EXPECT_EQ(lines[63], "if($followup_url != \"http://www.your-domain.example/thank-you.html\")");
  EXPECT_EQ(lines[68], "?>");

  settings.Editor = "";
  WriteContactScript(settings, output);
  EXPECT_EQ(output.Lines("contact.php")[1], "\t$default_destination_email = \"\";");
}

}  // namespace
}  // namespace quill::site
