#include "check/link_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quill::check {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAreArray;

class LinkCheckTest : public ::testing::Test {
 protected:
  LinkCheckTest() {
    fs::create_directories(site_);
    options_.blog_address = "https://example.org/blog/";
    options_.site_address = "https://example.org/";
  }

  void Write(const std::string& name, const std::string& bytes) {
    const fs::path path = fs::path(site_) / name;
    fs::create_directories(path.parent_path());
    testing::WriteFile(path.string(), bytes);
  }

  // The page's lines joined with CR LF, as the generator writes them.
  static std::string Page(const std::vector<std::string>& lines) {
    std::string page;
    for (const std::string& line : lines) page += line + "\r\n";
    return page;
  }

  // A styled entry block, as the blog pages lay it out.
  static std::vector<std::string> Entry(const std::string& date, const std::string& text) {
    return {"<div id=\"blog\">", "<div class=\"date\">" + date + "</div>", "<div class=\"stuff\">",
            text, "</div></div>"};
  }

  CheckReport Check() { return CheckSite(site_, options_); }

  testing::TempDir dir_;
  std::string site_ = dir_.File("site") + "/";
  CheckOptions options_;
};

TEST_F(LinkCheckTest, EachFaultIsReportedOnceAndEveryGoodReferencePasses) {
  std::vector<std::string> index = {
      "<html><head><title>My Log</title>",
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\" />",
      "<link rel=\"stylesheet\" href=\"default.css\" type=\"text/css\" />",
      "<link rel=\"alternate\" href=\"https://example.org/blog/rss.xml\" type=\"text/xml\" />",
      "</head><body>",
      "<div id=\"blogNav\"><ul><li>[ <a href=\"blog1.html\">prev</a> ]</li><li>[ <a "
      "href=\"comments.html\">comment</a> ]</li></ul></div>"};
  for (const auto& entries : {
           Entry("<a href=\"2026-12-06-221507.html\">Sunday, December 06, 2026 at 10:15 PM</a>",
                 "<p>See <a href=\"photo.jpg\">this</a>, <img src=\"Photo.JPG\"> and <a "
                 "href=\"blog1.html#nowhere\">that</a></p><p><a href=\"#here\">here</a> <img "
                 "srcset=\"images/pic.png 1x, gone.png 2x\"></p>"),
           Entry(
               "Saturday, December 05, 2026 at 08:00 AM",
               "<p id=\"here\"><a href=\"../outside.html\">up</a> <a href=\"linked.html\">link</a> "
               "<a href=\"javascript:void(0)\">js</a> <a href=\"https://other.example/page\">o</a> "
               "<a href=\"/shop/\">shop</a> <a href=\"caf\xE9.html\">caf\xE9</a></p>"),
       }) {
    index.insert(index.end(), entries.begin(), entries.end());
  }
  index.push_back(
      "<p><a href=\"docs/\">docs</a> <a href=\"empty/\">empty</a> <a href=\"Blog.mdb\">db</a> "
      "<a href=\"#missing\">m</a> <a href=\"https://example.org/blog/docs/guide.pdf\">guide</a> "
      "<a href=\"Pic%20one.png\">pic</a> <a href=\"pic%20one.png\">pic</a> "
      "<a href=\"https://other.example/page\">again</a></p>");
  index.push_back("</body></html>");
  Write("index.html", Page(index));
  Write("blog1.html",
        Page({"<html><head><meta charset=\"utf-8\"><title>My Log</title></head><body>",
              "<strong>Friday, December 04, 2026 at 09:00 AM</strong>",
              "<p><a href=\"index.html#blogNav\">nav</a> <a "
              "href=\"caf\xC3\xA9.html\">caf\xC3\xA9</a> <a href=\"gone.html\">gone</a></p>",
              "</body></html>"}));
  std::vector<std::string> entry_page = {"<html><body>"};
  for (const std::string& line : Entry("Sunday, December 06, 2026 at 10:15 PM",
                                       "<p><a href=\"index.html#nav\">top</a></p>")) {
    entry_page.push_back(line);
  }
  entry_page.push_back("</body></html>");
  Write("2026-12-06-221507.html", Page(entry_page));
  Write("comments.html", Page({"<link rel=\"stylesheet\" href=\"default.css\" />",
                               "<form name=\"form1\" method=\"post\" action=\"contact.php\">"}));
  Write("docs/index.html", "<a href=\"../index.html\">back</a> <a href=\"guide.pdf\">g</a>");
  Write("rss.xml", Page({"<?xml version=\"1.0\"?>", "<rss version=\"2.0\">", "<channel>",
                         "<link>https://example.org/blog/</link>", "<item>",
                         "<link>https://example.org/blog/blog1.html</link>",
                         "<guid>https://example.org/blog/#057</guid>", "</item>", "<item>",
                         "<link>https://example.org/blog/2026-12-06-221507.html</link>",
                         "<guid isPermaLink=\"true\">https://example.org/blog/"
                         "2026-12-06-000000.html</guid>",
                         "</item>", "</channel>", "</rss>"}));
  Write("sitemap.xml",
        Page({"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
              "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">",
              "<url><loc>https://example.org/blog/index.html</loc></url>",
              "<url><loc> https://example.org/blog/old.html </loc></url>", "</urlset>"}));
  for (const char* file :
       {"photo.jpg", "images/pic.png", "docs/guide.pdf", "Pic one.png", "default.css",
        "contact.php", "empty/notes.txt", "Blog.mdb", "caf\xC3\xA9.html"}) {
    Write(file, "x");
  }
  Write("template.html", "<a href=\"never.html\">BlogContent</a>");
  // Outside the output folder, behind links: never read, or their faults would show.
  testing::WriteFile(dir_.File("outside.html"), "<a href=\"secret.html\">secret</a>");
  fs::create_directories(dir_.File("elsewhere"));
  testing::WriteFile(dir_.File("elsewhere/page.html"), "<a href=\"hidden.html\">hidden</a>");
  fs::create_symlink(dir_.File("outside.html"), site_ + "linked.html");
  fs::create_directory_symlink(dir_.File("elsewhere"), site_ + "shared");

  const CheckReport report = Check();
  const std::string first = "index.html, entry 2026-12-06 22:15:07: ";
  const std::string second = "index.html, entry of Saturday, December 05, 2026 at 08:00 AM: ";
  const std::vector<std::string> expected = {
      "2026-12-06-221507.html, entry 2026-12-06 22:15:07: index.html#nav: no element with "
      "id nav in index.html",
      "blog1.html, entry of Friday, December 04, 2026 at 09:00 AM: gone.html: no such file",
      first + "Photo.JPG: differs only in letter case from photo.jpg",
      first + "blog1.html#nowhere: no element with id nowhere in blog1.html",
      first + "gone.png: no such file",
      second + "linked.html: a symbolic link, which is not uploaded",
      "index.html: empty/: no index.html in empty/",
      "index.html: Blog.mdb: never uploaded",
      "index.html: #missing: no element with id missing in index.html",
      "index.html: pic%20one.png: differs only in letter case from Pic one.png",
      "rss.xml: https://example.org/blog/2026-12-06-000000.html: no such file",
      "sitemap.xml: https://example.org/blog/old.html: no such file",
      "not checked: " + second + "../outside.html: above the output folder",
      "not checked: " + second + "javascript:void(0): a javascript: address",
      "not checked: " + second +
          "/shop/: outside the blog, on a part of the site this project does not build",
      "not checked: linked.html: a symbolic link: not followed, and not uploaded",
      "not checked: shared: a symbolic link: not followed, and not uploaded",
      "external, not fetched: https://other.example/page (2 references, first in " +
          second.substr(0, second.size() - 2) + ")",
      "8 pages read, 39 references: 12 problems, 5 not checked, 1 external address not "
      "fetched.",
  };
  EXPECT_THAT(ReportLines(report), ElementsAreArray(expected));
  EXPECT_EQ(report.Problems(), 12);
}

// Problems as (page, entry, reference) for tests that look at some of them.
std::vector<std::string> Problems(const CheckReport& report) {
  std::vector<std::string> problems;
  for (const Finding& finding : report.findings) {
    if (finding.verdict != Finding::Verdict::Problem) continue;
    problems.push_back(finding.page + " " + std::to_string(finding.entry) + " " +
                       finding.reference.substr(0, 40));
  }
  return problems;
}

TEST_F(LinkCheckTest, MalformedEntriesAreCheckedPastTheirFaults) {
  const std::string long_href(10'000, 'x');
  std::vector<std::string> page = {"<html><body><p>"};
  for (const auto& entry : {
           Entry("1", "<p>An <b>unclosed tag, a stray < sign, <a href=noquotes.html>bare</a></p>"),
           Entry("2", "<p><a href=\"open-quote.html>never closed</a> <div><table><tr></p>"),
           Entry("3", "<p><script>document.write('<a href=\"in-script.html\">')</p>"),
           Entry("4",
                 "<p><a href=\"after.html\">after</a> <a href=\"" + long_href + "\">long</a></p>"),
       }) {
    page.insert(page.end(), entry.begin(), entry.end());
  }
  page.push_back("<a href=\"frame-after.html\">frame</a></body></html>");
  Write("index.html", Page(page));
  // 12 MB of entry text, its one link at the very end.
  Write("big.html", Page(Entry("5", "<p>" + std::string(12 << 20, 'w') +
                                        " <a href=\"big-end.html\">end</a></p>")));

  const CheckReport report = Check();
  const std::vector<std::string> expected = {
      "big.html 0 big-end.html",
      "index.html 0 noquotes.html",
      "index.html 1 open-quote.html>never closed</a> <div><t",
      "index.html 3 after.html",
      "index.html 3 " + long_href.substr(0, 40),
      "index.html -1 frame-after.html"};
  EXPECT_THAT(Problems(report), ElementsAreArray(expected));
  // What a browser shows of the overlong reference: its start and its length.
  const std::vector<std::string> lines = ReportLines(report);
  EXPECT_EQ(lines[4], "index.html, entry of 4: " + long_href.substr(0, 160) +
                          "\xE2\x80\xA6 (10000 characters): no such file");
}

}  // namespace
}  // namespace quill::check
