#include "commands/commands.h"

#include <gtest/gtest.h>

#include "export/format_date_time.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/sqlite_fixture.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Texts = std::vector<std::string>;

class CommandsTest : public testing::Test {
 protected:
  void rows(int n) {
    for (int i = 0; i < n; ++i) list.append("PC" + std::to_string(i), "", "");
  }
  void select(std::initializer_list<int> indices) {
    for (int i : indices) list.setSelected(i, true);
  }
  Texts column(int column) const {
    Texts texts;
    for (int i = 0; i < list.count(); ++i) texts.emplace_back(list.cellText(i, column));
    return texts;
  }
  static std::string total(int n) { return "status0:" + G(" 总数:") + std::to_string(n); }
  static std::string selected(int n) { return "status1:" + G(" 已选中:") + std::to_string(n); }

  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
  const std::filesystem::path desktop = dir / "Desktop";
  Commands commands{window, list, connection, test::PathOf(dir.path()),
                    ExportPlace{[this] { return test::PathOf(desktop); },
                                [] { return CalendarToAutomationDate(2025, 12, 16, 21, 45, 9); }}};
};

TEST_F(CommandsTest, DeleteRemovesEverySelectedRowAndRefreshesBothCounters) {
  rows(6);
  select({5, 0, 2});
  commands.menuChosen(MenuCommand::Delete);
  EXPECT_EQ(column(kMachineNameColumn), (Texts{"PC1", "PC3", "PC4"}));
  EXPECT_EQ(window.events, (Texts{total(3), selected(0)}));
  EXPECT_EQ(window.status[0], G(" 总数:3"));  // the counters' own bytes
  EXPECT_EQ(window.status[1], G(" 已选中:0"));
}

TEST_F(CommandsTest, DeleteWithNothingSelectedSaysSoAndStillRefreshes) {
  commands.menuChosen(MenuCommand::Delete);  // empty list
  rows(2);
  commands.menuChosen(MenuCommand::Delete);
  const std::string message = "info:" + G("没有选中数据");
  EXPECT_EQ(window.events, (Texts{message, total(0), selected(0), message, total(2), selected(0)}));
  EXPECT_EQ(list.count(), 2);
}

TEST_F(CommandsTest, SelectAllAndInvertLeaveTheCountersAlone) {
  commands.menuChosen(MenuCommand::SelectAll);  // empty list: nothing to do
  commands.menuChosen(MenuCommand::Invert);
  rows(4);
  select({0, 1});
  commands.menuChosen(MenuCommand::Invert);
  EXPECT_EQ(list.selectedRows(), (std::vector<int>{2, 3}));
  commands.menuChosen(MenuCommand::SelectAll);
  EXPECT_EQ(list.selectedCount(), 4);
  EXPECT_TRUE(window.events.empty());
  commands.listLeftClicked();
  EXPECT_EQ(window.events, Texts{selected(4)});
}

TEST_F(CommandsTest, CtrlAIsTheOnlyShortcut) {
  rows(3);
  const struct {
    int key;
    int modifiers;
    bool selectsAll;
  } cases[] = {{kVirtualKeyA, 0, false},    {kVirtualKeyA, kCtrl | kShift, false},
               {kVirtualKeyA, kAlt, false}, {kVirtualKeyA, kCtrl | kAlt, false},
               {0x42, kCtrl, false},        {kVirtualKeyA, kCtrl, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(commands.listKeyPressed(c.key, c.modifiers), c.selectsAll) << c.key << " " << c.modifiers;
    EXPECT_EQ(list.selectedCount(), c.selectsAll ? 3 : 0);
  }
  EXPECT_TRUE(window.events.empty());
}

TEST_F(CommandsTest, DoubleClickDeletesTheFirstSelectedRowAndRefreshesOnlyTheTotal) {
  rows(3);
  commands.listDoubleClicked();  // nothing selected: nothing at all
  ASSERT_EQ(list.count(), 3);
  select({2, 1});
  commands.listDoubleClicked();
  EXPECT_EQ(column(kMachineNameColumn), (Texts{"PC0", "PC2"}));
  EXPECT_TRUE(list.isSelected(1));
  EXPECT_EQ(window.events, Texts{total(2)});
}

TEST_F(CommandsTest, RightClickRefreshesTheSelectedCounterThenRunsTheChoice) {
  commands.listRightClicked();  // empty list: the menu still opens; dismissed
  rows(3);
  select({0, 2});
  window.menuChoices = {MenuCommand::Delete};
  commands.listRightClicked();
  EXPECT_EQ(window.events, (Texts{selected(0), "menu", selected(2), "menu", total(1), selected(0)}));
}

TEST_F(CommandsTest, ReloadNeedsAPathAndRestoresDeletedRows) {
  commands.menuChosen(MenuCommand::Reload);
  EXPECT_EQ(window.events, Texts{"info:" + G("没有载入数据库，请检查配置的数据库是否正确")});

  window.path = dir.core() + "\\lwdiskless.db";
  test::MakeYungengxinDatabase(window.path, {{"PC02", "m2"}, {"PC01", "m1"}});
  commands.menuChosen(MenuCommand::Reload);
  list.setSelected(0, true);
  commands.listDoubleClicked();
  commands.menuChosen(MenuCommand::Reload);
  EXPECT_EQ(column(kMachineNameColumn), (Texts{"PC01", "PC02"}));
  EXPECT_EQ(list.selectedCount(), 0);
  EXPECT_EQ(window.count("status0:"), 3);
}

TEST_F(CommandsTest, EditingARenameBoxReloadsWithTheNewRule) {
  commands.renameBoxEdited();  // no path: nothing, not even a message
  EXPECT_TRUE(window.events.empty());
  window.path = dir.core() + "\\barserver.db";
  test::MakeWangweidashiDatabase(window.path, {{"PC01", "m1"}, {"PC02", "m2"}});
  window.rule.find = "PC";
  for (const char* typed : {"W", "WB", "WB-"}) {  // one load per keystroke
    window.rule.prefix = typed;
    commands.renameBoxEdited();
  }
  EXPECT_EQ(column(kNewNameColumn), (Texts{"WB-01", "WB-02"}));
  window.rule.replacement = G("网吧");
  commands.renameBoxEdited();
  EXPECT_EQ(column(kNewNameColumn), (Texts{G("WB-网吧01"), G("WB-网吧02")}));
  EXPECT_EQ(window.events, Texts(4, total(2)));
}

// While start's load is held back, the rename boxes load nothing: each of
// their keystrokes would load the file that ended the program. 重载 loads,
// and from then on they load again. Every load tells the window it begins
// and ends.
TEST_F(CommandsTest, RenameBoxesWaitForTheRetryOfAHeldBackStart) {
  const std::string database = dir.core() + "\\barserver.db";
  test::MakeWangweidashiDatabase(database, {{"PC01", "m1"}});
  test::WriteBytes(dir / "config.ini", "[config]\r\ndata=" + database + "\r\n");
  test::WriteBytes(dir / "config.ini.loading", database);
  commands.windowCreated();
  window.rule.prefix = "WB-";
  commands.renameBoxEdited();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(window.loadsBegun, 0);

  window.afterTotalCounter = [&] { EXPECT_EQ(window.loadsBegun - window.loadsEnded, 1); };  // busy meanwhile
  commands.menuChosen(MenuCommand::Reload);
  EXPECT_EQ(column(kNewNameColumn), Texts{"WB-PC01"});
  window.rule.prefix = "Z-";
  commands.renameBoxEdited();
  EXPECT_EQ(column(kNewNameColumn), Texts{"Z-PC01"});
  EXPECT_EQ(window.loadsBegun, 2);
  EXPECT_EQ(window.loadsEnded, 2);
  EXPECT_FALSE(std::filesystem::exists(dir / "config.ini.loading"));
}

// From the stored path to the file on the desktop, as the operator goes.
TEST_F(CommandsTest, StoredPathToExportedFile) {
  std::filesystem::create_directory(desktop);
  std::filesystem::create_directory(dir / test::Utf8Name("籠"));
  const std::string database = dir.core() + "\\" + G("籠") + "\\lwdiskless.db";
  test::MakeYungengxinDatabase(database, {{"PC03", "00-1A-00-00-00-03"},
                                          {"一楼01", "00-1A-00-00-00-01"},
                                          {"PC01", "00-1A-00-00-00-02"},
                                          {"PC02", "00-1a-00-00-00-04"}});
  test::WriteBytes(dir / "config.ini", "[config]\r\ndata=" + database + "\r\n");
  commands.windowCreated();
  EXPECT_EQ(window.path, database);
  ASSERT_EQ(list.count(), 4);

  window.rule = {G("二楼-"), "pc", ""};
  commands.renameBoxEdited();
  select({3, 1});
  window.menuChoices = {MenuCommand::Export};
  commands.listRightClicked();

  const std::string exportPath = test::CorePath(desktop) + "\\20251216214509.txt";
  EXPECT_EQ(window.events.back(), "info:" + G("成功导出2条数据至文件：") + exportPath);
  EXPECT_EQ(test::ReadBytes(desktop / "20251216214509.txt"),
            "00-1a-00-00-00-04 " + G("二楼-02") + "\r\n00-1A-00-00-00-01 " + G("二楼-一楼01") + "\r\n");
  EXPECT_EQ(test::ReadBytes(dir / "config.ini"), "[config]\r\ndata=" + database + "\r\n");
}

}  // namespace
}  // namespace venbrook
