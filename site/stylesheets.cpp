#include "site/stylesheets.h"

#include <initializer_list>

#include "core/file_names.h"
#include "site/color.h"

namespace quill::site {
namespace {

struct Rule {
  std::string selector;
  std::vector<std::string> declarations;
};

// Adds a rule: selector line, one indented line per declaration, closing line.
void AddRule(std::vector<std::string>& lines, const Rule& rule, std::string_view indent,
             std::string_view closing = "}") {
  lines.push_back(rule.selector + " {");
  for (const std::string& declaration : rule.declarations) {
    lines.push_back(std::string(indent) + declaration);
  }
  lines.emplace_back(closing);
}

// "#RRGGBB". Appended rather than written as "#" + ..., which GCC 12 at -O3 mistakes for
// an overlapping copy (-Wrestrict).
std::string CssColor(std::int32_t color) {
  std::string text = "#";
  text += ColorToCssHex(color);
  return text;
}

}  // namespace

void WriteBlogStylesheet(const core::ProjectSettings& settings, SiteOutput& output) {
  const std::string shading = CssColor(settings.Shading);
  const std::string font = CssColor(settings.FontColor);
  std::vector<std::string> lines;
  for (const Rule& rule : std::initializer_list<Rule>{
           {"#blog",
            {"padding-top: 1ex;", "padding-bottom: 5px;", "margin-left: 50px;",
             "margin-right: 50px;"}},
           {"#blog .date",
            {"background-color: " + shading + ";", "padding-top: 4px;", "padding-right: 4px;",
             "padding-bottom: 4px;", "padding-left: 12px;", "color: " + font + ";",
             "font-weight: bold;"}},
           {"#blog .stuff", {"margin-left: 20px;"}},
           {"#blog .RBox", {"float: right;", "margin-left: 20px;", "margin-bottom: 20px;"}},
           {"#blog .LBox", {"float: left;", "margin-right: 20px;", "margin-bottom: 20px;"}},
       }) {
    AddRule(lines, rule, "    ");
    lines.emplace_back();
  }
  for (const Rule& rule : std::initializer_list<Rule>{
           {"#blogNav",
            {"height:2em;", "max-height:2.4em;", "font-size:1em;", "list-style-type:none;",
             "margin:0;", "padding:0;", "font-weight: bold;"}},
           {"#blogNav li",
            {"float:left;", "margin:0;", "padding:0.6em 10px;", "width: 96px;",
             "text-align: center;", "display: inline;"}},
           {"#blogNav li a", {"text-decoration:none;", "color: #996666;"}},
           {"#blogNav li a:hover", {"color:#0000CC;", "text-decoration:none;"}},
       }) {
    AddRule(lines, rule, "\t");
  }
  WriteTextFile(output, core::kBlogStylesheet, lines);
}

void WriteSiteStylesheet(const core::ProjectSettings& settings, SiteOutput& output) {
  const std::string shading = CssColor(settings.Shading);
  const std::string font = CssColor(settings.FontColor);
  std::vector<std::string> lines;
  for (const Rule& rule : std::initializer_list<Rule>{
           {"#container",
            {"background-color:#fafafa;", "min-width:60em;", "position:absolute;", "width:800px;",
             "margin-top: 1em;", "margin-right: 100px;", "margin-bottom: 1em;",
             "margin-left: 100px;"}},
           {"#header",
            {"background-color: " + shading + ";", "border:1px solid #202020;",
             "color: " + font + ";", "font-size:2em;", "height:4em;", "padding-left:2em;"}},
           {"#content",
            {"border:1px solid #202020;", "border-bottom:0;", "border-top:0;", "color: #000;",
             "padding:1.5em;"}},
           {"#footer",
            {"border:1px solid #202020;", "border-top:0;", "padding:0.5em;", "text-align:right;",
             "background-color: " + shading + ";", "color: " + font + ";"}},
           {"#nav",
            {"background-color:#202020;", "height: 2.4em;", "max-height: 2.4em;",
             "font-size: 1em;"}},
           {"#nav .navmenu", {"list-style-type:none;", "margin:0;", "padding:0;"}},
           {"#nav .navmenu li",
            {"border-right:1px solid #fff;", "display:inline;", "float:left;", "margin:0 0.4em;",
             "padding:0.6em 10px;", "color: #00CCFF;", "font-weight: bold;"}},
           {"#nav .navmenu a", {"color:#fafafa;", "text-decoration:none;", "font-weight: normal;"}},
           {"#nav .navmenu a:hover", {"color:#FF0;", "text-decoration:none;"}},
           {"#RightBox",
            {"width: auto;", "float: right;", "padding-top: 5px;", "padding-right: 10px;",
             "padding-bottom: 5px;", "padding-left: 5px;", "margin: 5px;"}},
           {"#LeftBox",
            {"float: left;", "width: auto;", "margin: 5px;", "padding-top: 5px;",
             "padding-right: 5px;", "padding-bottom: 5px;", "padding-left: 10px;"}},
           {"a", {"color:#000;", "text-decoration:underline;"}},
           {"body",
            {"background-color:#CDCDCD;", "font-family:Verdana, Arial, Helvetica, sans-serif;",
             "font-size:0.75em;"}},
           {"h1", {"font-size:1.6em;", "margin:0.5em 0.5em 1em 0;"}},
           {"h2", {"font-size:1.2em;", "margin:0.8em 0.5em 0.3em 0.6em;"}},
           {"h3", {"font-size:1.1em;", "margin:0.8em 0.5em 0.3em 0.6em;"}},
           {"h4", {"font-size:1em;", "margin:0.7em 0.5em 0.3em 1em;"}},
           {"h5", {"font-size:0.9em;", "margin:0.6em 0.5em 0.2em 1.5em;"}},
           {"p", {"margin:1px 0.5em 0.5em 1.5em;"}},
       }) {
    // The left box's closing brace is indented like its declarations.
    AddRule(lines, rule, "\t", rule.selector == "#LeftBox" ? "\t}" : "}");
  }
  WriteTextFile(output, core::kSiteStylesheet, lines);
}

}  // namespace quill::site
