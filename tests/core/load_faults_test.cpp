// Loads of a product's database that is locked, written meanwhile, damaged,
// odd or very large: the outcome is always one the operator can trust, and
// the product's files are never changed by a load.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

#include "commands/export_rows.h"
#include "commands/load_database.h"
#include "core/fault_files.h"
#include "export/format_date_time.h"
#include "platform/os.h"
#include "support/address_space.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/sqlite_fixture.h"
#include "support/temp_folder.h"
#include "support/workbook_maker.h"

namespace venbrook {
namespace {

using test::FolderState;
using test::Machine;
using Texts = std::vector<std::string>;

// A connection standing for the product's server: it waits for locks, as a
// server does, and can stop the way a server that dies stops.
class Server {
 public:
  explicit Server(const std::string& corePath) {
    sqlite3_open_v2(os::SqliteFileName(Path::FromGbk(corePath)).c_str(), &db_,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_busy_timeout(db_, 10000);
  }
  ~Server() { sqlite3_close(db_); }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  bool run(const std::string& sqlUtf8) {
    return sqlite3_exec(db_, sqlUtf8.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  sqlite3* handle() const { return db_; }

  // Ends without copying its write-ahead log into the database, as a server
  // that is killed does: the -wal and -shm files stay with their content.
  void closeLeavingItsLog() {
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_close(db_);
    db_ = nullptr;
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string Number(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Machine i is PC00001, PC00002, ... with a MAC made from i, so every row
// shows whether its name and MAC belong together.
std::string MacOf(int i) { return "00-1A-" + Number("%04X", i).insert(2, "-") + "-0A-0B"; }
std::vector<Machine> Cafe(int n) {
  std::vector<Machine> machines;
  for (int i = n; i >= 1; --i) machines.push_back({Number("PC%05d", i), MacOf(i)});
  return machines;
}

// A database of one product holding Cafe(n), written in one transaction.
void MakeCafe(const std::string& corePath, std::string_view table, std::string_view nameColumn, int n) {
  Server server(corePath);
  ASSERT_TRUE(server.run("CREATE TABLE " + std::string(table) + "(ID INTEGER PRIMARY KEY, " + std::string(nameColumn) +
                         " TEXT, IP TEXT, mac TEXT, Remark TEXT);"
                         "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " +
                         std::to_string(n) + ") INSERT INTO " + std::string(table) + "(" + std::string(nameColumn) +
                         ", IP, mac) SELECT printf('PC%05d', x), '10.0.0.1', printf('00-1A-%02X-%02X-0A-0B', x >> 8,"
                         " x & 255) FROM c ORDER BY random();"));
}

// SQL that inserts `rows` machines G<generation>-00001, ... with MACs
// M<generation>-00001, ..., so every row names the write it came from.
std::string InsertCafe(std::string_view table, std::string_view nameColumn, int rows, int generation = 0) {
  const std::string g = std::to_string(generation);
  return "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " + std::to_string(rows) +
         ") INSERT INTO " + std::string(table) + "(" + std::string(nameColumn) +
         ", mac) SELECT printf('G" + g + "-%05d', x), printf('M" + g + "-%05d', x) FROM c;";
}

class LoadFaultsTest : public testing::Test {
 protected:
  LoadOutcome load(const std::string& path) {
    window.path = path;
    return LoadDatabase(connection, list, window).outcome;
  }
  std::string total() const { return window.status[0]; }

  // A load that rebuilt the list: from the whole of the file, or, when the
  // read stopped part-way, as an empty list; never from a part of it.
  ::testing::AssertionResult rebuilt(LoadOutcome outcome) const {
    if (outcome == LoadOutcome::Loaded) return ::testing::AssertionSuccess();
    if (outcome == LoadOutcome::ReadFailed && list.count() == 0 && total() == G(" 总数:0"))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "outcome " << static_cast<int>(outcome) << ", " << list.count()
                                         << " rows";
  }

  // Every row is a machine of Cafe(n): no row is made up or torn.
  void expectGenuineRows(int n) {
    for (int row = 0; row < list.count(); ++row) {
      const std::string name(list.cellText(row, kMachineNameColumn));
      ASSERT_EQ(name.size(), 7u) << row;
      const int i = std::atoi(name.c_str() + 2);
      ASSERT_TRUE(name.rfind("PC", 0) == 0 && i >= 1 && i <= n) << name;
      ASSERT_EQ(list.cellText(row, kMacColumn), MacOf(i)) << name;
    }
    EXPECT_EQ(total(), G(" 总数:") + std::to_string(list.count()));
  }

  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
  const std::string lwdiskless = dir.core() + "\\lwdiskless.db";
  const std::string barserver = dir.core() + "\\barserver.db";
};

// ---------------------------------------------------------------------------
// Locks and writers

// The server writes whole new generations of the café while loads run. Each
// load shows one generation whole, or nothing when the server held the file
// past the busy time-out; never rows of two generations, never a torn row.
TEST_F(LoadFaultsTest, WritesDuringLoadsNeverShowATornList) {
  for (const bool wal : {false, true}) {
    SCOPED_TRACE(wal ? "write-ahead log" : "rollback journal");
    connection.close();
    std::filesystem::remove_all(dir / "lwdiskless.db");
    std::filesystem::remove_all(dir / "lwdiskless.db-wal");
    std::filesystem::remove_all(dir / "lwdiskless.db-shm");
    {
      Server setup(lwdiskless);
      ASSERT_TRUE(setup.run(std::string(wal ? "PRAGMA journal_mode=WAL;" : "") +
                            "CREATE TABLE tPcBaseInfo(ID INTEGER PRIMARY KEY, MACHINE TEXT, mac TEXT);" +
                            InsertCafe("tPcBaseInfo", "MACHINE", 20)));
    }
    std::atomic<bool> stop{false};
    std::atomic<int> commits{0};
    std::thread writer;
    // Stops and joins the writer however this scope is left, an ASSERT
    // included: a thread still running at its destruction ends the program.
    const struct StopAndJoin {
      std::atomic<bool>& stop;
      std::thread& thread;
      ~StopAndJoin() {
        stop = true;
        if (thread.joinable()) thread.join();
      }
    } stopAndJoin{stop, writer};
    writer = std::thread([&] {
      Server server(lwdiskless);
      for (int generation = 1; !stop; ++generation) {
        const bool ok = server.run("BEGIN IMMEDIATE; DELETE FROM tPcBaseInfo;" +
                                   InsertCafe("tPcBaseInfo", "MACHINE", 20 + generation % 30, generation) + "COMMIT;");
        if (ok) ++commits;
        else server.run("ROLLBACK");
        // A real server pauses between changes; without this the writer can
        // keep the file to itself on a busy machine and no load meets it.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    std::set<int> generationsSeen;
    const auto start = std::chrono::steady_clock::now();
    for (int loads = 0; loads < 400 && (loads < 20 || std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500));
         ++loads) {
      ASSERT_TRUE(rebuilt(load(lwdiskless)));
      EXPECT_EQ(total(), G(" 总数:") + std::to_string(list.count()));
      if (list.count() == 0) continue;  // held past the time-out
      const std::string first(list.cellText(0, kMachineNameColumn));
      const int generation = std::atoi(first.c_str() + 1);
      generationsSeen.insert(generation);
      ASSERT_EQ(list.count(), generation == 0 ? 20 : 20 + generation % 30) << first;
      const std::string g = std::to_string(generation);
      for (int row = 0; row < list.count(); ++row) {
        ASSERT_EQ(list.cellText(row, kMachineNameColumn), "G" + g + Number("-%05d", row + 1)) << first;
        ASSERT_EQ(list.cellText(row, kMacColumn), "M" + g + Number("-%05d", row + 1)) << first;
      }
    }
    stop = true;
    writer.join();
    EXPECT_GT(commits, 0);
    EXPECT_FALSE(generationsSeen.empty());
  }
}

// A server in the middle of a transaction: the load shows the last committed
// rows, not the unfinished ones, and does not wait.
TEST_F(LoadFaultsTest, UncommittedChangesAreNotShown) {
  for (const bool wal : {false, true}) {
    SCOPED_TRACE(wal ? "write-ahead log" : "rollback journal");
    const std::string path = dir.core() + (wal ? "\\wal" : "\\rollback");
    std::filesystem::create_directory(dir / (wal ? "wal" : "rollback"));
    Server server(path + "\\barserver.db");
    ASSERT_TRUE(server.run(std::string(wal ? "PRAGMA journal_mode=WAL;" : "") +
                           "CREATE TABLE tbl_Computer(ComputerName TEXT, mac TEXT);" +
                           InsertCafe("tbl_Computer", "ComputerName", 3)));
    ASSERT_TRUE(server.run("BEGIN IMMEDIATE; DELETE FROM tbl_Computer;" + InsertCafe("tbl_Computer", "ComputerName", 9, 1)));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(load(path + "\\barserver.db"), LoadOutcome::Loaded);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.cellText(2, kMachineNameColumn), "G0-00003");
    ASSERT_TRUE(server.run("COMMIT"));
    EXPECT_EQ(load(path + "\\barserver.db"), LoadOutcome::Loaded);
    EXPECT_EQ(list.count(), 9);
  }
}

// A server holding its database locked past the busy time-out: the load
// waits once, whatever the file is called and however many queries it would
// make, and the label says to try again; a product's own file keeps its
// empty list, any other file leaves the window as it was.
TEST_F(LoadFaultsTest, LockedDatabaseIsWaitedForOnceAndSaysSo) {
  const struct {
    const char* file;
    LoadOutcome outcome;
    int oldRows;  // rows the list keeps
  } cases[] = {
      {"lwdiskless.db", LoadOutcome::Loaded, 0},
      {"copy of lwdiskless.db", LoadOutcome::NoList, 1},
      {"cafe.db", LoadOutcome::NoList, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = dir.core() + "\\" + c.file;
    const std::string table = std::string_view(c.file) == "cafe.db" ? "pcs" : "tPcBaseInfo";  // another product's
    MakeCafe(path, table, "MACHINE", 3);
    Server server(path);
    ASSERT_TRUE(server.run("BEGIN EXCLUSIVE; DELETE FROM " + table));
    list.clear();
    list.append("old", "old", "old");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(load(path), c.outcome);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3500));  // one wait of 2 s
    EXPECT_EQ(window.source, G("未载入：") + c.file + G(" 正被其他程序占用，请稍后重载"));
    EXPECT_EQ(list.count(), c.oldRows);
    server.run("ROLLBACK");
  }
}

// A write-ahead-log database whose server holds an exclusive transaction does
// not stop readers: the load shows the committed rows at once.
TEST_F(LoadFaultsTest, ExclusiveWriterOfALoggedDatabaseDoesNotBlockTheLoad) {
  Server server(lwdiskless);
  ASSERT_TRUE(server.run("PRAGMA journal_mode=WAL; CREATE TABLE tPcBaseInfo(MACHINE, mac);" +
                         InsertCafe("tPcBaseInfo", "MACHINE", 4)));
  ASSERT_TRUE(server.run("BEGIN EXCLUSIVE; DELETE FROM tPcBaseInfo;"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(load(lwdiskless), LoadOutcome::Loaded);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  EXPECT_EQ(list.count(), 4);
  server.run("ROLLBACK");
}

#ifdef _WIN32
// Another program holds the file open and shares it with nobody: the file
// cannot be opened, and the caption says so.
TEST_F(LoadFaultsTest, FileHeldWithoutSharingCannotBeOpened) {
  test::MakeYungengxinDatabase(lwdiskless, Cafe(3));
  list.append("old", "old", "old");
  window.status[0] = "before";
  const HANDLE held = CreateFileW((dir.path() / "lwdiskless.db").wstring().c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(load(lwdiskless), LoadOutcome::OpenFailed);
  CloseHandle(held);
  EXPECT_EQ(window.caption, G("数据库连接失败"));
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(total(), "before");
  EXPECT_EQ(load(lwdiskless), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 3);
}
#endif

// ---------------------------------------------------------------------------
// Files of other names: other products' databases and text lists

// Overwrites a page of `table` with junk, as a damaged disk would: its root
// page, or one half-way between the root and the end of the file.
void DamagePageOf(const std::filesystem::path& file, const std::string& table, bool root) {
  sqlite3* db = nullptr;
  const std::u8string name = file.u8string();
  sqlite3_open_v2(reinterpret_cast<const char*>(name.c_str()), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT rootpage, (SELECT page_size FROM pragma_page_size), (SELECT page_count FROM "
                     "pragma_page_count) FROM sqlite_schema WHERE name = ?",
                     -1, &query, nullptr);
  sqlite3_bind_text(query, 1, table.c_str(), -1, SQLITE_TRANSIENT);
  ASSERT_EQ(sqlite3_step(query), SQLITE_ROW);
  const auto rootPage = static_cast<std::size_t>(sqlite3_column_int(query, 0));
  const auto size = static_cast<std::size_t>(sqlite3_column_int(query, 1));
  const auto page = root ? rootPage : (rootPage + static_cast<std::size_t>(sqlite3_column_int(query, 2))) / 2;
  sqlite3_finalize(query);
  sqlite3_close(db);
  std::string bytes = *test::ReadBytes(file);
  test::WriteBytes(file, bytes.replace((page - 1) * size, size, size, '\xEE'));
}

// Databases of other products at their oddest: whatever they hold, the
// operator sees the machine table or is told there is none, and the file is
// left as it was.
TEST_F(LoadFaultsTest, OtherDatabasesAtTheirOddest) {
  std::string thousandTables = "BEGIN;";
  for (int i = 0; i < 1000; ++i)
    thousandTables += "CREATE TABLE t" + std::to_string(i) + "(k, v); INSERT INTO t" + std::to_string(i) +
                      " VALUES ('x', 'y');";
  thousandTables += "CREATE TABLE seats(seat, mac); INSERT INTO seats VALUES ('A01', '00-1A-2B-3C-4D-01'); COMMIT;";
  const std::string machines =
      "CREATE TABLE pcs(name, mac); INSERT INTO pcs VALUES ('PC01', '00-1A-2B-3C-4D-01'), ('PC02', '00-1A-2B-3C-4D-02');";
  struct Case {
    const char* what;
    std::string sql;
    const char* damagedTable;  // a page of it overwritten, or none
    bool rootDamaged;
    LoadOutcome outcome;
    std::string source;
    int rows;
  };
  const std::vector<Case> cases = {
      {"1,000 tables", thousandTables, nullptr, true, LoadOutcome::Loaded,
       G("来源：表 seats，机器名取自 seat，MAC地址取自 mac，读入 1 台"), 1},
      {"hostile names",
       "CREATE TABLE \"x\"\"; DROP TABLE y; --\"(\"名 \"\"字\", \"mac'); --\");"
       "INSERT INTO \"x\"\"; DROP TABLE y; --\" VALUES ('PC01', '00-1A-2B-3C-4D-01'); CREATE TABLE y(a);",
       nullptr, true, LoadOutcome::Loaded,
       G("来源：表 x\"; DROP TABLE…，机器名取自 名 \"字，MAC地址取自 mac'); --，读入 1 台"), 1},  // long names cut
      {"a view and a virtual table of a missing module beside the table",
       "CREATE VIEW v AS SELECT name, mac FROM pcs;" + machines +
           "PRAGMA writable_schema=ON; INSERT INTO sqlite_schema VALUES "
           "('table', 'gone', 'gone', 0, 'CREATE VIRTUAL TABLE gone USING nosuchmodule(name, mac)');",
       nullptr, true, LoadOutcome::Loaded, G("来源：表 pcs，机器名取自 name，MAC地址取自 mac，读入 2 台"), 2},
      {"only a view and a virtual table",
       "CREATE TABLE raw(x); CREATE VIEW v AS SELECT 'PC01' AS name, '00-1A-2B-3C-4D-01' AS mac;"
       "PRAGMA writable_schema=ON; INSERT INTO sqlite_schema VALUES "
       "('table', 'gone', 'gone', 0, 'CREATE VIRTUAL TABLE gone USING nosuchmodule(name, mac)');",
       nullptr, true, LoadOutcome::NoList, G("未载入：other.db 里没有找到机器列表"), 0},
      {"a corrupt second table: no other table stands in for it", machines + "CREATE TABLE more(name, mac);"
       "INSERT INTO more VALUES ('PC09', '00-1A-2B-3C-4D-09');", "more", true, LoadOutcome::ReadFailed,
       G("未载入：other.db 读取中途出错"), 0},
      {"the machine table damaged past the rows looked at",
       "CREATE TABLE pcs(name, mac, note); WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
       "WHERE x < 3000) INSERT INTO pcs SELECT printf('PC%05d', x), printf('00-1A-2B-3C-%02X-%02X', x / 256, "
       "x % 256), 'a note to fill the pages' FROM c;",
       "pcs", false, LoadOutcome::ReadFailed, G("未载入：other.db 读取中途出错"), 0},
      {"40 names that are BLOBs of a megabyte", test::MegabyteBlobNamesSql(), nullptr, true, LoadOutcome::NoList,
       G("未载入：other.db 太大（一行超过 1 MB）"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    connection.close();
    std::filesystem::remove(dir / "other.db");
    test::SqliteFile(dir.core() + "\\other.db").run(c.sql);
    if (c.damagedTable != nullptr) DamagePageOf(dir / "other.db", c.damagedTable, c.rootDamaged);
    const auto before = FolderState(dir.path());
    list.clear();
    list.append("old", "old", "old");
    EXPECT_EQ(load(dir.core() + "\\other.db"), c.outcome);
    EXPECT_EQ(window.source, c.source);
    EXPECT_EQ(list.count(), c.outcome == LoadOutcome::NoList ? 1 : c.rows);
    if (c.outcome != LoadOutcome::NoList) {
      EXPECT_EQ(total(), G(" 总数:") + std::to_string(c.rows));
    }
    connection.close();
    EXPECT_EQ(FolderState(dir.path()), before) << test::Names(FolderState(dir.path()));
  }
}

// A text list replaced by another program while loads run (a spreadsheet
// saving over it): each load shows one version whole, never lines of both.
TEST_F(LoadFaultsTest, TextListReplacedWhileLoading) {
  std::string three, five;
  for (int i = 1; i <= 5; ++i) (i <= 3 ? three : five) += Number("PC%05d ", i) + MacOf(i) + "\r\n";
  five = three + five;
  test::WriteBytes(dir / "list.txt", three);
  std::atomic<bool> stop = false;
  std::atomic<int> replaced = 0;
  std::thread saver([&] {
    for (int version = 0; !stop; ++version) {
      test::WriteBytes(dir / "next.txt", version % 2 ? three : five);
      std::error_code ignored;
      std::filesystem::rename(dir / "next.txt", dir / "list.txt", ignored);
      if (!ignored) ++replaced;
    }
  });
  int seen[2] = {};
  const auto start = std::chrono::steady_clock::now();
  // Until both versions were seen too: on a busy machine the saver may be
  // scheduled seldom.
  for (int loads = 0; (loads < 100 || replaced < 50 || !seen[0] || !seen[1]) &&
                      std::chrono::steady_clock::now() - start < std::chrono::seconds(10);
       ++loads) {
    const LoadOutcome outcome = load(dir.core() + "\\list.txt");
    if (outcome == LoadOutcome::NoList) continue;  // caught between two names: "打不开"
    ASSERT_EQ(outcome, LoadOutcome::Loaded);
    ASSERT_TRUE(list.count() == 3 || list.count() == 5) << list.count();
    expectGenuineRows(5);
    ++seen[list.count() == 5];
  }
  stop = true;
  saver.join();
  EXPECT_GT(replaced, 0);
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
}

#ifdef _WIN32
// A spreadsheet holds the list it has open for writing and lets others read
// it: the list loads. A program that shares it with nobody: the label says
// the file cannot be opened, and the window keeps what it showed.
TEST_F(LoadFaultsTest, TextListHeldByAnotherProgram) {
  test::WriteBytes(dir / "list.csv", Number("PC%05d,", 1) + MacOf(1) + "\r\n");
  const std::wstring file = (dir.path() / "list.csv").wstring();
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{0}}) {
    SCOPED_TRACE(sharing);
    list.clear();
    list.append("old", "old", "old");
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const LoadOutcome outcome = load(dir.core() + "\\list.csv");
    CloseHandle(held);
    if (sharing != 0) {
      EXPECT_EQ(outcome, LoadOutcome::Loaded);
      EXPECT_EQ(list.count(), 1);
      EXPECT_EQ(list.cellText(0, kMachineNameColumn), "PC00001");
    } else {
      EXPECT_EQ(outcome, LoadOutcome::NoList);
      EXPECT_EQ(window.source, G("未载入：list.csv 打不开"));
      EXPECT_EQ(list.cellText(0, kMachineNameColumn), "old");
    }
  }
  EXPECT_EQ(window.count("caption:"), 0);
}
#endif

// ---------------------------------------------------------------------------
// The product's files stay as they were

// Any number of loads, then the end of the connection: every file beside the
// database holds the same bytes with the same modification time, and no
// journal or log is left behind.
TEST_F(LoadFaultsTest, LoadsNeverChangeTheProductsFiles) {
  test::MakeYungengxinDatabase(lwdiskless, Cafe(50));
  test::MakeWangweidashiDatabase(barserver, Cafe(50));
  {
    std::filesystem::create_directory(dir / "wal");
    Server server(dir.core() + "\\wal\\lwdiskless.db");  // stopped cleanly: no log left
    ASSERT_TRUE(server.run("PRAGMA journal_mode=WAL; CREATE TABLE tPcBaseInfo(MACHINE, mac);" +
                           InsertCafe("tPcBaseInfo", "MACHINE", 5)));
  }
  // The folder holding the logged database is left out: its own time changes
  // when SQLite makes and removes the log beside the database.
  auto before = FolderState(dir.path());
  before.erase("wal");
  const auto walBefore = FolderState(dir / "wal");
  ASSERT_EQ(test::Names(walBefore), "lwdiskless.db ");
  for (int round = 0; round < 5; ++round) {
    for (const std::string& path : {lwdiskless, barserver, dir.core() + "\\wal\\lwdiskless.db"}) {
      ASSERT_EQ(load(path), LoadOutcome::Loaded);
      EXPECT_EQ(list.count(), path == lwdiskless || path == barserver ? 50 : 5);
    }
  }
  connection.close();
  auto after = FolderState(dir.path());
  after.erase("wal");
  EXPECT_EQ(after, before) << test::Names(after);
  EXPECT_EQ(FolderState(dir / "wal"), walBefore) << test::Names(FolderState(dir / "wal"));
}

// A write-ahead-log database with its -wal and -shm files: rows that are only
// in the log are shown, and the log is left to its product, whether the
// server still runs or stopped without folding the log into the database.
// (-shm, the log's shared index, is written by every reader; it must stay.)
TEST_F(LoadFaultsTest, WriteAheadLogIsReadAndLeftAsFound) {
  for (const bool serverRuns : {true, false}) {
    SCOPED_TRACE(serverRuns ? "server running" : "server stopped without a checkpoint");
    const std::filesystem::path folder = dir / (serverRuns ? "running" : "stopped");
    std::filesystem::create_directory(folder);
    const std::string path = test::CorePath(folder) + "\\barserver.db";
    Server server(path);
    ASSERT_TRUE(server.run("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                           "CREATE TABLE tbl_Computer(ComputerName TEXT, mac TEXT);" +
                           InsertCafe("tbl_Computer", "ComputerName", 30)));
    if (!serverRuns) server.closeLeavingItsLog();
    auto before = FolderState(folder);
    ASSERT_EQ(test::Names(before), "barserver.db barserver.db-shm barserver.db-wal ");
    ASSERT_GT(before["barserver.db-wal"].bytes->size(), 0u);
    for (int round = 0; round < 3; ++round) {
      ASSERT_EQ(load(path), LoadOutcome::Loaded);
      ASSERT_EQ(list.count(), 30);
      EXPECT_EQ(list.cellText(29, kMacColumn), "M0-00030");
    }
    connection.close();
    auto after = FolderState(folder);
    EXPECT_EQ(test::Names(after), test::Names(before));
    after.erase("barserver.db-shm");
    before.erase("barserver.db-shm");
    EXPECT_EQ(after, before);
    if (serverRuns) {
      EXPECT_TRUE(server.run(InsertCafe("tbl_Computer", "ComputerName", 1, 1)));  // the server goes on
      EXPECT_EQ(load(path), LoadOutcome::Loaded);
      EXPECT_EQ(list.count(), 31);
      connection.close();
    }
  }
}

// A server that died in the middle of a write leaves a hot journal. SQLite
// puts the database back as it was at the last commit before anything may
// read it; the load then shows the committed rows and no journal is left.
TEST_F(LoadFaultsTest, HotJournalOfADeadServerIsRolledBack) {
  std::filesystem::create_directory(dir / "live");
  const std::string live = dir.core() + "\\live\\lwdiskless.db";
  Server server(live);
  ASSERT_TRUE(server.run("CREATE TABLE tPcBaseInfo(MACHINE TEXT, mac TEXT, junk BLOB);" +
                         InsertCafe("tPcBaseInfo", "MACHINE", 3)));
  ASSERT_TRUE(server.run("PRAGMA cache_size=1; BEGIN; UPDATE tPcBaseInfo SET MACHINE = 'X' || MACHINE;"
                         "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 200)"
                         " INSERT INTO tPcBaseInfo(MACHINE, junk) SELECT 'junk', randomblob(3000) FROM c;"));
  // The state the dead server left on disk, copied while it is mid-write.
  for (const char* suffix : {"", "-journal"}) {
    const auto bytes = test::ReadBytes(dir / "live" / (std::string("lwdiskless.db") + suffix));
    ASSERT_TRUE(bytes);
    test::WriteBytes(dir / (std::string("lwdiskless.db") + suffix), *bytes);
  }
  server.run("ROLLBACK");
  ASSERT_GT(std::filesystem::file_size(dir / "lwdiskless.db-journal"), 0u);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(load(lwdiskless), LoadOutcome::Loaded);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.cellText(0, kMachineNameColumn), "G0-00001");
  }
  connection.close();
  EXPECT_EQ(test::Names(FolderState(dir.path())), "live/ lwdiskless.db ");
}

// ---------------------------------------------------------------------------
// Damaged and foreign files

// Whatever the file holds, the load ends with an outcome it promises: the list
// rebuilt from what SQLite could read (all or nothing here, since the rows
// are sorted before the first one comes), the total telling the truth, and
// the file untouched. A good file afterwards loads normally.
TEST_F(LoadFaultsTest, DamagedFilesGiveAnHonestListAndStayUntouched) {
  constexpr int kMachines = 2000;
  MakeCafe(dir.core() + "\\good.db", "tPcBaseInfo", "MACHINE", kMachines);
  const std::string good = *test::ReadBytes(dir / "good.db");
  const std::size_t pageSize = (static_cast<unsigned char>(good[16]) << 8) | static_cast<unsigned char>(good[17]);
  ASSERT_EQ(good.size() % pageSize, 0u);
  std::mt19937 random(7);
  const auto noise = [&](std::size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
  };
  const auto with = [&](std::size_t at, const std::string& bytes) {
    std::string damaged = good;
    damaged.replace(at, bytes.size(), bytes);
    return damaged;
  };

  // What SQLite can read of each: nothing (the query fails on the damage), or
  // every row.
  struct Case {
    std::string what, bytes;
    bool allRows = false;
  };
  std::vector<Case> cases = {
      {"zero bytes", ""},
      {"text", "machine list\r\nPC01 00-1A-2B-3C-4D-5E\r\n"},
      {"noise", noise(65536)},
      {"SQLite header, then noise", "SQLite format 3" + std::string(1, '\0') + noise(8192)},
      {"cut to 100 bytes", good.substr(0, 100)},
      {"cut to its first page", good.substr(0, pageSize)},
      {"cut in half", good.substr(0, good.size() / 2)},
      {"cut by one page", good.substr(0, good.size() - pageSize)},
      {"page size 3", with(16, std::string("\x00\x03", 2))},
      {"page size 65535", with(16, std::string("\xFF\xFF", 2))},
      {"page count 4 billion", with(28, "\xFF\xFF\xFF\xFF")},
      {"schema page noise", with(100, noise(pageSize - 100))},
      {"unknown file format 9", with(18, std::string("\x09\x09", 2))},
      {"write-ahead-log mode flag, no log", with(18, std::string("\x02\x02", 2)), true},
  };
  for (std::size_t page = 1; page < good.size() / pageSize; ++page)  // every other page in turn
    cases.push_back({"page " + std::to_string(page + 1) + " noise", with(page * pageSize, noise(pageSize))});
  for (std::size_t page = 1; page < good.size() / pageSize; page += 3)
    cases.push_back({"page " + std::to_string(page + 1) + " zeroed", with(page * pageSize, std::string(pageSize, '\0'))});

  for (const auto& [what, bytes, allRows] : cases) {
    SCOPED_TRACE(what);
    connection.close();
    test::WriteBytes(dir / "lwdiskless.db", bytes);
    const auto before = FolderState(dir.path());
    list.append("old", "old", "old");
    ASSERT_TRUE(rebuilt(load(lwdiskless)));
    EXPECT_EQ(list.count(), allRows ? kMachines : 0);
    expectGenuineRows(kMachines);
    ASSERT_TRUE(rebuilt(load(lwdiskless)));
    connection.close();
    EXPECT_EQ(FolderState(dir.path()), before) << test::Names(FolderState(dir.path()));
  }

  // Cut inside its last page: SQLite reads the missing bytes as zeros, as it
  // would for the product itself, and the one value that lay there ends early.
  test::WriteBytes(dir / "lwdiskless.db", good.substr(0, good.size() - 1));
  ASSERT_EQ(load(lwdiskless), LoadOutcome::Loaded);
  ASSERT_EQ(list.count(), kMachines);
  int shortened = 0;
  for (int row = 0; row < list.count(); ++row) {
    const std::string mac(list.cellText(row, kMacColumn));
    const std::string genuine = MacOf(std::atoi(std::string(list.cellText(row, kMachineNameColumn)).c_str() + 2));
    if (mac == genuine) continue;
    ++shortened;
    EXPECT_EQ(genuine.rfind(mac, 0), 0u) << mac;
  }
  EXPECT_EQ(shortened, 1);
  connection.close();

  test::WriteBytes(dir / "lwdiskless.db", good);
  ASSERT_EQ(load(lwdiskless), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), kMachines);
  expectGenuineRows(kMachines);
}

// A real product's table has an index on the machine name, so the ordered
// read walks the index and fetches each row from the table: damage in the
// middle of the table is met after thousands of rows. The list is then
// empty with a total of 0, never the rows before the damage.
TEST_F(LoadFaultsTest, DamagedIndexedDatabaseNeverShowsPartOfTheList) {
  constexpr int kMachines = 20000;
  MakeCafe(dir.core() + "\\indexed.db", "tPcBaseInfo", "MACHINE", kMachines);
  Server(dir.core() + "\\indexed.db").run("CREATE INDEX ByMachine ON tPcBaseInfo(MACHINE)");
  const std::string good = *test::ReadBytes(dir / "indexed.db");
  const std::size_t pageSize = (static_cast<unsigned char>(good[16]) << 8) | static_cast<unsigned char>(good[17]);
  const std::size_t pages = good.size() / pageSize;
  int stoppedPartWay = 0;
  for (std::size_t page = pages / 4; page < pages / 2; page += 7) {
    SCOPED_TRACE("page " + std::to_string(page + 1) + " of " + std::to_string(pages));
    connection.close();
    std::string damaged = good;
    damaged.replace(page * pageSize, pageSize, std::string(pageSize, '\x5A'));
    test::WriteBytes(dir / "lwdiskless.db", damaged);
    const auto before = FolderState(dir.path());
    list.append("old", "old", "old");
    const LoadOutcome outcome = load(lwdiskless);
    ASSERT_TRUE(rebuilt(outcome));
    EXPECT_TRUE(list.count() == 0 || list.count() == kMachines) << list.count();
    expectGenuineRows(kMachines);
    stoppedPartWay += outcome == LoadOutcome::ReadFailed;
    connection.close();
    EXPECT_EQ(FolderState(dir.path()), before);
  }
  EXPECT_GT(stoppedPartWay, 0);  // the damage was met after the read had begun
}

// Paths that name something SQLite cannot open as a file: the caption says
// the connection failed, the list stays, nothing is created.
TEST_F(LoadFaultsTest, PathNamingAFolderCannotBeOpened) {
  std::filesystem::create_directory(dir / "lwdiskless.db");
  list.append("old", "old", "old");
  window.status[0] = "before";
  EXPECT_EQ(load(lwdiskless), LoadOutcome::OpenFailed);
  EXPECT_EQ(window.caption, G("数据库连接失败"));
  EXPECT_EQ(list.count(), 1);
  EXPECT_EQ(total(), "before");
  EXPECT_TRUE(std::filesystem::is_empty(dir / "lwdiskless.db"));
  EXPECT_EQ(test::Names(FolderState(dir.path())), "lwdiskless.db/ ");
}

// A database file marked read-only still loads: SQLite falls back to reading.
TEST_F(LoadFaultsTest, ReadOnlyDatabaseFileLoads) {
  test::MakeWangweidashiDatabase(barserver, Cafe(12));
  const std::filesystem::path file = dir / "barserver.db";
  std::filesystem::permissions(file, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  const auto before = FolderState(dir.path());
  EXPECT_EQ(load(barserver), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 12);
  expectGenuineRows(12);
  connection.close();
  EXPECT_EQ(FolderState(dir.path()), before);
  std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

// Tables of the right name but not of the product's shape.
TEST_F(LoadFaultsTest, WrongSchema) {
  const struct {
    const char* what;
    const char* sql;
    Texts names;
    Texts macs;
  } cases[] = {
      {"no MACHINE column: the query's ORDER BY fails", "CREATE TABLE tPcBaseInfo(name, mac); INSERT INTO tPcBaseInfo VALUES ('PC1', 'm1');",
       {}, {}},
      {"no table, other tables", "CREATE TABLE tbl_Computer(ComputerName, mac); INSERT INTO tbl_Computer VALUES ('PC1', 'm1');",
       {}, {}},
      {"a view of that name", "CREATE TABLE t(a, b); INSERT INTO t VALUES ('PC1', 'm1');"
                              "CREATE VIEW tPcBaseInfo AS SELECT a AS MACHINE, b AS mac FROM t;",
       {"PC1"}, {"m1"}},
      {"two columns named mac through a view: the first is read",
       "CREATE TABLE t(a, b, c); INSERT INTO t VALUES ('PC1', 'first', 'second');"
       "CREATE VIEW tPcBaseInfo AS SELECT a AS MACHINE, b AS MAC, c AS mac FROM t;",
       {"PC1"}, {"first"}},
      {"MACHINE only", "CREATE TABLE tPcBaseInfo(MACHINE); INSERT INTO tPcBaseInfo VALUES ('PC1');", {"PC1"}, {""}},
      {"a view whose query fails when run",
       "CREATE TABLE t(a); CREATE VIEW tPcBaseInfo AS SELECT a AS MACHINE, a AS mac FROM t;"
       "DROP TABLE t;",
       {}, {}},
      {"a virtual table of an unknown module", "PRAGMA writable_schema=ON;"
       "INSERT INTO sqlite_schema VALUES ('table', 'tPcBaseInfo', 'tPcBaseInfo', 0,"
       " 'CREATE VIRTUAL TABLE tPcBaseInfo USING nosuchmodule(MACHINE, mac)');",
       {}, {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = "schema" + std::to_string(n++);
    std::filesystem::create_directory(dir / folder);
    const std::string path = dir.core() + "\\" + folder + "\\lwdiskless.db";
    test::SqliteFile(path).run(c.sql);
    list.append("old", "old", "old");
    EXPECT_EQ(load(path), LoadOutcome::Loaded);
    Texts names, macs;
    for (int row = 0; row < list.count(); ++row) {
      names.emplace_back(list.cellText(row, kMachineNameColumn));
      macs.emplace_back(list.cellText(row, kMacColumn));
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(macs, c.macs);
    EXPECT_EQ(total(), G(" 总数:") + std::to_string(c.names.size()));
  }
}

// ---------------------------------------------------------------------------
// Odd and large values

// Values of 1 MB, BLOBs, numbers, NUL bytes and bytes that are not UTF-8 in
// the name and MAC columns; every one has a defined text, and the export
// writes the long ones whole.
TEST_F(LoadFaultsTest, LargeBlobAndNumericValues) {
  constexpr std::size_t kMegabyte = 1 << 20;
  const std::string megabyte = "replace(hex(zeroblob(524288)), '0', ";  // 1 MB of one character
  test::SqliteFile(lwdiskless).run(
      "CREATE TABLE tPcBaseInfo(ID INTEGER PRIMARY KEY, MACHINE, mac); INSERT INTO tPcBaseInfo(MACHINE, mac) VALUES"
      " ('A' || " + megabyte + "'x'), 'M01'),"
      " (replace(hex(zeroblob(349525)), '00', '网'), 'M02'),"
      " (X'00414243', 'M03'),"                         // a BLOB, read up to its first NUL
      " (X'50433034', 'M04'),"                         // a BLOB that is UTF-8
      " (X'FFFE', 'M05'),"                             // a BLOB that is not
      " (zeroblob(1000000), 'M06'),"
      " (CAST(X'5043303700686964' AS TEXT), 'M07'),"  // text with a NUL inside
      " (3.5, 'M08'), (-9223372036854775807 - 1, 'M09'),"
      " ('N10', X'FF' || randomblob(1048575)),"
      " ('N11', -0.25), ('N12', 123456789012), ('N13', X'30302D3161'),"
      " ('N14', CAST(X'EDA080' AS TEXT)),"             // a surrogate
      " ('N15', " + megabyte + "'m')), (NULL, NULL);");

  window.rule = {"WB-", "x", "y"};
  ASSERT_EQ(load(lwdiskless), LoadOutcome::Loaded);
  EXPECT_EQ(total(), G(" 总数:16"));
  std::string wang;
  while (wang.size() < 349525 * 2) wang += G("网");
  const std::multiset<std::pair<std::string, std::string>> expected = {
      {"A" + std::string(kMegabyte, 'x'), "M01"}, {wang, "M02"}, {"", "M03"}, {"PC04", "M04"}, {"", "M05"},
      {"", "M06"}, {"PC07", "M07"}, {"3.5", "M08"}, {"-9223372036854775808", "M09"}, {"N10", ""},
      {"N11", "-0.25"}, {"N12", "123456789012"}, {"N13", "00-1a"}, {"N14", ""}, {"N15", std::string(kMegabyte, 'm')},
      {"", ""}};
  std::multiset<std::pair<std::string, std::string>> shown;  // in ORDER BY MACHINE order: compared as a set
  for (int row = 0; row < list.count(); ++row) {
    shown.emplace(list.cellText(row, kMachineNameColumn), list.cellText(row, kMacColumn));
    EXPECT_EQ(list.cellText(row, kNewNameColumn), "WB-" + replaceAll(list.cellText(row, kMachineNameColumn), "x", "y"));
  }
  EXPECT_TRUE(shown == expected);

  const std::filesystem::path desktop = dir / "desktop";
  std::filesystem::create_directory(desktop);
  ExportRows(list, window,
             {[&] { return test::PathOf(desktop); }, [] { return CalendarToAutomationDate(2025, 7, 6, 9, 5, 3); }});
  EXPECT_EQ(window.events.back().rfind("info:" + G("成功导出16条"), 0), 0u);
  const auto file = test::ReadBytes(desktop / "202576090503.txt");
  ASSERT_TRUE(file);
  EXPECT_NE(file->find("M01 WB-A" + std::string(kMegabyte, 'y') + "\r\n"), std::string::npos);
  EXPECT_NE(file->find(std::string(kMegabyte, 'm') + " WB-N15\r\n"), std::string::npos);
}

// A café of a million machines: every row is loaded in name order, the total
// counts them all, and the export writes them all.
TEST_F(LoadFaultsTest, MillionRowsLoadAndExport) {
  constexpr int kRows = 1000000;
  {
    Server server(barserver);
    ASSERT_TRUE(server.run(
        "CREATE TABLE tbl_Computer(ID INTEGER PRIMARY KEY, ComputerName TEXT, IP TEXT, mac TEXT);"
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000)"
        " INSERT INTO tbl_Computer(ComputerName, mac)"
        " SELECT printf('PC%07d', 1000001 - x), printf('00-1a-%02x-%02x-%02x-%02x', x >> 24, (x >> 16) & 255,"
        "  (x >> 8) & 255, x & 255) FROM c;"));
  }
  window.rule = {"WB-", "", ""};
  ASSERT_EQ(load(barserver), LoadOutcome::Loaded);
  ASSERT_EQ(list.count(), kRows);
  EXPECT_EQ(total(), G(" 总数:1000000"));
  EXPECT_EQ(list.cellText(0, kMachineNameColumn), "PC0000001");
  EXPECT_EQ(list.cellText(0, kMacColumn), "00-1A-00-0F-42-40");
  EXPECT_EQ(list.cellText(kRows - 1, kNewNameColumn), "WB-PC1000000");
  EXPECT_EQ(list.cellText(kRows - 1, kMacColumn), "00-1A-00-00-00-01");

  const std::filesystem::path desktop = dir / "desktop";
  std::filesystem::create_directory(desktop);
  const ExportPlace place{[&] { return test::PathOf(desktop); },
                          [] { return CalendarToAutomationDate(2025, 7, 6, 9, 5, 3); }};
  ExportRows(list, window, place);
  const std::string path = test::CorePath(desktop) + "\\202576090503.txt";
  EXPECT_EQ(window.events.back(), "info:" + G("成功导出1000000条数据至文件：") + path);
  // The whole file, read in one piece (byte-wise reading is slow under the sanitizers).
  std::ifstream in(desktop / "202576090503.txt", std::ios::binary);
  auto file = std::make_optional(std::string(std::filesystem::file_size(desktop / "202576090503.txt"), '\0'));
  ASSERT_TRUE(in.read(file->data(), static_cast<std::streamsize>(file->size())));
  constexpr std::size_t kLine = sizeof("00-1A-00-0F-42-40 WB-PC0000001\r\n") - 1;
  ASSERT_EQ(file->size(), kRows * kLine);
  EXPECT_EQ(file->substr(0, kLine), "00-1A-00-0F-42-40 WB-PC0000001\r\n");
  EXPECT_EQ(file->substr(file->size() - kLine), "00-1A-00-00-00-01 WB-PC1000000\r\n");
}

// Memory that really runs out part-way through a load, whatever reads the
// file (the text list, a workbook through expat and zlib, another
// product's database through SQLite): with less and less room left, each
// load reads the whole list or fails and says so, the list emptied; never
// part of a list, never the end of the program. With room again the same
// file loads whole.
TEST_F(LoadFaultsTest, RunningOutOfMemoryIsAFailedLoadThatSaysSo) {
  if (!test::AddressSpaceLimit::available()) GTEST_SKIP() << "the sanitizer's allocator cannot run out quietly";
  constexpr int kMachines = 60000;
  {
    // Made in buffers of their final size: no freed room of the allocator's
    // would serve the load beyond the headroom.
    std::string csv = "name,mac\r\n", sheet;
    csv.reserve(kMachines * 32);
    sheet.reserve(kMachines * 96);
    for (int i = 1; i <= kMachines; ++i) {
      csv += Number("PC%05d,", i) + MacOf(i) + "\r\n";
      sheet += test::RowXml(i, test::InlineCell("A" + std::to_string(i), Number("PC%05d", i)) +
                                   test::InlineCell("B" + std::to_string(i), MacOf(i)));
    }
    test::WriteBytes(dir / "list.csv", csv);
    test::WriteZip(dir / "book.xlsx", test::WorkbookParts({{"Sheet1", sheet}}));
  }
  MakeCafe(dir.core() + "\\other.db", "pcs", "name", kMachines);
  // Values of 4 MB, which SQLite assembles whole from their pages: it
  // runs out first, while the list stays small (one machine listed eight
  // times, its names no text).
  test::SqliteFile(dir.core() + "\\sightings.db")
      .run("CREATE TABLE seen(name, mac); WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
           "WHERE x < 8) INSERT INTO seen SELECT randomblob(4194304), '00-1A-2B-3C-4D-01' FROM c;");
  const std::pair<const char*, int> files[] = {
      {"list.csv", kMachines}, {"book.xlsx", kMachines}, {"other.db", kMachines}, {"sightings.db", 8}};
  for (const auto& [file, machines] : files) {
    SCOPED_TRACE(file);
    const std::string path = dir.core() + "\\" + file;
    int ranOut = 0;
    for (const std::size_t headroom : {48u << 20, 24u << 20, 12u << 20, 6u << 20, 3u << 20, 1u << 20}) {
      SCOPED_TRACE(headroom);
      connection.close();
      list.clearAndRelease();
      list.append("old", "old", "old");
      LoadOutcome outcome;
      {
        const test::AddressSpaceLimit limit(headroom);
        outcome = load(path);
      }
      if (outcome == LoadOutcome::Loaded) {
        EXPECT_EQ(list.count(), machines);
        continue;
      }
      ++ranOut;
      EXPECT_EQ(outcome, LoadOutcome::ReadFailed);
      EXPECT_EQ(window.source, G("未载入：") + file + G(" 太大（内存不足）"));
      EXPECT_EQ(list.count(), 0);
      EXPECT_EQ(total(), G(" 总数:0"));
    }
    EXPECT_GT(ranOut, 0);
    EXPECT_EQ(load(path), LoadOutcome::Loaded);
    EXPECT_EQ(list.count(), machines);
  }
}

// ---------------------------------------------------------------------------
// Hostile text

// Files made to exhaust a reader: each gives a list or a word, in time, and a
// file past a bound leaves the list as it was.
TEST_F(LoadFaultsTest, HostileTextGivesAListOrAWordInTime) {
  const std::string kMac = "00-1A-2B-3C-4D-01";
  const auto repeat = [](std::string_view piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
  };
  std::string million = "机器名,MAC地址\r\n";
  million.reserve(32u << 20);
  char line[64];
  for (int i = 1; i <= 1000000; ++i) {
    std::snprintf(line, sizeof line, "PC%07d,00-1A-%02X-%02X-%02X-%02X\r\n", i, i >> 24, (i >> 16) & 255, (i >> 8) & 255, i & 255);
    million += line;
  }
  const struct {
    const char* what;
    std::string bytes;         // written whole, or
    std::uintmax_t zeros = 0;  // this many zero bytes, without writing them
    const char* source;        // after "未载入：x.txt " for a refusal, else the whole label
    int rows = -1;             // a list loaded
  } cases[] = {
      {"a header of 15 million cells", "MAC" + repeat(",a", 15000000) + "\nA01," + kMac + "\n", 0, "太大（一行超过 1 MB）"},
      {"60 MB without a line break", std::string(60u << 20, 'x'), 0, "太大（一行超过 1 MB）"},
      {"50 MB of zero bytes", "", 50u << 20, "太大（一行超过 1 MB）"},
      {"more cells in a line than a sheet has columns", "MAC" + repeat(",a", 17000) + "\nA01," + kMac + "\n", 0,
       "太大（一行超过 16384 格）"},
      {"more lines than any café has machines", repeat("a\n", 2000001), 0, "太大（超过 2000000 行）"},
      {"a million machines", million, 0, "来源：文本列表，机器名取自 机器名，MAC地址取自 MAC地址，读入 1000000 台", 1000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto file = dir / "x.txt";
    test::WriteBytes(file, c.bytes);
    if (c.zeros > 0) std::filesystem::resize_file(file, c.zeros);
    list.clear();
    list.append("old", "old", "old");
    window.status[0] = "before";
    const LoadOutcome outcome = load(dir.core() + "\\x.txt");
    if (c.rows < 0) {
      EXPECT_EQ(outcome, LoadOutcome::NoList);
      EXPECT_EQ(window.source, G("未载入：x.txt ") + G(c.source));
      EXPECT_EQ(list.count(), 1);
      EXPECT_EQ(total(), "before");
    } else {
      EXPECT_EQ(outcome, LoadOutcome::Loaded);
      EXPECT_EQ(window.source, G(c.source));
      EXPECT_EQ(list.count(), c.rows);
    }
  }
}

// ---------------------------------------------------------------------------
// Long paths

std::filesystem::path Deep(const std::filesystem::path& base, std::size_t atLeast) {
  std::filesystem::path deep = base;
  for (int i = 0; deep.native().size() < atLeast; ++i) deep /= std::string(60, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  return deep;
}

// A database in a folder more than 260 characters deep loads; one too deep
// for SQLite's path buffer gives the failed-connection caption. Neither
// creates a file.
TEST_F(LoadFaultsTest, PathsLongerThan260Characters) {
  const std::filesystem::path deep = Deep(dir.path(), 300);
  const std::string path = test::CorePath(deep) + "\\lwdiskless.db";
  ASSERT_GT(path.size(), 300u);
  test::MakeYungengxinDatabase(path, Cafe(5));
  EXPECT_EQ(load(path), LoadOutcome::Loaded);
  EXPECT_EQ(list.count(), 5);
  EXPECT_EQ(window.caption, "");

  const std::filesystem::path deeper = Deep(deep, 1100);
  const std::string tooLong = test::CorePath(deeper) + "\\lwdiskless.db";
  const auto bytes = test::ReadBytes(deep / "lwdiskless.db");
  test::WriteBytes(deeper / "lwdiskless.db", *bytes);
  EXPECT_EQ(load(tooLong), LoadOutcome::OpenFailed);
  EXPECT_EQ(window.caption, G("数据库连接失败"));
  EXPECT_EQ(list.count(), 5);
  EXPECT_EQ(test::ReadBytes(deeper / "lwdiskless.db"), bytes);
  for (const char* beside : {"lwdiskless.db-journal", "lwdiskless.db-wal", "lwdiskless.db-shm"})
    EXPECT_FALSE(std::filesystem::exists(deeper / beside)) << beside;
}

}  // namespace
}  // namespace venbrook
