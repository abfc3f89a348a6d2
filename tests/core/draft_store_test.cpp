#include "core/draft_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "core/quill_error.h"
#include "support/temp_dir.h"

namespace quill::core {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteFile;

const Stamp kMorning{2026, 12, 7, 9, 0, 0};
const Stamp kEvening{2026, 12, 7, 20, 30, 15};

#ifndef _WIN32
fs::perms Permissions(const std::string& path) {
  return fs::status(path).permissions() & fs::perms::all;
}
#endif

TEST(DraftStore, KeepsEachProjectsDraftsApartByteForByte) {
  TempDir dir;
  DraftStore drafts(dir.File("state/quillsmith"));
  const std::string nbsp = "one\xC2\xA0two \r\nthree\n";
  const std::string big(100 * 1024, 'x');
  drafts.KeepNewEntry("My Log", nbsp);
  drafts.KeepEdit("My Log", kMorning, big);
  drafts.KeepNewEntry("Other", "other text");

  EXPECT_EQ(drafts.NewEntry("My Log"), nbsp);
  EXPECT_EQ(drafts.NewEntry("MY LOG"), nbsp);  // project names ignore case
  EXPECT_EQ(drafts.Edit("My Log", kMorning), big);
  EXPECT_EQ(drafts.Edit("My Log", kEvening), std::nullopt);
  EXPECT_EQ(drafts.Edit("Other", kMorning), std::nullopt);
  EXPECT_EQ(drafts.NewEntry("Other"), "other text");
  EXPECT_EQ(drafts.NewEntry("Third"), std::nullopt);

  // Names that look like paths stay inside the drafts folder, and apart.
  const std::string drafts_folder = dir.File("state/quillsmith/drafts/");
  for (const char* name : {"..", "../My Log", "a/b", ".hidden", "My%20Log", "My Log "}) {
    const std::string folder = drafts.ProjectFolder(name);
    EXPECT_EQ(fs::path(folder).parent_path().parent_path().string() + "/", drafts_folder) << name;
    EXPECT_NE(folder, drafts.ProjectFolder("My Log")) << name;
    EXPECT_EQ(drafts.NewEntry(name), std::nullopt) << name;
  }
  const std::string long_name(300, 'n');
  EXPECT_LT(fs::path(drafts.ProjectFolder(long_name)).parent_path().filename().string().size(),
            200u);
  EXPECT_NE(drafts.ProjectFolder(long_name), drafts.ProjectFolder(long_name + "m"));

#ifndef _WIN32
  // Only the user can read them (on Windows the profile's folders keep others out).
  EXPECT_EQ(Permissions(dir.File("state/quillsmith")), fs::perms::owner_all);
  EXPECT_EQ(Permissions(drafts.ProjectFolder("My Log")), fs::perms::owner_all);
  EXPECT_EQ(Permissions(drafts.ProjectFolder("My Log") + "new-entry.txt"),
            fs::perms::owner_read | fs::perms::owner_write);
#endif
}

// Names a path or the system would read as something else each get a folder of their own,
// right inside the drafts folder: nothing lands beside or above it, and no two projects
// share one (names that differ only in letter case are one project). Names of spaces alone
// and the empty name are names like any other here.
TEST(DraftStore, EveryProjectNameGetsAFolderOfItsOwnInsideTheDrafts) {
  const std::vector<std::string> names = {
      ".",   "..",   "a/..", "../x", "x", "a",  "CON", "CON ",   "con.txt", "NUL", "aux",
      "prn", "com1", "LPT9", "   ",  " ", "a ", "a.",  "My Log", "a\\..",   "",
  };
  TempDir dir;
  DraftStore drafts(dir.File("state"));
  for (const std::string& name : names) drafts.KeepNewEntry(name, "draft of [" + name + "]");
  drafts.KeepNewEntry("con", "draft of [CON]");  // the same project as "CON"

  for (const std::string& name : names) {
    EXPECT_EQ(drafts.NewEntry(name), "draft of [" + name + "]") << "[" << name << "]";
  }
  std::set<std::string> folders;
  for (const auto& entry : fs::directory_iterator(dir.File("state/drafts"))) {
    EXPECT_TRUE(entry.is_directory()) << entry.path();
    EXPECT_TRUE(fs::exists(entry.path() / "new-entry.txt")) << entry.path();
    folders.insert(entry.path().filename().string());
  }
  EXPECT_EQ(folders.size(), names.size());
  // Nothing beside the drafts folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("state")), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(DraftStore, EmptyingDroppingAndMovingDrafts) {
  TempDir dir;
  DraftStore drafts(dir.Folder());
  drafts.KeepNewEntry("My Log", "text");
  drafts.KeepNewEntry("My Log", "");
  EXPECT_EQ(drafts.NewEntry("My Log"), std::nullopt);
  drafts.KeepNewEntry("My Log", "text");
  drafts.DropNewEntry("My Log");
  drafts.DropNewEntry("My Log");  // nothing there is no failure
  EXPECT_EQ(drafts.NewEntry("My Log"), std::nullopt);

  drafts.KeepEdit("My Log", kMorning, "");  // an entry emptied on purpose is a change
  EXPECT_EQ(drafts.Edit("My Log", kMorning), "");
  drafts.KeepEdit("My Log", kMorning, "changed");
  drafts.MoveEdit("My Log", kMorning, kEvening);
  EXPECT_EQ(drafts.Edit("My Log", kMorning), std::nullopt);
  EXPECT_EQ(drafts.Edit("My Log", kEvening), "changed");
  drafts.MoveEdit("My Log", kMorning, kEvening);  // no draft to move leaves the other alone
  EXPECT_EQ(drafts.Edit("My Log", kEvening), "changed");
  drafts.MoveEdit("My Log", kEvening, kEvening);  // re-dated to the same day
  EXPECT_EQ(drafts.Edit("My Log", kEvening), "changed");
  drafts.KeepEdit("My Log", kMorning, "moved back");  // over a draft left at the new stamp
  drafts.MoveEdit("My Log", kMorning, kEvening);
  EXPECT_EQ(drafts.Edit("My Log", kEvening), "moved back");
  EXPECT_EQ(drafts.Edit("My Log", kMorning), std::nullopt);
  drafts.DropEdit("My Log", kEvening);
  EXPECT_EQ(drafts.Edit("My Log", kEvening), std::nullopt);
  EXPECT_EQ(fs::directory_iterator(drafts.ProjectFolder("My Log")), fs::directory_iterator());
}

TEST(DraftStore, AFolderThatCannotBeMadeFailsWithItsName) {
  TempDir dir;
  DraftStore drafts(dir.File("state"));
  drafts.KeepNewEntry("My Log", "kept");
  fs::remove_all(dir.File("state/drafts"));
  WriteFile(dir.File("state/drafts"), "a file where the folder belongs");
  try {
    drafts.KeepNewEntry("My Log", "new");
    FAIL() << "no error";
  } catch (const QuillError& error) {
    EXPECT_NE(std::string(error.what()).find(dir.File("state/drafts")), std::string::npos)
        << error.what();
  }
  EXPECT_THROW(drafts.NewEntry("My Log"), QuillError);  // "Not a directory" is no "missing"
}

TEST(DraftStore, StateFolderFollowsXdgStateHome) {
  EXPECT_EQ(DefaultStateFolder("/x/state", "/home/ann"), "/x/state/quillsmith/");
  EXPECT_EQ(DefaultStateFolder("", "/home/ann"), "/home/ann/.local/state/quillsmith/");
  EXPECT_EQ(DefaultStateFolder(nullptr, "/home/ann"), "/home/ann/.local/state/quillsmith/");
}

}  // namespace
}  // namespace quill::core
