#include "commands/load_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/sqlite_fixture.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using test::Machine;
using Texts = std::vector<std::string>;

class LoadDatabaseTest : public testing::Test {
 protected:
  LoadOutcome load(const std::string& path) {
    window.path = path;
    return LoadDatabase(connection, list, window);
  }
  Texts column(int column) const {
    Texts texts;
    for (int i = 0; i < list.count(); ++i) texts.emplace_back(list.cellText(i, column));
    return texts;
  }
  // A list and counters that a load must leave alone.
  void fillBefore() {
    list.append("old", "old", "old");
    list.setSelected(0, true);
    window.status[0] = "before";
  }
  void expectUntouched() {
    EXPECT_EQ(column(kMachineNameColumn), Texts{"old"});
    EXPECT_TRUE(list.isSelected(0));
    EXPECT_EQ(window.status[0], "before");
  }

  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
  const std::string lwdiskless = dir.core() + "\\lwdiskless.db";
  const std::string barserver = dir.core() + "\\barserver.db";
  const std::vector<Machine> machines{
      {"PC02", "00-1a-2b-3c-4d-5e"}, {"一楼01", "00-1a-2b-3c-4d-01"}, {"PC01", "00-1A-2B-3C-4D-00"}};
};

// Rows come in name order; only 网维大师 MACs are upper-cased.
TEST_F(LoadDatabaseTest, BothProducts) {
  test::MakeYungengxinDatabase(lwdiskless, machines);
  test::MakeWangweidashiDatabase(barserver, machines);
  window.rule = {"WB-", "PC", "0"};
  for (const std::string& path : {lwdiskless, barserver}) {
    EXPECT_EQ(load(path), LoadOutcome::Loaded);
    EXPECT_EQ(column(kMachineNameColumn), (Texts{"PC01", "PC02", G("一楼01")}));
    EXPECT_EQ(column(kNewNameColumn), (Texts{"WB-001", "WB-002", G("WB-一楼01")}));
    EXPECT_EQ(list.selectedCount(), 0);
  }
  EXPECT_EQ(column(kMacColumn), (Texts{"00-1A-2B-3C-4D-00", "00-1A-2B-3C-4D-5E", "00-1A-2B-3C-4D-01"}));
  EXPECT_EQ(window.events, Texts(2, "status0:" + G(" 总数:3")));
  load(lwdiskless);
  EXPECT_EQ(column(kMacColumn), (Texts{"00-1A-2B-3C-4D-00", "00-1a-2b-3c-4d-5e", "00-1a-2b-3c-4d-01"}));
}

TEST_F(LoadDatabaseTest, PathsNamingNeitherProductChangeNothing) {
  test::MakeYungengxinDatabase(lwdiskless, machines);
  const std::string cageName = dir.core() + "\\" + G("籠") + "lwdiskless.db";  // "\x5C" inside 籠 is no separator
  test::MakeYungengxinDatabase(cageName, machines);
  test::MakeYungengxinDatabase(lwdiskless + ".bak", machines);
  std::string slashed = lwdiskless;
  slashed[slashed.rfind('\\')] = '/';  // names the real file, but '/' is no separator
  fillBefore();
  for (const std::string& path : {dir.core() + "\\LWDISKLESS.DB", std::string("lwdiskless.db"), slashed,
                                  lwdiskless + ".bak", lwdiskless + " ", std::string(), cageName}) {
    EXPECT_EQ(load(path), LoadOutcome::Ignored) << path;
  }
  expectUntouched();
  EXPECT_TRUE(window.events.empty());
}

TEST_F(LoadDatabaseTest, FolderWhoseNameEndsInBackslashTrailByte) {
  std::filesystem::create_directory(dir / test::Utf8Name("籠"));
  const std::string path = dir.core() + "\\" + G("籠") + "\\barserver.db";
  test::MakeWangweidashiDatabase(path, machines);
  EXPECT_EQ(load(path), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 3);
}

TEST_F(LoadDatabaseTest, MissingFileSetsCaptionOnceAndCreatesNothing) {
  fillBefore();
  EXPECT_EQ(load(barserver), LoadOutcome::OpenFailed);
  expectUntouched();
  EXPECT_FALSE(std::filesystem::exists(dir / "barserver.db"));
  EXPECT_FALSE(connection.isOpen());

  test::MakeWangweidashiDatabase(barserver, machines);
  EXPECT_EQ(load(barserver), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 3);
  EXPECT_EQ(window.caption, G("数据库连接失败"));  // never set back
  EXPECT_EQ(window.count("caption:"), 1);
}

// Files that open but hold no usable table give an empty list and a zero
// total; the caption stays.
TEST_F(LoadDatabaseTest, UnreadableContentGivesAnEmptyList) {
  test::MakeYungengxinDatabase(barserver, machines);  // a 云更新 database under the other name
  test::WriteBytes(dir / "lwdiskless.db", "this is not a database, just some text\r\n");
  for (const std::string& path : {barserver, lwdiskless}) {
    fillBefore();
    EXPECT_EQ(load(path), LoadOutcome::Loaded) << path;
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(window.status[0], G(" 总数:0"));
  }
  EXPECT_EQ(window.count("caption:"), 0);

  std::filesystem::create_directory(dir / "empty");
  const std::string empty = dir.core() + "\\empty\\lwdiskless.db";
  test::MakeYungengxinDatabase(empty, {});
  fillBefore();
  EXPECT_EQ(load(empty), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(window.status[0], G(" 总数:0"));
}

TEST_F(LoadDatabaseTest, OddColumnsAndValues) {
  test::SqliteFile(lwdiskless)
      .run(
          "CREATE TABLE tPcBaseInfo(Mac, machine, id);"
          "INSERT INTO tPcBaseInfo VALUES ('m1', 'PC01', 1), (NULL, 'PC02', 2), ('m3', NULL, 3),"
          "  (CAST(X'C3' AS TEXT), 'PC04', 4), (1234, 'PC05', 5), ('m6', '\xF0\x9F\x98\x80', 6),"
          "  (CAST(X'504380' AS TEXT), 'PC07', 7);");
  window.rule = {"WB-", "", ""};
  EXPECT_EQ(load(lwdiskless), LoadOutcome::Loaded);
  // NULL sorts first; an emoji name is not UTF-8 of one to three bytes, nor
  // "PC" and a stray continuation byte.
  EXPECT_EQ(column(kMachineNameColumn), (Texts{"", "PC01", "PC02", "PC04", "PC05", "PC07", ""}));
  EXPECT_EQ(column(kNewNameColumn), (Texts{"WB-", "WB-PC01", "WB-PC02", "WB-PC04", "WB-PC05", "WB-PC07", "WB-"}));
  EXPECT_EQ(column(kMacColumn), (Texts{"m3", "m1", "", "", "1234", "", "m6"}));

  test::SqliteFile(barserver).run("CREATE TABLE tbl_Computer(ComputerName); INSERT INTO tbl_Computer VALUES ('B');");
  EXPECT_EQ(load(barserver), LoadOutcome::Loaded);  // no mac column at all
  EXPECT_EQ(column(kMacColumn), Texts{""});
  EXPECT_EQ(column(kNewNameColumn), Texts{"WB-B"});
}

TEST_F(LoadDatabaseTest, ReloadRebuildsTheSameListAndLeavesTheFileAlone) {
  test::MakeWangweidashiDatabase(barserver, machines);
  const auto bytes = test::ReadBytes(dir / "barserver.db");
  EXPECT_EQ(load(barserver), LoadOutcome::Loaded);
  const Texts first = column(kMacColumn);
  list.setSelected(1, true);
  list.remove(0);
  window.status[1] = "kept";
  EXPECT_EQ(load(barserver), LoadOutcome::Loaded);
  EXPECT_EQ(column(kMacColumn), first);
  EXPECT_EQ(list.selectedCount(), 0);
  EXPECT_EQ(window.status[1], "kept");
  EXPECT_EQ(window.count("status1:"), 0);
  EXPECT_TRUE(connection.isOpen());
  connection.close();
  EXPECT_EQ(test::ReadBytes(dir / "barserver.db"), bytes);
}

TEST_F(LoadDatabaseTest, WaitsForABriefLockByAnotherConnection) {
  test::MakeYungengxinDatabase(lwdiskless, machines);
  test::SqliteFile other(lwdiskless);
  other.run("BEGIN EXCLUSIVE");
  bool released = false;
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    released = other.tryRun("COMMIT");
  });
  const LoadOutcome outcome = load(lwdiskless);
  release.join();
  EXPECT_TRUE(released);
  EXPECT_EQ(outcome, LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 3);
}

TEST_F(LoadDatabaseTest, GivesUpOnALockHeldThroughout) {
  test::MakeYungengxinDatabase(lwdiskless, machines);
  test::SqliteFile other(lwdiskless);
  other.run("BEGIN EXCLUSIVE");
  fillBefore();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(load(lwdiskless), LoadOutcome::Loaded);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(window.status[0], G(" 总数:0"));
  EXPECT_GE(waited, std::chrono::milliseconds(1500));
  EXPECT_LT(waited, std::chrono::seconds(10));
  other.run("COMMIT");
}

}  // namespace
}  // namespace venbrook
