#include "core/settings_store.h"

#include <gtest/gtest.h>

#include "core/sqlite_registry.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace quill::core {
namespace {

using testing::FixedClock;
using testing::TempDir;

constexpr std::string_view kProductKey = SettingsStore::kProductKey;
const std::string kProjectKey = SettingsStore::ProjectKey("My Log");

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() { store_.Settings().ProjectName = "My Log"; }

  void Put(std::string_view name, std::string_view text) {
    registry_.WriteRegValue(RegRoot::CurrentUser, kProjectKey, name,
                            RegValue::Text(std::string(text)));
  }
  std::string Stored(std::string_view name) {
    return registry_.ReadRegValue(RegRoot::CurrentUser, kProjectKey, name).text;
  }
  void ListProjects(std::initializer_list<const char*> names) {
    int i = 0;
    for (const char* name : names) store_.SetUserValue(SettingsStore::ListValueName(i++), name);
  }
  std::vector<std::string> ProjectList() {
    std::vector<std::string> names;
    for (const auto& value : registry_.EnumRegValues(RegRoot::CurrentUser, kProductKey)) {
      if (value.name != "Last") names.push_back(value.name + "=" + store_.GetUserValue(value.name));
    }
    return names;
  }

  TempDir dir_;
  SqliteRegistry registry_{dir_.File("registry.db")};
  FixedClock clock_;
  SettingsStore store_{registry_, clock_};
  ProjectSettings& settings_ = store_.Settings();
};

TEST_F(SettingsStoreTest, AProjectWithoutAKeyLoadsAllDefaults) {
  settings_.Title = "left over from another project";
  settings_.MaxPageSize = 3;
  store_.LoadSettings(false);

  ProjectSettings expected;
  expected.ProjectName = "My Log";
  expected.DatabasePath = "Blog.mdb";
  EXPECT_EQ(settings_.Title, "");
  EXPECT_EQ(settings_.MaxPageSize, 25);
  EXPECT_EQ(settings_.Articles, 10);
  EXPECT_EQ(settings_.Shading, 14737632);
  EXPECT_EQ(static_cast<std::uint32_t>(settings_.FontColor), 0x80000012u);
  EXPECT_EQ(settings_.DateFormat, 0);
  EXPECT_EQ(settings_.TimeFormat, 1);
  EXPECT_EQ(settings_.Separator, 1);
  EXPECT_EQ(settings_.PrintTime, 1);
  EXPECT_EQ(settings_.UseIndex, 1);
  EXPECT_EQ(settings_.IncludeRSS, 0);
  EXPECT_EQ(settings_.CommentPage, 0);
  EXPECT_EQ(settings_.PostFTP, 0);
  EXPECT_EQ(settings_.FileNames, "blog");
  EXPECT_EQ(settings_.OutputFolder, "");
  EXPECT_EQ(settings_.DatabasePath, "Blog.mdb");
  EXPECT_EQ(settings_.OutDate, "");
}

TEST_F(SettingsStoreTest, NumbersLoadFromLooseTextRoundingHalvesToEven) {
  const std::pair<const char*, int> cases[] = {
      {"abc", 25},   {" 30 ", 30}, {"2.5", 2},       {"3.5", 4},       {"-2.5", -2},
      {"2.51", 3},   {"", 25},     {"1e2", 100},     {"+7", 7},        {"\t12\t", 12},
      {"12abc", 25}, {"inf", 25},  {"0x10", 25},     {"99999", 32767}, {"-1e300", -32768},
      {".5", 0},     {"-", 25},    {"1e999", 32767},
  };
  for (const auto& [text, expected] : cases) {
    Put("MaxPageSize", text);
    store_.LoadSettings(false);
    EXPECT_EQ(settings_.MaxPageSize, expected) << "stored as \"" << text << "\"";
  }
}

TEST_F(SettingsStoreTest, ColoursLoadInTheir32BitRange) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"-2147483630", 0x80000012u},  // the system colour for button text
      {"2147483666", 0x80000012u},   // the same bits written unsigned
      {"16777215", 0x00FFFFFFu},     {"99999999999", 0x7FFFFFFFu},
      {"-99999999999", 0x80000000u}, {"grey", 14737632u},
  };
  for (const auto& [text, expected] : cases) {
    Put("Shading", text);
    store_.LoadSettings(false);
    EXPECT_EQ(static_cast<std::uint32_t>(settings_.Shading), expected) << text;
  }
}

TEST_F(SettingsStoreTest, TemplateGivesTheOutputFolderAndDatabasePath) {
  Put("Template", "/home/ann/Web/Blog/template.html");
  store_.LoadSettings(false);
  EXPECT_EQ(settings_.OutputFolder, "/home/ann/Web/Blog/");
  EXPECT_EQ(settings_.DatabasePath, "/home/ann/Web/Blog/Blog.mdb");

  Put("Template", "template.html");
  store_.LoadSettings(false);
  EXPECT_EQ(settings_.OutputFolder, "");
  EXPECT_EQ(settings_.DatabasePath, "Blog.mdb");
}

TEST(OutputFolder, SeparatorsOfThePlatform) {
#ifdef _WIN32
  EXPECT_EQ(OutputFolderOf("C:\\Web\\Blog\\template.html"), "C:\\Web\\Blog\\");
  EXPECT_EQ(OutputFolderOf("C:/Web/Blog/template.html"), "C:/Web/Blog/");
#else
  EXPECT_EQ(OutputFolderOf("C:\\Web\\Blog\\template.html"), "");
  EXPECT_EQ(OutputFolderOf("/template.html"), "/");
#endif
}

TEST_F(SettingsStoreTest, TextsLoadTrimmedAndBlankFileNamesFallBackToBlog) {
  Put("Title", "   Notes from the shed   ");
  Put("FileNames", "   ");
  // A title longer than any fixed buffer still reads back whole.
  const std::string long_path = "/srv/" + std::string(600, 'p') + "/template.html";
  Put("Template", long_path);
  store_.LoadSettings(false);
  EXPECT_EQ(settings_.Title, "Notes from the shed");
  EXPECT_EQ(settings_.FileNames, "blog");
  EXPECT_EQ(settings_.Template, long_path);
  EXPECT_EQ(settings_.DatabasePath, "/srv/" + std::string(600, 'p') + "/Blog.mdb");
}

TEST_F(SettingsStoreTest, HoldFutureIsStoredOnlyOnceSetAndNewProjectsStartWithItOn) {
  store_.LoadSettings(true);
  EXPECT_EQ(settings_.HoldFuture, core::kNotStored);
  EXPECT_EQ(Stored("HoldFuture"), "");
  settings_.HoldFuture = 0;
  store_.LoadSettings(true);
  EXPECT_EQ(Stored("HoldFuture"), "0");
  store_.StartNewProject("Fresh");
  EXPECT_EQ(
      registry_.ReadRegValue(RegRoot::CurrentUser, SettingsStore::ProjectKey("Fresh"), "HoldFuture")
          .text,
      "1");
}

TEST_F(SettingsStoreTest, EntryPagesAreStoredOnlyOnceSetAndNewProjectsStartWithThemOn) {
  store_.LoadSettings(true);
  EXPECT_EQ(settings_.EntryPages, core::kNotStored);
  EXPECT_EQ(Stored("EntryPages"), "");  // an older project stays without the value
  settings_.EntryPages = 0;
  store_.LoadSettings(true);
  EXPECT_EQ(Stored("EntryPages"), "0");
  EXPECT_EQ(settings_.EntryPages, 0);

  store_.StartNewProject("Fresh");
  EXPECT_EQ(
      registry_.ReadRegValue(RegRoot::CurrentUser, SettingsStore::ProjectKey("Fresh"), "EntryPages")
          .text,
      "1");
  store_.StartNewProject(settings_.ProjectName);  // made before: left alone
  EXPECT_EQ(Stored("EntryPages"), "0");
}

TEST_F(SettingsStoreTest, Html5AndLanguageAreStoredOnlyOnceSetAndNewProjectsStartWithThem) {
  store_.LoadSettings(true);
  EXPECT_EQ(settings_.Html5, core::kNotStored);
  EXPECT_EQ(Stored("Html5"), "");
  EXPECT_EQ(Stored("Language"), "");  // an empty language is "en" and stays unstored
  settings_.Html5 = 1;
  settings_.Language = "de-CH";
  store_.LoadSettings(true);
  EXPECT_EQ(settings_.Html5, 1);
  EXPECT_EQ(Stored("Language"), "de-CH");
  settings_.Language.clear();  // back to the default: cleared, not left as it was
  store_.LoadSettings(true);
  EXPECT_EQ(Stored("Language"), "");
  EXPECT_EQ(settings_.Language, "");

  store_.StartNewProject("Fresh");
  const auto fresh = [&](const char* name) {
    return registry_.ReadRegValue(RegRoot::CurrentUser, SettingsStore::ProjectKey("Fresh"), name)
        .text;
  };
  EXPECT_EQ(fresh("Html5"), "1");
  EXPECT_EQ(fresh("Language"), "en");
}

TEST_F(SettingsStoreTest, TheSpellLanguageIsStoredOnlyOnceChosen) {
  store_.LoadSettings(true);
  EXPECT_EQ(settings_.SpellLanguage, "");
  for (const auto& value : registry_.EnumRegValues(RegRoot::CurrentUser, kProjectKey)) {
    EXPECT_NE(value.name, "SpellLanguage");  // an older project stays without the value
  }
  settings_.SpellLanguage = "none";
  store_.LoadSettings(true);
  EXPECT_EQ(Stored("SpellLanguage"), "none");
  EXPECT_EQ(settings_.SpellLanguage, "none");
  settings_.SpellLanguage.clear();  // the system's language again
  store_.LoadSettings(true);
  EXPECT_EQ(Stored("SpellLanguage"), "");
  EXPECT_EQ(settings_.SpellLanguage, "");
}

TEST_F(SettingsStoreTest, SavingWritesEverySettingInOrderAndReadsItBack) {
  settings_.Template = " /web/template.html ";
  settings_.Title = "Shed";
  settings_.MaxPageSize = -4;
  settings_.FileNames = "news";
  settings_.OutDate = "990101";  // stamps are not saved with the settings
  store_.LoadSettings(true);

  std::vector<std::string> names;
  for (const auto& value : registry_.EnumRegValues(RegRoot::CurrentUser, kProjectKey)) {
    names.push_back(value.name);
  }
  const std::vector<std::string> order = {
      "Template",   "Title",       "DateFormat", "TimeFormat", "Separator", "MaxPageSize",
      "IncludeRSS", "CommentPage", "Site",       "Docs",       "Editor",    "Master",
      "Articles",   "Shading",     "FontColor",  "PrintTime",  "PostFTP",   "FtpHost",
      "FtpUser",    "FtpPass",     "FtpPath",    "UseIndex",   "FileNames",   "ImageWidth"};
  EXPECT_EQ(names, order);
  EXPECT_EQ(Stored("FontColor"), "-2147483630");
  EXPECT_EQ(Stored("MaxPageSize"), "-4");
  EXPECT_EQ(Stored("Template"), "/web/template.html");

  EXPECT_EQ(static_cast<std::uint32_t>(settings_.FontColor), 0x80000012u);
  EXPECT_EQ(settings_.MaxPageSize, -4);
  EXPECT_EQ(settings_.FileNames, "news");
  EXPECT_EQ(settings_.OutDate, "");
  EXPECT_EQ(settings_.OutputFolder, "/web/");
}

TEST_F(SettingsStoreTest, StampsComeFromTheClock) {
  clock_.Set({2027, 1, 2, 23, 4, 5});
  store_.StampSave();
  EXPECT_EQ(settings_.SavDate, "270102");
  EXPECT_EQ(settings_.SavTime, "230405");
  EXPECT_EQ(Stored("SavDate"), "270102");
  EXPECT_EQ(Stored("SavTime"), "230405");
  EXPECT_EQ(Stored("OutDate"), "");

  clock_.Set({2030, 11, 30, 0, 0, 59});
  store_.StampOutput();
  store_.LoadSettings(false);
  EXPECT_EQ(settings_.OutDate, "301130");
  EXPECT_EQ(settings_.OutTime, "000059");
  EXPECT_EQ(settings_.SavDate, "270102");
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesReadAsEmpty) {
  registry_.WriteRegValue(RegRoot::CurrentUser, kProductKey, "Last", RegValue::Dword(7));
  registry_.WriteRegValue(RegRoot::CurrentUser, kProjectKey, "Title", RegValue::Dword(7));
  EXPECT_EQ(store_.GetUserValue("Last"), "");
  EXPECT_EQ(store_.GetProjectValue("Title"), "");
  EXPECT_TRUE(store_.SetUserValue("Last", "  My Log "));
  EXPECT_EQ(store_.GetUserValue("last"), "My Log");
}

TEST_F(SettingsStoreTest, WithoutAProjectNameNothingReachesTheProductKey) {
  settings_.ProjectName = "";
  EXPECT_FALSE(store_.SetProjectValue("Title", "x"));
  store_.SetUserValue("Title", "user value");
  EXPECT_EQ(store_.GetProjectValue("Title"), "");
  store_.LoadSettings(true);
  EXPECT_EQ(store_.GetUserValue("Title"), "user value");
  EXPECT_EQ(registry_.EnumRegValues(RegRoot::CurrentUser, kProductKey).size(), 1u);
}

TEST_F(SettingsStoreTest, DeletingTheSecondOfFourProjectsClosesTheGap) {
  ListProjects({"Alpha", "Beta", "Gamma", "Delta"});
  store_.SetUserValue("Last", "Beta");
  settings_.ProjectName = "Beta";
  store_.SetProjectValue("Title", "B");
  store_.SetProjectValue("Docs", "https://b.example/");

  store_.DeleteProject("Beta");

  EXPECT_EQ(ProjectList(), (std::vector<std::string>{"00=Alpha", "01=Gamma", "02=Delta"}));
  EXPECT_EQ(store_.GetUserValue("Last"), "Beta");  // left for the chooser to cope with
  EXPECT_TRUE(
      registry_.EnumRegValues(RegRoot::CurrentUser, SettingsStore::ProjectKey("Beta")).empty());
  EXPECT_FALSE(registry_.DeleteRegKey(RegRoot::CurrentUser, SettingsStore::ProjectKey("Beta")));
}

TEST_F(SettingsStoreTest, DeletingAtTheEndsOfTheList) {
  ListProjects({"Alpha", "Beta", "Gamma"});
  store_.DeleteProject("Gamma");
  EXPECT_EQ(ProjectList(), (std::vector<std::string>{"00=Alpha", "01=Beta"}));
  store_.DeleteProject("Alpha");
  EXPECT_EQ(ProjectList(), (std::vector<std::string>{"00=Beta"}));
  store_.DeleteProject("Beta");
  EXPECT_TRUE(ProjectList().empty());
}

TEST_F(SettingsStoreTest, DeletingAnUnlistedProjectKeepsTheWholeList) {
  ListProjects({"Alpha", "Beta"});
  store_.DeleteProject("Omega");
  store_.DeleteProject("");
  EXPECT_EQ(ProjectList(), (std::vector<std::string>{"00=Alpha", "01=Beta"}));
}

TEST(SettingsStoreSharing, EditorAndUploaderOnOneRegistryFileKeepEachOthersValues) {
  TempDir dir;
  SqliteRegistry editor_registry(dir.File("registry.db"));
  SqliteRegistry uploader_registry(dir.File("registry.db"));
  FixedClock clock;
  SettingsStore editor(editor_registry, clock);
  SettingsStore uploader(uploader_registry, clock);
  editor.Settings().ProjectName = "My Log";
  uploader.Settings().ProjectName = "My Log";

  editor.Settings().Title = "Shed";
  editor.LoadSettings(true);
  uploader.LoadSettings(false);
  uploader.SetProjectValue("FtpDate", "261207");
  uploader.SetProjectValue("FtpTime", "101010");
  editor.StampSave();
  editor.Settings().FtpHost = "ftp.example";
  editor.LoadSettings(true);

  EXPECT_EQ(editor.Settings().FtpDate, "261207");
  EXPECT_EQ(editor.Settings().SavDate, "261207");
  uploader.LoadSettings(false);
  EXPECT_EQ(uploader.Settings().Title, "Shed");
  EXPECT_EQ(uploader.Settings().FtpHost, "ftp.example");
  EXPECT_EQ(uploader.Settings().FtpTime, "101010");
  EXPECT_EQ(uploader.Settings().SavTime, "090503");
}

}  // namespace
}  // namespace quill::core
