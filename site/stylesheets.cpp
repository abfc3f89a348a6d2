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

// A rule of two selectors: an id the classic markup and templates use, and a class the HTML5
// entries use, so either markup looks the same.
std::string Both(std::string_view id, std::string_view cls, std::string_view rest = "") {
  return std::string(id) + std::string(rest) + ", " + std::string(cls) + std::string(rest);
}

// Screens narrower than this stack the picture boxes and tighten the margins.
constexpr std::string_view kNarrow = "@media (max-width: 36em) {";

void AddRules(std::vector<std::string>& lines, std::initializer_list<Rule> rules,
              std::string_view indent = "\t") {
  for (const Rule& rule : rules) AddRule(lines, rule, indent);
}

void WriteHtml5BlogStylesheet(const core::ProjectSettings& settings, SiteOutput& output) {
  const std::string shading = CssColor(settings.Shading);
  const std::string font = CssColor(ReadableTextColor(settings.Shading, settings.FontColor));
  std::vector<std::string> lines;
  const std::string boxes =
      Both("#blog", ".blog", " .RBox") + ", " + Both("#blog", ".blog", " .LBox");
  AddRules(lines, {
                      {Both("#blog", ".blog"), {"padding-top: 1ex;", "padding-bottom: 5px;"}},
                      {Both("#blog", ".blog", " .date"),
                       {"background-color: " + shading + ";", "color: " + font + ";",
                        "padding: 4px 4px 4px 12px;", "font-weight: bold;"}},
                      {Both("#blog", ".blog", " .date a"), {"color: inherit;"}},
                      {Both("#blog", ".blog", " .stuff"),
                       {"margin-left: 0.75em;", "overflow-wrap: break-word;"}},
                      {Both("#blog", ".blog", " .stuff::after"),
                       {"content: \"\";", "display: block;", "clear: both;"}},
                      {Both("#blog", ".blog", " .RBox"),
                       {"float: right;", "max-width: 50%;", "margin: 0 0 1em 1em;"}},
                      {Both("#blog", ".blog", " .LBox"),
                       {"float: left;", "max-width: 50%;", "margin: 0 1em 1em 0;"}},
                      {Both("#blog", ".blog", " img"), {"max-width: 100%;", "height: auto;"}},
                      {Both("#blogNav", ".blogNav", " ul"),
                       {"list-style-type: none;", "margin: 0;", "padding: 0;", "display: flex;",
                        "flex-wrap: wrap;", "font-weight: bold;"}},
                      {Both("#blogNav", ".blogNav", " li"),
                       {"min-width: 6em;", "padding: 0.6em 10px;", "text-align: center;"}},
                      {Both("#blogNav", ".blogNav", " li a"),
                       {"color: #8A5555;", "text-decoration: none;"}},
                      {Both("#blogNav", ".blogNav", " li a:hover"),
                       {"color: #0000CC;", "text-decoration: underline;"}},
                  });
  lines.emplace_back(kNarrow);
  AddRule(lines, {"\t" + boxes, {"float: none;", "max-width: 100%;", "margin: 0 0 1em;"}}, "\t\t",
          "\t}");
  lines.emplace_back("}");
  WriteTextFile(output, core::kBlogStylesheet, lines, PageCharset::Utf8);
}

// The HTML5 default.css: fluid from the narrowest phone up to a column easy to read.
std::vector<std::string> Html5SiteRules(const std::string& shading, const std::string& font) {
  std::vector<std::string> lines;
  AddRules(
      lines,
      {
          {"*, *::before, *::after", {"box-sizing: border-box;"}},
          {"body",
           {"margin: 0;", "background-color: #CDCDCD;", "color: #202020;",
            "font-family: Verdana, Arial, Helvetica, sans-serif;", "font-size: 100%;",
            "line-height: 1.5;"}},
          {"#container", {"max-width: 60em;", "margin: 0 auto;", "background-color: #fafafa;"}},
          {"#header",
           {"background-color: " + shading + ";", "color: " + font + ";",
            "border: 1px solid #202020;", "padding: 0.5em 1em;"}},
          {"#header h1",
           {"font-size: 2em;", "line-height: 1.2;", "margin: 0.3em 0;",
            "overflow-wrap: break-word;"}},
          {"#content",
           {"color: #000;", "border: 1px solid #202020;", "border-top: 0;", "border-bottom: 0;",
            "padding: 1em;", "overflow-wrap: break-word;"}},
          {"#content::after", {"content: \"\";", "display: block;", "clear: both;"}},
          {"#footer",
           {"background-color: " + shading + ";", "color: " + font + ";",
            "border: 1px solid #202020;", "padding: 0.5em 1em;", "text-align: right;"}},
          {"#footer p", {"margin: 0;"}},
          {"#header a, #footer a", {"color: inherit;"}},
          {"#nav", {"background-color: #202020;"}},
          {"#nav .navmenu",
           {"list-style-type: none;", "margin: 0;", "padding: 0;", "display: flex;",
            "flex-wrap: wrap;"}},
          {"#nav .navmenu li",
           {"border-right: 1px solid #fff;", "padding: 0.6em 10px;", "color: #00CCFF;",
            "font-weight: bold;"}},
          {"#nav .navmenu a",
           {"color: #fafafa;", "text-decoration: none;", "font-weight: normal;"}},
          {"#nav .navmenu a:hover", {"color: #FF0;"}},
          {"#RightBox",
           {"float: right;", "max-width: 50%;", "margin: 5px;", "padding: 5px 10px 5px 5px;"}},
          {"#LeftBox",
           {"float: left;", "max-width: 50%;", "margin: 5px;", "padding: 5px 5px 5px 10px;"}},
          {"a", {"color: #000;", "text-decoration: underline;"}},
          {"h1", {"font-size: 1.6em;", "margin: 0.5em 0;"}},
          {"h2", {"font-size: 1.4em;", "margin: 0.8em 0 0.3em;"}},
          {"h3", {"font-size: 1.2em;", "margin: 0.8em 0 0.3em;"}},
          {"h4, h5, h6", {"font-size: 1.1em;", "margin: 0.7em 0 0.3em;"}},
          {"p", {"margin: 0 0 0.75em;"}},
          {"img, video, iframe, object, embed, svg, table", {"max-width: 100%;"}},
          {"img, video", {"height: auto;"}},
          {"pre", {"overflow-x: auto;", "white-space: pre-wrap;"}},
          {"input, textarea, select, button", {"font: inherit;", "max-width: 100%;"}},
          {"#content textarea, #content input[type=\"text\"], #content input[type=\"email\"]",
           {"width: 100%;"}},
          {".sent", {"text-align: center;"}},
      });
  return lines;
}

void WriteHtml5SiteStylesheet(const core::ProjectSettings& settings, SiteOutput& output) {
  const std::string shading = CssColor(settings.Shading);
  const std::string font = CssColor(ReadableTextColor(settings.Shading, settings.FontColor));
  std::vector<std::string> lines = Html5SiteRules(shading, font);
  lines.emplace_back(kNarrow);
  AddRule(lines, {"\t#content", {"padding: 0.75em;"}}, "\t\t", "\t}");
  AddRule(lines,
          {"\t#RightBox, #LeftBox", {"float: none;", "max-width: 100%;", "margin: 0 0 1em;"}},
          "\t\t", "\t}");
  lines.emplace_back("}");
  WriteTextFile(output, core::kSiteStylesheet, lines, PageCharset::Utf8);
}

}  // namespace

void WriteBlogStylesheet(const core::ProjectSettings& settings, SiteOutput& output) {
  if (settings.Html5 == 1) {
    WriteHtml5BlogStylesheet(settings, output);
    return;
  }
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
  if (settings.Html5 == 1) {
    WriteHtml5SiteStylesheet(settings, output);
    return;
  }
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
