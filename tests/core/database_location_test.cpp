#include "commands/database_location.h"

#include <gtest/gtest.h>

#include "settings/profile_file.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Texts = std::vector<std::string>;

// The loads are only recorded here ("load:" and the path box's text); what
// a load does is tested with the loader.
class DatabaseLocationTest : public testing::Test {
 protected:
  std::string stored() const { return ReadIniValue(Path::FromGbk(settings), "config", "data", 10240); }

  test::TempFolder dir;
  test::FakeWindow window;
  std::string desktop = "C:\\Users\\op\\Desktop";
  std::function<void()> onLoad;
  DatabaseLocation location{window, window, window, test::PathOf(dir.path()), [this] { return Path::FromGbk(desktop); },
                            [this] {
                              window.events.push_back("load:" + window.path);
                              if (onLoad) onLoad();
                            }};
  const std::string settings = dir.core() + "\\config.ini";
  const std::string chosen = "C:\\Users\\op\\Desktop\\" + G("网吧") + "\\lwdiskless.db";
};

TEST_F(DatabaseLocationTest, FirstRunAsksForAFileAndCreatesTheSettings) {
  location.LoadConfiguredDatabase();
  EXPECT_EQ(window.events, (Texts{"show:", "load:", "dialog"}));
  ASSERT_EQ(window.dialogs.size(), 1u);
  EXPECT_EQ(window.dialogs[0].filter,
            G("所有数据库(*.db)|*.db|云更新(lwdiskless.db)|lwdiskless.db|网维大师(barserver.db)|barserver.db|"
              "机器列表文本(*.txt;*.csv)|*.txt;*.csv|Excel 工作簿(*.xlsx)|*.xlsx|所有文件(*.*)|*.*"));
  EXPECT_EQ(window.dialogs[0].initialFolder, desktop + "\\");
  EXPECT_EQ(window.dialogs[0].fileName, "");
  EXPECT_EQ(test::ReadBytes(dir / "config.ini"), "[config]\r\ndata=\r\n");  // although cancelled
}

TEST_F(DatabaseLocationTest, StoredPathIsShownAndLoadedTwice) {
  const std::string path = "D:\\data\\" + G("籠") + "\\barserver.db";
  test::WriteBytes(dir / "config.ini", "[config]\r\ndata=" + path + "\r\n");
  location.LoadConfiguredDatabase();
  EXPECT_EQ(window.events, (Texts{"show:" + path, "load:" + path, "load:" + path}));
  EXPECT_EQ(stored(), path);
}

TEST_F(DatabaseLocationTest, ChosenFileIsSavedAndLoadedTwice) {
  window.dialogAnswers = {chosen};
  int loads = 0;
  onLoad = [&] {  // settings gone after the first load: the second save must write them again
    if (++loads == 1) std::filesystem::remove(dir / "config.ini");
  };
  location.ChooseDatabase();
  EXPECT_EQ(window.events, (Texts{"dialog", "show:" + chosen, "load:" + chosen, "load:" + chosen}));
  EXPECT_EQ(stored(), chosen);

  desktop = "C:\\";
  location.ChooseDatabase();  // cancelled: nothing changes
  ASSERT_EQ(window.dialogs.size(), 2u);
  EXPECT_EQ(window.dialogs[1].fileName, chosen);
  EXPECT_EQ(window.dialogs[1].initialFolder, "C:\\");
  EXPECT_EQ(window.events.size(), 5u);
  EXPECT_EQ(stored(), chosen);
}

// A chosen path GBK cannot write is kept exactly: the box shows it, the load
// gets it, config.ini turns UTF-16 to hold it, and the next start reads it
// back.
TEST_F(DatabaseLocationTest, PathOutsideGbkIsKeptExactlyFromStartToStart) {
  const Path jorg = Path::FromUtf8("C:\\Users\\Jörg\\😀\\lwdiskless.db");
  const std::string shown = jorg.gbkShown();  // as the recording window logs it, '?' for what GBK lacks
  window.dialogAnswers = {jorg};
  location.ChooseDatabase();
  EXPECT_EQ(window.events, (Texts{"dialog", "show:" + shown, "load:" + shown, "load:" + shown}));
  EXPECT_EQ(window.pathText(), jorg);
  EXPECT_EQ(test::ReadBytes(dir / "config.ini"),
            test::Utf16File(u"[config]\r\ndata=C:\\Users\\Jörg\\😀\\lwdiskless.db\r\n"));

  test::FakeWindow next;
  DatabaseLocation(next, next, next, test::PathOf(dir.path()), [] { return Path(); }, [] {}).LoadConfiguredDatabase();
  EXPECT_EQ(next.pathText(), jorg);
  EXPECT_EQ(next.count("dialog"), 0);
  location.ChooseDatabase();  // the dialog opens on the file, exactly
  EXPECT_EQ(window.dialogs.back().fileName, shown);
}

TEST_F(DatabaseLocationTest, EveryEditOfThePathIsSavedAndLoaded) {
  for (const std::string& typed : {std::string("D"), std::string("D:\\db\\lwdiskless.db"), std::string()}) {
    window.path = typed;
    location.StorePathAndLoad();
    EXPECT_EQ(stored(), typed);
    EXPECT_EQ(window.events.back(), "load:" + typed);
  }
  EXPECT_EQ(window.events.size(), 3u);
}

TEST_F(DatabaseLocationTest, InitialFolderOfTheDialog) {
  for (const auto& [folder, initial] :
       {std::pair<std::string, std::string>{"", ""}, {"C:\\", "C:\\"}, {"D:\\" + G("籠"), "D:\\" + G("籠") + "\\"}}) {
    desktop = folder;
    location.ChooseDatabase();
    EXPECT_EQ(window.dialogs.back().initialFolder, initial);
  }
}

// Start's load is marked beside config.ini while it runs, both of its loads,
// and the mark is gone once they return: a normal start leaves nothing.
TEST_F(DatabaseLocationTest, StartLoadIsMarkedWhileItRuns) {
  const Path path = Path::FromUtf8("C:\\Users\\Jörg\\😀\\lwdiskless.db");  // config.ini turns UTF-16 for it
  WriteIniPath(test::PathOf(dir / "config.ini"), "config", "data", path);
  Texts marks;
  onLoad = [&] { marks.push_back(test::ReadBytes(dir / "config.ini.loading").value_or("none")); };
  location.LoadConfiguredDatabase();
  EXPECT_EQ(marks, Texts(2, path.utf8()));
  EXPECT_FALSE(std::filesystem::exists(dir / "config.ini.loading"));
  EXPECT_FALSE(location.holdingBack());
}

// A start that ended inside its load leaves the mark: the next start shows
// the path and says why the list is empty, loading nothing, until the
// operator retries; the first load that returns then takes the mark away.
TEST_F(DatabaseLocationTest, StartThatEndedInsideItsLoadLoadsNothingByItself) {
  const Path path = Path::FromUtf8("C:\\Users\\Jörg\\😀\\lwdiskless.db");
  const std::string shown = path.gbkShown();
  const struct {
    const char* what;
    std::function<void(DatabaseLocation&)> retry;
    int loads;
  } cases[] = {
      {"重载", [](DatabaseLocation& l) { l.Reload(); }, 1},
      {"the path edited", [](DatabaseLocation& l) { l.StorePathAndLoad(); }, 1},
      {"the file chosen again", [&](DatabaseLocation& l) {
         window.dialogAnswers = {path};
         l.ChooseDatabase();
       }, 2},
      {"the dialog cancelled", [](DatabaseLocation& l) { l.ChooseDatabase(); }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIniPath(test::PathOf(dir / "config.ini"), "config", "data", path);
    test::WriteBytes(dir / "config.ini.loading", path.utf8());
    window.events.clear();
    location.LoadConfiguredDatabase();
    EXPECT_EQ(window.events, Texts{"show:" + shown});
    EXPECT_EQ(ReadIniPath(test::PathOf(dir / "config.ini"), "config", "data", 10240), path);
    EXPECT_EQ(window.source, G("未载入：上次打开 lwdiskless.db 时程序意外退出，这次没有自动载入，可按“重载”再试"));
    EXPECT_EQ(window.sourceText.file, Path::FromUtf8("lwdiskless.db"));
    EXPECT_TRUE(location.holdingBack());
    EXPECT_TRUE(std::filesystem::exists(dir / "config.ini.loading"));

    std::vector<bool> marked;  // at each load
    onLoad = [&] { marked.push_back(std::filesystem::exists(dir / "config.ini.loading")); };
    c.retry(location);
    onLoad = nullptr;
    EXPECT_EQ(window.count("load:"), c.loads);
    EXPECT_EQ(location.holdingBack(), c.loads == 0);
    if (c.loads > 0) {
      EXPECT_TRUE(marked[0]);  // a retry that ends the program leaves the mark
    }
    EXPECT_EQ(std::filesystem::exists(dir / "config.ini.loading"), c.loads == 0);
  }
  // A path of a name alone, beside the program: the label names it all the same.
  test::WriteBytes(dir / "config.ini", "[config]\r\ndata=list.csv\r\n");
  test::WriteBytes(dir / "config.ini.loading", "list.csv");
  location.LoadConfiguredDatabase();
  EXPECT_EQ(window.source, G("未载入：上次打开 list.csv 时程序意外退出，这次没有自动载入，可按“重载”再试"));
}

// A mark of another file, or with no file stored: start goes on as usual,
// and the stale mark goes.
TEST_F(DatabaseLocationTest, MarkOfAnotherFileIsNoGuard) {
  const std::string path = "D:\\data\\barserver.db";
  for (const std::string& stored : {path, std::string()}) {
    SCOPED_TRACE(stored);
    test::WriteBytes(dir / "config.ini", "[config]\r\ndata=" + stored + "\r\n");
    test::WriteBytes(dir / "config.ini.loading", "D:\\data\\lwdiskless.db");
    window.events.clear();
    location.LoadConfiguredDatabase();
    EXPECT_EQ(window.count("load:"), stored.empty() ? 1 : 2);
    EXPECT_FALSE(location.holdingBack());
    EXPECT_FALSE(std::filesystem::exists(dir / "config.ini.loading"));
  }
}

TEST(ProgramDirectory, CutBeforeTheLastBackslash) {
  const auto gbk = [](const std::string& text) { return Path::FromGbk(text); };
  const auto utf8 = [](const char* text) { return Path::FromUtf8(text); };
  const std::pair<Path, Path> cases[] = {
      {gbk("C:\\Program Files\\Venbrook\\venbrook.exe"), gbk("C:\\Program Files\\Venbrook")},
      {gbk("C:\\venbrook.exe"), gbk("C:")},
      {gbk("D:\\" + G("籠") + "\\venbrook.exe"), gbk("D:\\" + G("籠"))},
      {gbk("D:\\tools\\" + G("籠") + "venbrook.exe"), gbk("D:\\tools")},
      {utf8("C:\\Users\\Jörg\\Venbrook.exe"), utf8("C:\\Users\\Jörg")},
      {utf8("D:\\😀Venbrook.exe"), utf8("D:")},
  };
  for (const auto& [program, folder] : cases) EXPECT_EQ(ProgramDirectoryOf(program), folder);
}

}  // namespace
}  // namespace venbrook
