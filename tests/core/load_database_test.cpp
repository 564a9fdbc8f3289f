#include "commands/load_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "export/export_file.h"
#include "sources/read_bounds.h"
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
    return LoadDatabase(connection, list, window).outcome;
  }
  LoadOutcome load(const Path& exact) {
    window.typePath(exact);
    return LoadDatabase(connection, list, window).outcome;
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

// The products' own names keep their old reading, without a word in the
// source label; a copy under any other name is known by its content.
TEST_F(LoadDatabaseTest, ProductsFilesUnderOtherNamesAreKnownByContent) {
  for (const char* folder : {"copies", "upper"}) std::filesystem::create_directory(dir / folder);
  const std::string copies = dir.core() + "\\copies\\";
  const std::string yungengxin = G("来源：按内容识别为云更新数据库");
  const std::string wangweidashi = G("来源：按内容识别为网维大师数据库");
  struct Case {
    std::string path;
    bool barserver;  // the file made is a 网维大师 database
    std::string source;
  };
  std::string slashed = copies + "lwdiskless.db";
  slashed[slashed.rfind('\\')] = '/';  // names the same file, yet not after a backslash
  const std::vector<Case> cases = {
      {lwdiskless, false, ""},
      {barserver, true, ""},
      {copies + G("lwdiskless - 副本.db"), false, yungengxin},
      {copies + "barserver(1).db", true, wangweidashi},
      {copies + "lwdiskless.db.bak", false, yungengxin},
      {dir.core() + "\\upper\\LWDISKLESS.DB", true, wangweidashi},  // 网维大师's rows, 云更新's name in capitals
      {copies + G("籠") + "lwdiskless.db", false, yungengxin},  // "\x5C" inside 籠 is no separator
      {copies + G("赲") + "barserver.db", true, wangweidashi},   // nor inside 赲
      {slashed, true, wangweidashi},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string file = c.path == slashed ? copies + "lwdiskless.db" : c.path;
    (c.barserver ? test::MakeWangweidashiDatabase : test::MakeYungengxinDatabase)(file, machines);
    window.source = "before";
    EXPECT_EQ(load(c.path), LoadOutcome::Loaded);
    EXPECT_EQ(column(kMachineNameColumn), (Texts{"PC01", "PC02", G("一楼01")}));
    EXPECT_EQ(list.cellText(1, kMacColumn), c.barserver ? "00-1A-2B-3C-4D-5E" : "00-1a-2b-3c-4d-5e");
    EXPECT_EQ(window.source, c.source);
  }
  // Names GBK cannot write, around a product's name: known by content too.
  for (const char* name : {"Jörglwdiskless.db", "lwdiskless.db😀", "😀barserver.db"}) {
    const Path path = test::PathOf(dir / "copies" / test::Utf8Name(name));
    test::MakeYungengxinDatabase(path, machines);
    EXPECT_EQ(load(path), LoadOutcome::Loaded) << name;
    EXPECT_EQ(window.source, yungengxin) << name;
  }
  EXPECT_EQ(window.count("caption:"), 0);
}

// While a path is typed, most of it names nothing: nothing happens.
TEST_F(LoadDatabaseTest, PathsNamingNoFileChangeNothing) {
  test::MakeYungengxinDatabase(lwdiskless, machines);
  fillBefore();
  window.source = "before";
  // (Not a trailing blank: Windows drops it, and the path then names the file.)
  for (const std::string& path : {std::string("lwdiskless.db"), dir.core() + "\\lwdiskless.d", std::string(),
                                  dir.core(), dir.core() + "\\"}) {
    EXPECT_EQ(load(path), LoadOutcome::Ignored) << path;
  }
  expectUntouched();
  EXPECT_EQ(window.source, "before");
  EXPECT_TRUE(window.events.empty());
}

// A database of another product: its machine table, and the label names it.
// A database without one leaves the window as it was and says why.
TEST_F(LoadDatabaseTest, OtherDatabasesByTheirMachineTable) {
  const std::string other = dir.core() + "\\" + G("网吧.db");
  test::SqliteFile(other).run(
      "CREATE TABLE settings(k, v); INSERT INTO settings VALUES ('x', '00-00-00-00-00-00');"
      "CREATE TABLE \"终端 列表\"(id INTEGER PRIMARY KEY, ip, \"机器名\", \"物理地址\");"
      "INSERT INTO \"终端 列表\" VALUES (1, '10.0.0.2', 'B2', '00-1a-2b-3c-4d-02'), (2, '10.0.0.1', 'A1', '');");
  window.rule = {"WB-", "", ""};
  EXPECT_EQ(load(other), LoadOutcome::Loaded);
  // Stored order; the MAC in the one form of other sources; a row without one is no machine.
  EXPECT_EQ(column(kNewNameColumn), (Texts{"WB-B2"}));
  EXPECT_EQ(column(kMacColumn), (Texts{"00-1A-2B-3C-4D-02"}));
  EXPECT_EQ(window.source, G("来源：表 终端 列表，机器名取自 机器名，MAC地址取自 物理地址，读入 1 台，跳过 1 行（第 2 行）"));
  EXPECT_EQ(window.status[0], G(" 总数:1"));

  const std::string empty = dir.core() + "\\settings.db";
  test::SqliteFile(empty).run("CREATE TABLE settings(k, v); INSERT INTO settings VALUES ('x', 'y');");
  list.clear();
  fillBefore();
  EXPECT_EQ(load(empty), LoadOutcome::NoList);
  expectUntouched();
  EXPECT_EQ(window.source, G("未载入：settings.db 里没有找到机器列表"));
  EXPECT_FALSE(connection.isOpen());  // the file is not held for nothing
  EXPECT_EQ(window.count("caption:"), 0);
}

// Text lists: the label counts what was read and skipped; a file without a
// list, or one too large to be a list, leaves the window as it was.
TEST_F(LoadDatabaseTest, TextListsAndWhatTheLabelSays) {
  struct Case {
    const char* file;
    std::string bytes;
    LoadOutcome outcome;
    std::string source;
    Texts names = {};
    bool slashBeforeName = false;  // loaded as ".../folder/file"
  };
  const std::string header = G("机器名,MAC地址\r\n");
  const std::vector<Case> cases = {
      {"list.csv", header + "PC01,00-1A-2B-3C-4D-01\r\n" + G("合计,1台") + "\r\n", LoadOutcome::Loaded,
       G("来源：文本列表，机器名取自 机器名，MAC地址取自 MAC地址，读入 1 台，跳过 1 行（第 3 行）"), {"PC01"}},
      {"four.txt", "# a\n# b\n\nPC01 00-1A-2B-3C-4D-01\n# c\n# d\n", LoadOutcome::Loaded,
       G("来源：文本列表，机器名取自 第 1 列，MAC地址取自 第 2 列，读入 1 台，跳过 4 行（第 1、2、5 等 行）"), {"PC01"}},
      {"three.txt", "# a\nPC02 00-1A-2B-3C-4D-02\n# b\n# c\n", LoadOutcome::Loaded,
       G("来源：文本列表，机器名取自 第 1 列，MAC地址取自 第 2 列，读入 1 台，跳过 3 行（第 1、3、4 行）"), {"PC02"}},
      {"whole.txt", "PC03 00-1A-2B-3C-4D-03\r\n", LoadOutcome::Loaded,
       G("来源：文本列表，机器名取自 第 1 列，MAC地址取自 第 2 列，读入 1 台"), {"PC03"}},
      // SQLite's header is 16 bytes, its NUL included: these 15 begin a text.
      {"sqlite.txt", "SQLite format 3 00-1A-2B-3C-4D-04\r\n", LoadOutcome::Loaded,
       G("来源：文本列表，机器名取自 第 1 列，MAC地址取自 第 4 列，读入 1 台"), {"SQLite"}},
      {"notes.txt", G("备注：明天换键盘\r\n"), LoadOutcome::NoList, G("未载入：notes.txt 里没有找到机器列表")},
      {"empty.txt", "", LoadOutcome::NoList, G("未载入：empty.txt 里没有找到机器列表")},
      {"备注.txt", "", LoadOutcome::NoList, G("未载入：备注.txt 里没有找到机器列表"), {}, true},
      {"Jörg的备注.txt", "", LoadOutcome::NoList, G("未载入：J?rg的备注.txt 里没有找到机器列表")},  // exact below
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    test::WriteBytes(dir / test::Utf8Name(c.file), c.bytes);
    list.clear();
    fillBefore();
    std::string path = test::PathOf(dir / test::Utf8Name(c.file)).utf8();
    if (c.slashBeforeName) path[path.rfind('\\')] = '/';
    EXPECT_EQ(load(Path::FromUtf8(path)), c.outcome);
    EXPECT_EQ(window.source, c.source);
    if (c.outcome == LoadOutcome::NoList) {
      expectUntouched();
      continue;
    }
    EXPECT_EQ(column(kMachineNameColumn), c.names);
    EXPECT_EQ(window.status[0], G(" 总数:1"));
  }
  EXPECT_EQ(window.sourceText.file, Path::FromUtf8("Jörg的备注.txt"));  // the window shows the name exactly

  // One byte over the limit is refused before it is read (a sparse file:
  // nothing is written to make it).
  const auto large = dir / "large.csv";
  test::WriteBytes(large, "PC01 00-1A-2B-3C-4D-01\r\n");
  std::filesystem::resize_file(large, kMaxFileBytes + 1);
  fillBefore();
  EXPECT_EQ(load(dir.core() + "\\large.csv"), LoadOutcome::NoList);
  EXPECT_EQ(window.source, G("未载入：large.csv 太大（文件超过 64 MB）"));
  // At the limit it is read, and its zeros are a line past a line's bound.
  std::filesystem::resize_file(large, kMaxFileBytes);
  EXPECT_EQ(load(dir.core() + "\\large.csv"), LoadOutcome::NoList);
  EXPECT_EQ(window.source, G("未载入：large.csv 太大（一行超过 1 MB）"));
  EXPECT_EQ(window.count("caption:"), 0);
}

// Our own export, read back: the same MACs, and the new names become the
// machine names, ready to be renamed again.
TEST_F(LoadDatabaseTest, AnExportReadsBackAsAList) {
  test::MakeWangweidashiDatabase(barserver, machines);
  window.rule = {G("网吧-"), "", ""};
  ASSERT_EQ(load(barserver), LoadOutcome::Loaded);
  const Texts macs = column(kMacColumn), newNames = column(kNewNameColumn);
  ASSERT_TRUE(WriteExportLines(test::PathOf(dir / "202576090503.txt"), list).complete);
  window.rule = {};
  EXPECT_EQ(load(dir.core() + "\\202576090503.txt"), LoadOutcome::Loaded);
  EXPECT_EQ(column(kMacColumn), macs);
  EXPECT_EQ(column(kMachineNameColumn), newNames);
  EXPECT_FALSE(connection.isOpen());  // the database is no longer held
}

TEST_F(LoadDatabaseTest, FolderWhoseNameEndsInBackslashTrailByte) {
  std::filesystem::create_directory(dir / test::Utf8Name("籠"));
  const std::string path = dir.core() + "\\" + G("籠") + "\\barserver.db";
  test::MakeWangweidashiDatabase(path, machines);
  EXPECT_EQ(load(path), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 3);
}

// Folders named with characters GBK lacks, or with one whose GBK trail byte
// is 0x5C: the path reaches the file exactly.
TEST_F(LoadDatabaseTest, FoldersNamedWithAnyCharacter) {
  for (const char* folder : {"Jörg", "😀", "𠀀", "籠"}) {
    std::filesystem::create_directory(dir / test::Utf8Name(folder));
    const Path path = test::PathOf(dir / test::Utf8Name(folder) / "lwdiskless.db");
    test::MakeYungengxinDatabase(path, {{folder, "00-1A"}});
    EXPECT_EQ(load(path), LoadOutcome::Loaded) << folder;
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.cellText(0, kMachineNameColumn), Utf8ToGbk(folder));  // '?' or empty where GBK lacks it
  }
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
