#include "site/comment_pages.h"

#include "core/text.h"
#include "site/page_template.h"
#include "site/xml_text.h"

namespace quill::site {
namespace {

// The head and page header both pages share; `title_suffix` completes the title element.
std::vector<std::string> PageStart(const std::string& title, std::string_view title_suffix) {
  return {
      std::string(kDoctypeLine),
      std::string(kHtmlLine),
      "<head>",
      "<title>" + title + std::string(title_suffix) + "</title>",
      std::string(kCharsetLine),
      std::string(kSiteStylesheetLine),
      "</head>",
      "<body>",
      "<div id=\"container\">",
      "\t<div id=\"header\">",
      "\t\t<h1>" + title + "</h1>",
      "\t</div>",
      "\t<div id=\"content\">",
  };
}

// The same for HTML5 pages, up to the opening of the page's main part.
std::vector<std::string> Html5PageStart(const core::ProjectSettings& settings,
                                        const std::string& title, std::string_view title_suffix) {
  std::vector<std::string> lines =
      Html5Head(settings, title + std::string(title_suffix), "Comment on " + title);
  lines.insert(lines.end(), {
                                "</head>",
                                "<body>",
                                "<div id=\"container\">",
                                "\t<header id=\"header\">",
                                "\t\t<h1>" + title + "</h1>",
                                "\t</header>",
                                "\t<main id=\"content\">",
                                "\t<h2>Comment on " + title + "</h2>",
                            });
  return lines;
}

// comments.html in HTML5: each field with its label, the same fields posted to contact.php.
void WriteHtml5CommentsPage(const core::ProjectSettings& settings, SiteOutput& output) {
  const std::string title = core::OneLine(settings.Title);
  std::vector<std::string> lines = Html5PageStart(settings, title, ": Comments Welcome");
  lines.insert(
      lines.end(),
      {
          "\t<form id=\"form1\" method=\"post\" action=\"contact.php\">",
          "\t<p><label for=\"name\">Your Name:</label><br>",
          "\t<input name=\"name\" type=\"text\" id=\"name\" size=\"48\" autocomplete=\"name\" "
          "required></p>",
          "\t<p><label for=\"email\">Your eMail:</label><br>",
          "\t<input name=\"email\" type=\"email\" id=\"email\" size=\"48\" "
          "autocomplete=\"email\" required></p>",
          "\t<p><label for=\"message\">Your Message:</label><br>",
          "\t<textarea name=\"message\" cols=\"48\" rows=\"16\" id=\"message\" "
          "required></textarea></p>",
          "\t<p><input type=\"hidden\" name=\"subject\" value=\"" + AttributeText(title) + "\">",
          "\t<input type=\"hidden\" name=\"required\" value=\"name email message\">",
          "\t<input type=\"submit\" name=\"Submit\" value=\"Send Email\">",
          "\t<input name=\"Reset\" type=\"reset\" id=\"Reset\" value=\"Clear\"></p>",
          "\t</form>",
          "\t</main>",
          BuildHtml5Footer(),
      });
  WriteTextFile(output, "comments.html", lines, PageCharset::Utf8);
}

void WriteHtml5MessagePage(const core::ProjectSettings& settings, SiteOutput& output) {
  const std::string title = core::OneLine(settings.Title);
  std::vector<std::string> lines = Html5PageStart(settings, title, ": Message Sent");
  lines.insert(lines.end(), {
                                "\t<p class=\"sent\">Your message has been sent<br>",
                                "\tThank you</p>",
                                "\t</main>",
                                BuildHtml5Footer(),
                            });
  WriteTextFile(output, "message.html", lines, PageCharset::Utf8);
}

}  // namespace

void WriteCommentsPage(const core::ProjectSettings& settings, SiteOutput& output) {
  if (settings.Html5 == 1) {
    WriteHtml5CommentsPage(settings, output);
    return;
  }
  const std::string title = core::OneLine(settings.Title);
  std::vector<std::string> lines = PageStart(title, ": Comments Welcome");
  lines.insert(lines.end(),
               {
                   "\t<h3>&nbsp;Comment on " + title + "</h3>",
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
                   "\t<input type=\"hidden\" name=\"subject\" value=\"" + AttributeText(title) +
                       "\" id=\"subject\" />",
                   "\t<input type=\"submit\" name=\"Submit\" value=\"Send Email\">",
                   "\t<input type=\"hidden\" name=\"required\" value=\"name email message\">",
                   "\t<input name=\"Reset\" type=\"reset\" id=\"Reset\" value=\"Clear\">",
                   "\t</td>",
                   "\t</tr>",
                   "\t</table>",
                   "\t</form>",
                   "\t</div>",
                   BuildPageFooter(),
               });
  WriteTextFile(output, "comments.html", lines);
}

void WriteMessagePage(const core::ProjectSettings& settings, SiteOutput& output) {
  if (settings.Html5 == 1) {
    WriteHtml5MessagePage(settings, output);
    return;
  }
  const std::string title = core::OneLine(settings.Title);
  std::vector<std::string> lines = PageStart(title, ": Message Sent");
  lines.insert(lines.end(), {
                                "\t\t<h3>&nbsp;Comment on " + title + "</h3>",
                                "\t\t<p><center>Your message has been sent<br />",
                                "\t\tThank you</center></p>",
                                "\t</div>",
                                BuildPageFooter(),
                            });
  WriteTextFile(output, "message.html", lines);
}

}  // namespace quill::site
