// quillsmith-build run as a user would run it, on a profile of its own: the registry file
// elsewhere, the Windows registry (below a test key) on Windows.

#include <expat.h>

#include "quillsmith_build_fixture.h"

namespace quill {
namespace {

TEST_F(QuillsmithBuildTest, BuildsTheSiteAndStampsTheOutput) {
  testing::WriteFile(site_ + "template.html", "<h1>BlogTitle</h1>\r\nBlogContent\r\n");
  {
    store::EntryStore entries(settings_);
    entries.CurrentEntry = {{2026, 12, 6, 22, 15, 7}, "Hello"};
    entries.SaveEntry();
    entries.CurrentEntry = {{2026, 12, 7, 8, 0, 0}, "World"};
    entries.SaveEntry();
  }
  const Outcome run = Quillsmith({"My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("Built 2 entries into 1 page (", 0), 0u) << run.out;
  EXPECT_NE(run.out.find(site_), std::string::npos);
  EXPECT_NE(ReadFile(site_ + "index.html").find("<p>World</p>"), std::string::npos);
  EXPECT_NE(ReadFile(site_ + "rss.xml").find("<title>World</title>"), std::string::npos);
  EXPECT_EQ(Stored("OutDate").size(), 6u);
  EXPECT_EQ(Stored("OutTime").size(), 6u);
}

// The text of every <link> and <guid> of the feed's items, as a strict reader reads them,
// with whether each guid says it is a permanent link; an error when the feed is not
// well-formed.
struct FeedLinks {
  std::vector<std::string> links;
  std::vector<std::string> guids;
  int permanent = 0;
  std::string error;
  std::string* text = nullptr;
  bool in_item = false;
};

FeedLinks ReadFeedLinks(const std::string& document) {
  FeedLinks feed;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &feed);
  XML_SetElementHandler(
      parser,
      [](void* data, const XML_Char* name, const XML_Char** attributes) {
        auto& f = *static_cast<FeedLinks*>(data);
        const std::string element = name;
        if (element == "item") f.in_item = true;
        if (!f.in_item) return;
        if (element == "link") f.text = &f.links.emplace_back();
        if (element == "guid") {
          f.text = &f.guids.emplace_back();
          for (int i = 0; attributes[i] != nullptr; i += 2) {
            if (std::string(attributes[i]) == "isPermaLink" &&
                std::string(attributes[i + 1]) == "true") {
              ++f.permanent;
            }
          }
        }
      },
      [](void* data, const XML_Char* name) {
        auto& f = *static_cast<FeedLinks*>(data);
        f.text = nullptr;
        if (std::string(name) == "item") f.in_item = false;
      });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
    auto& f = *static_cast<FeedLinks*>(data);
    if (f.text != nullptr) f.text->append(text, static_cast<std::size_t>(length));
  });
  if (XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) ==
      XML_STATUS_ERROR) {
    feed.error = XML_ErrorString(XML_GetErrorCode(parser));
  }
  XML_ParserFree(parser);
  return feed;
}

TEST_F(QuillsmithBuildTest, WithEntryPagesOnEveryFeedItemPointsAtItsPage) {
  Project().EntryPages = 1;
  Project().Docs = "https://ann.example/blog/";
  settings_.LoadSettings(true);
  testing::WriteFile(site_ + "template.html",
                     "<title>Log</title>\r\n<h1>BlogTitle</h1>\r\nBlogTOC\r\nBlogContent\r\n");
  {
    store::EntryStore entries(settings_);
    entries.CurrentEntry = {{2026, 12, 6, 22, 15, 7}, "Tom & <b>Jerry</b> caf\xC3\xA9"};
    entries.SaveEntry();
    entries.CurrentEntry = {{2026, 12, 7, 8, 0, 0}, "World"};
    entries.SaveEntry();
    entries.CurrentEntry = {{2025, 2, 28, 23, 59, 59}, ""};
    entries.SaveEntry();
  }
  const Outcome run = Quillsmith({"My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\n  and 3 entry pages (3 new or changed), 3 archive pages, 1 sitemap "
                         "file\n"),
            std::string::npos)
      << run.out;

  const FeedLinks feed = ReadFeedLinks(ReadFile(site_ + "rss.xml"));
  EXPECT_EQ(feed.error, "");
  EXPECT_EQ(feed.links, feed.guids);
  EXPECT_EQ(feed.links.size(), 3u);
  EXPECT_EQ(feed.permanent, 3);
  for (const std::string& link : feed.links) {
    const std::string base = "https://ann.example/blog/";
    ASSERT_EQ(link.rfind(base, 0), 0u) << link;
    EXPECT_TRUE(std::filesystem::is_regular_file(site_ + link.substr(base.size()))) << link;
  }
  for (const char* name :
       {"archive.html", "archive-2026.html", "archive-2025.html", "sitemap.xml"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(site_ + name)) << name;
  }
}

TEST_F(QuillsmithBuildTest, WritesOnlyTheMissingSupportFiles) {
  Project().CommentPage = 1;
  settings_.LoadSettings(true);
  testing::WriteFile(site_ + "template.html", "mine");

  Outcome run = Quillsmith({"--support-files", "my log"});
  EXPECT_EQ(run.status, 0) << run.err;
  for (const char* name :
       {"default.css", "comments.html", "message.html", "contact.php", "quillsmith.css"}) {
    EXPECT_NE(run.out.find(site_ + name), std::string::npos) << name;
    EXPECT_TRUE(std::filesystem::exists(site_ + name)) << name;
  }
  EXPECT_EQ(run.out.find("template.html"), std::string::npos);
  EXPECT_EQ(ReadFile(site_ + "template.html"), "mine");
  EXPECT_EQ(Stored("OutDate"), "");

  run = Quillsmith({"--support-files", "My Log"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Every support file is already in " + site_ + "\n");
}

TEST_F(QuillsmithBuildTest, FailuresSayWhyAndStampNothing) {
  // No template.
  Outcome run = Quillsmith({"My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("page template " + site_ + "template.html"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(site_ + "index.html"));

  // A page that cannot be written: a folder stands where it should go.
  testing::WriteFile(site_ + "template.html", "BlogContent\r\n");
  std::filesystem::create_directory(site_ + "index.html");
  run = Quillsmith({"My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(site_ + "index.html"), std::string::npos) << run.err;
  EXPECT_EQ(Stored("OutDate"), "");

  run = Quillsmith({"Nobody"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no project named \"Nobody\""), std::string::npos) << run.err;

  settings_.SetUserValue("01", "Unset");
  run = Quillsmith({"--support-files", "Unset"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no output folder"), std::string::npos) << run.err;
}

TEST_F(QuillsmithBuildTest, AMissingOutputFolderStopsTheBuildButTheSupportFilesMakeIt) {
  std::filesystem::remove_all(site_);
  Outcome run = Quillsmith({"My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("quillsmith-build: The output folder " + site_ + " does not exist", 0),
            0u)
      << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;  // one message
  EXPECT_FALSE(std::filesystem::exists(site_));

  run = Quillsmith({"--support-files", "My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(site_ + "template.html"));

  testing::WriteFile(home_.File("plain-file"), "x");
  Project().Template = home_.File("plain-file") + "/blog/template.html";
  settings_.LoadSettings(true);
  run = Quillsmith({"--support-files", "My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("quillsmith-build: Cannot create the folder " + home_.File("plain-file") +
                              "/blog/: ",
                          0),
            0u)
      << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(QuillsmithBuildTest, LeftoverTempFilesGoWithTheNextBuild) {
  testing::WriteFile(site_ + "template.html", "BlogContent\r\n");
  testing::WriteFile(site_ + "blog015.html.tmp-0000427c", "left by a killed build");
  testing::WriteFile(site_ + "notes.tmp", "the user's own");
  ASSERT_EQ(Quillsmith({"My Log"}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(site_ + "blog015.html.tmp-0000427c"));
  EXPECT_TRUE(std::filesystem::exists(site_ + "notes.tmp"));
}

#ifndef _WIN32
TEST_F(QuillsmithBuildTest, SettingsFileFailuresAreNamed) {
  testing::WriteFile(site_ + "template.html", "BlogContent\r\n");
  const std::string registry = registry_.File();

  // Read-only: the site is built, but without the output time the run has failed.
  std::filesystem::permissions(registry, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
  testing::AsOrdinaryUser(registry_.ConfigHome());
  Outcome run = Quillsmith({"My Log"}, testing::AsOrdinaryUserArguments(home_.Path()));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("output time could not be recorded: Cannot write the settings file " +
                         registry + ": attempt to write a readonly database"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Stored("OutDate"), "");

  std::filesystem::remove(registry);
  testing::WriteFile(registry, std::string(4096, 'x'));
  run = Quillsmith({"My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Cannot use the settings file " + registry + ": file is not a database"),
            std::string::npos)
      << run.err;

  std::filesystem::remove(registry);
  std::filesystem::create_directory(registry);
  run = Quillsmith({"My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Cannot use the settings file " + registry), std::string::npos) << run.err;

  const std::string file = home_.File("config-file");
  testing::WriteFile(file, "");
  run = Quillsmith({"My Log"}, {"/usr/bin/env", "XDG_CONFIG_HOME=" + file});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(file + "/quillsmith/registry.db: unable to open database file (Not a "
                                "directory)"),
            std::string::npos)
      << run.err;
}
#endif

#if QUILL_LINK_CHECK
TEST_F(QuillsmithBuildTest, CheckSaysWhetherEveryLinkLeadsSomewhere) {
  testing::WriteFile(site_ + "template.html", "<h1>BlogTitle</h1>\r\nBlogContent\r\n");
  {
    store::EntryStore entries(settings_);
    entries.CurrentEntry = {{2026, 12, 6, 22, 15, 7}, "See <a href=\"photo.jpg\">this</a>"};
    entries.SaveEntry();
  }
  Outcome run = Quillsmith({"--check", "My Log"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out.rfind("Built 1 entries into 1 page (", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nindex.html, entry 2026-12-06 22:15:07: photo.jpg: no such file\n"
                         "2 pages read, 1 reference: 1 problem, 0 not checked, 0 external "
                         "addresses not fetched.\n"),
            std::string::npos)
      << run.out;

  // Checked as it stands, without building: nothing is written, the stamp stays.
  testing::WriteFile(site_ + "photo.jpg", "jpeg");
  const std::string stamped = Stored("OutTime");
  std::filesystem::remove(site_ + "rss.xml");
  run = Quillsmith({"--check-only", "My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "1 page read, 1 reference: 0 problems, 0 not checked, 0 external addresses "
            "not fetched.\n");
  EXPECT_FALSE(std::filesystem::exists(site_ + "rss.xml"));
  EXPECT_EQ(Stored("OutTime"), stamped);

  EXPECT_EQ(Quillsmith({"--external", "My Log"}).status, 2);
  EXPECT_EQ(Quillsmith({"--check", "--support-files", "My Log"}).status, 2);
  std::filesystem::remove_all(site_);
  run = Quillsmith({"--check-only", "My Log"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("The output folder " + site_ + " does not exist."), std::string::npos)
      << run.err;
}

// Entry pages, the archive, the sitemap and the feed's items all link to entry pages: every
// such link the generator writes leads somewhere, and a missing entry page is named by each.
TEST_F(QuillsmithBuildTest, CheckFollowsEntryPagesTheArchiveAndTheSitemap) {
  Project().EntryPages = 1;
  Project().Docs = "https://ann.example/blog/";
  settings_.LoadSettings(true);
  testing::WriteFile(site_ + "template.html",
                     "<title>Log</title>\r\n<h1>BlogTitle</h1>\r\nBlogTOC\r\nBlogContent\r\n");
  {
    store::EntryStore entries(settings_);
    entries.CurrentEntry = {{2025, 2, 28, 23, 59, 59}, "Old <a href=\"#top\">news</a>"};
    entries.SaveEntry();
    entries.CurrentEntry = {{2026, 12, 6, 22, 15, 7}, "See <a href=\"photo.jpg\">this</a>"};
    entries.SaveEntry();
    entries.CurrentEntry = {{2026, 12, 7, 8, 0, 0}, "World"};
    entries.SaveEntry();
  }
  Outcome run = Quillsmith({"--check", "My Log"});
  EXPECT_EQ(run.status, 1) << run.err;
  const std::string photo = ", entry 2026-12-06 22:15:07: photo.jpg: no such file\n";
  EXPECT_NE(
      run.out.find("\n2026-12-06-221507.html" + photo + "index.html" + photo + "9 pages read, "),
      std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(": 2 problems, 0 not checked, 0 external addresses not fetched.\n"),
            std::string::npos)
      << run.out;

  testing::WriteFile(site_ + "photo.jpg", "jpeg");
  std::filesystem::remove(site_ + "2026-12-07-080000.html");
  run = Quillsmith({"--check-only", "My Log"});
  EXPECT_EQ(run.status, 1);
  const std::string page = "2026-12-07-080000.html: no such file\n";
  const std::string address = "https://ann.example/blog/" + page;
  for (const std::string& line :
       {"2026-12-06-221507.html: " + page, "archive-2026.html: " + page, "archive.html: " + page,
        "index.html: " + page, "rss.xml: " + address, "sitemap.xml: " + address}) {
    EXPECT_NE(("\n" + run.out).find("\n" + line), std::string::npos) << line << run.out;
  }
  EXPECT_EQ(run.out.find("2025-02-28-235959.html: 2026"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("archive-2025.html: "), std::string::npos) << run.out;
}
#endif

#ifndef _WIN32
// (The Windows build's SQLite has no full-text search.)
TEST_F(QuillsmithBuildTest, SearchListsTheEntriesHoldingEveryWordNewestFirst) {
  {
    store::EntryStore entries(settings_);
    entries.CurrentEntry = {{2026, 12, 6, 22, 15, 7}, "Cr\xC3\xA8me soup\r\nwith <b>le</b>eks"};
    entries.SaveEntry();
    entries.CurrentEntry = {{2026, 12, 7, 8, 0, 0}, "Leek soup"};
    entries.SaveEntry();
    entries.CurrentEntry = {{2026, 12, 8, 9, 30, 0}, "Bread\r\n<a href=\"soup.html\">recipe</a>"};
    entries.SaveEntry();
  }
  Outcome run = Quillsmith({"--search", "SOUP", "My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "2026-12-07 08:00:00\tLeek soup\n"
            "2026-12-06 22:15:07\tCr\xC3\xA8me soup\n");
  run = Quillsmith({"--search", "leeks creme", "My Log"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "2026-12-06 22:15:07\tCr\xC3\xA8me soup\n");
  EXPECT_TRUE(std::filesystem::exists(site_ + "Blog.mdb-search"));

  run = Quillsmith({"--search", "href", "My Log"});  // inside a tag
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");

  run = Quillsmith({"--search", " ?! ", "My Log"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("no word to look for"), std::string::npos) << run.err;
  run = Quillsmith({"--search", "soup", "Nobody"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("no project named \"Nobody\""), std::string::npos) << run.err;
  run = Quillsmith({"My Log", "--search"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--search needs the words"), std::string::npos) << run.err;
}
#endif

TEST_F(QuillsmithBuildTest, CommandLine) {
  Outcome run = Quillsmith({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: quillsmith-build PROJECT", 0), 0u);
  run = Quillsmith({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "quillsmith-build 1.0.142\n");
  // Usage errors exit 2, as quillpush's do; 1 stays "could not build".
  EXPECT_EQ(Quillsmith({}).status, 2);
  EXPECT_EQ(Quillsmith({"--frobnicate", "My Log"}).status, 2);
  EXPECT_EQ(Quillsmith({"My Log", "Other"}).status, 2);
}

}  // namespace
}  // namespace quill
