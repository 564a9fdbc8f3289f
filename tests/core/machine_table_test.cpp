// The machine table of a database of any product, and the two products'
// databases told by their tables, whatever the file is called.
#include "sources/sqlite/machine_table.h"
#include "sources/sqlite/product_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

#include "core/fault_files.h"
#include "sources/sqlite/source_connection.h"
#include "sources/sqlite/sqlite_statement.h"
#include "support/gbk_literal.h"
#include "support/sqlite_fixture.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

// SQL making the table `declaration` ("t(a, b)") with rows x = 1..n whose
// values are SQL expressions of x, where $mac, $pc and $ip stand for a MAC,
// a machine name and an IPv4 address made from x.
std::string Table(const std::string& declaration, int n, std::string values) {
  for (const auto& [word, sql] : {std::pair{"$mac", "printf('00-1A-2B-3C-%02X-%02X', x / 256, x % 256)"},
                                  {"$pc", "printf('PC%04d', x)"},
                                  {"$ip", "printf('10.0.0.%d', x)"}})
    for (std::size_t at; (at = values.find(word)) != std::string::npos;) values.replace(at, std::strlen(word), sql);
  return "CREATE TABLE " + declaration + "; WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " +
         std::to_string(n) + ") INSERT INTO " + declaration.substr(0, declaration.find('(')) + " SELECT " + values +
         " FROM c;";
}
std::string Pcs(const std::string& table, int n) { return Table(table + "(pc, mac)", n, "$pc, $mac"); }

enum class Damage { None, RootOfB, MiddleOfB };  // junk over a page of table b

class MachineTableTest : public testing::Test {
 protected:
  // A database made by `sql`, opened as a load opens it.
  sqlite3* make(const std::string& sql, Damage damage = Damage::None) {
    const Path path = test::PathOf(dir / (std::to_string(++files) + ".db"));
    test::SqliteFile(path).run(sql);
    EXPECT_TRUE(connection.open(path));
    if (damage == Damage::None) return connection.handle();
    int root, pages, size;
    {
      Statement query(connection.handle(),
                      "SELECT rootpage, (SELECT page_count FROM pragma_page_count),"
                      " (SELECT page_size FROM pragma_page_size) FROM sqlite_schema WHERE name = 'b'");
      EXPECT_EQ(sqlite3_step(query.get()), SQLITE_ROW);
      root = sqlite3_column_int(query.get(), 0), pages = sqlite3_column_int(query.get(), 1);
      size = sqlite3_column_int(query.get(), 2);
    }
    const int page = damage == Damage::RootOfB ? root : (root + pages) / 2;
    connection.close();
    const auto file = dir / (std::to_string(files) + ".db");
    std::string bytes = *test::ReadBytes(file);
    test::WriteBytes(file, bytes.replace(std::size_t(page - 1) * size, size, size, '\xEE'));
    EXPECT_TRUE(connection.open(path));
    return connection.handle();
  }
  static std::string Found(const FoundTable& found) {
    switch (found.search) {
      case TableSearch::Found: return found.table + " | " + found.nameColumn + " | " + found.macColumn;
      case TableSearch::NoTable: return "none";
      case TableSearch::Locked: return "locked";
      case TableSearch::Damaged: return "damaged";
      case TableSearch::TooLarge: return "too large";
    }
    return "?";
  }
  // Every row read, as "name mac;" in GBK; `whole` says whether the read ended normally.
  std::string read(sqlite3* db, std::string_view table, bool& whole) {
    MachineList list;
    const RenameRule rule;
    RowSink sink(list, rule, MacRule::Canonical);
    whole = ReadMachineTable(db, table, sink).table.outcome == TableRead::Outcome::Loaded;
    if (!whole) sink.abandon();  // as the load does: part of a list is never shown
    std::string rows;
    for (int row = 0; row < list.count(); ++row)
      rows +=
          std::string(list.cellText(row, kMachineNameColumn)) + " " + std::string(list.cellText(row, kMacColumn)) + ";";
    return rows;
  }

  test::TempFolder dir;
  SourceConnection connection;
  int files = 0;
};

TEST_F(MachineTableTest, FindsTheMachineTable) {
  const struct {
    const char* what;
    std::string sql;
    const char* found;
    Damage damage = Damage::None;
  } cases[] = {
      {"another product's table",
       Table("clients(id INTEGER PRIMARY KEY, hostname, ip, mac_addr)", 3, "x, $pc, $ip, $mac"),
       "clients | hostname | mac_addr"},
      {"a MAC column named so", Table("t(gateway, 物理地址, 名称)", 3, "$mac, $mac, $pc"), "t | 名称 | 物理地址"},
      {"else the leftmost", Table("t(a, b, 机器)", 3, "$mac, $mac, $pc"), "t | 机器 | a"},
      {"twelve digits count under a MAC header", Table("t(mac INTEGER, name)", 3, "112233445566 + x, $pc"),
       "t | name | mac"},
      {"and with a letter", Table("t(a, name)", 3, "printf('0011223344%02d', x), $pc") + Table("u(a, name)", 2, "printf('00112233AA%02d', x), $pc"),
       "u | name | a"},
      {"an IP column is never the MAC's, nor a date", Table("t(name, ip, seen, mac)", 3,
       "$pc, printf('192.168.100.%d', x), printf('2024-06-0%d 10:00', x), $mac"), "t | name | mac"},
      {"90 % MACs", Table("t(mac, name)", 200, "iif(x <= 180, $mac, 'old'), $pc"), "t | name | mac"},
      {"89.5 % MACs", Table("t(mac, name)", 200, "iif(x <= 179, $mac, 'old'), $pc"), "none"},
      {"a word for no value is a gap, not a value", Table("t(mac, name)", 200, "iif(x <= 100, $mac, 'N/A'), $pc"),
       "t | name | mac"},
      {"an address is a value, not a gap", Table("t(mac, name)", 200, "iif(x <= 179, $mac, '192.168.1.1'), $pc"), "none"},
      {"numbers count, empty values do not",
       Table("t(a, b, name)", 20,
             "iif(x <= 9, $mac, iif(x <= 11, 5, NULL)), iif(x <= 9, $mac, iif(x = 10, 5, ' ')), $pc"),
       "t | name | b"},
      {"only the first 200 rows count",
       Table("t(a, b, name)", 900, "iif(x <= 200, $mac, 'n/a'), iif(x > 200, $mac, 'n/a'), $pc"), "t | name | a"},
      {"a name by its word", Table("t(note, ip, mac, 终端)", 3, "'x', $ip, $mac, $pc"), "t | 终端 | mac"},
      {"by its word, holding names", Table("t(machine_id, pc_ip, mac, pc_name)", 3, "x, $ip, $mac, $pc"),
       "t | pc_name | mac"},
      {"a row number is no name, whatever else its header says", Table("t(seat_no, mac)", 3, "x, $mac"), "t |  | mac"},
      {"nor a column of BLOBs that are no text", Table("t(photo, mac)", 5, "CAST(X'FF' || randomblob(8) AS BLOB), $mac"),
       "t |  | mac"},
      {"nor a repeated word", Table("t(mac, status, zone, host)", 4, "$mac, 'Active', 'A区', $pc"), "t | host | mac"},
      {"by content, past IPv4",
       Table("t(id INTEGER PRIMARY KEY, ip, label, mac)", 6, "x, $ip, iif(x <= 4, $pc, ''), $mac"), "t | label | mac"},
      {"names in half the rows",
       Table("t(id INTEGER PRIMARY KEY, ip, label, mac)", 6, "x, $ip, iif(x <= 3, $pc, ''), $mac"), "t |  | mac"},
      {"no rows, no MACs, and WITHOUT ROWID",
       "CREATE TABLE e(name, mac);" + Table("n(name, mac)", 5, "$pc, NULL") +
           Table("w(mac PRIMARY KEY, pc) WITHOUT ROWID", 2, "$mac, $pc"),
       "w | pc | mac"},
      {"the most rows, the first of those", Pcs("a", 250) + Pcs("b", 300) + Pcs("c", 300), "b | pc | mac"},
      {"a table with a name column beats more MACs without names (a switch's ports)",
       Table("ports(port, vlan, mac)", 20, "printf('Gi1/0/%d', x), 10, $mac") + Pcs("clients", 5), "clients | pc | mac"},
      {"distinct MACs beat more rows that repeat them",
       Pcs("hosts", 3) + Table("leases(pc, mac)", 9, "$pc, printf('00-1A-2B-3C-00-%02X', x % 3 + 1)"), "hosts | pc | mac"},
      {"views and a missing module",
       "PRAGMA writable_schema=ON; INSERT INTO sqlite_schema VALUES ('table', 'v', 'v', 0,"
       " 'CREATE VIRTUAL TABLE v USING nosuch(pc, mac)'); PRAGMA writable_schema=OFF;" +
           Pcs("a", 2) +
           "CREATE VIEW b AS SELECT * FROM a UNION ALL SELECT * FROM a; CREATE VIEW c AS SELECT * FROM gone;",
       "a | pc | mac"},
      {"a damaged second table fails the search", Pcs("a", 2) + Pcs("b", 3000), "damaged", Damage::RootOfB},
      {"so does one damaged past its sample", Pcs("a", 2) + Pcs("b", 3000), "damaged", Damage::MiddleOfB},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Found(FindMachineTable(make(c.sql, c.damage))), c.found);
  }
  // A module SQLite has: the virtual table is passed over for a table behind it.
  if (sqlite3_compileoption_used("ENABLE_FTS5")) {
    const std::string fts =
        "CREATE VIRTUAL TABLE v USING fts5(pc, mac); INSERT INTO v VALUES ('PC1', '00-1A-2B-3C-4D-5E');";
    EXPECT_EQ(Found(FindMachineTable(make(fts))), "v_content | c0 | c1");
  }
}

TEST_F(MachineTableTest, ThousandTables) {
  std::string sql = "BEGIN;";
  for (int i = 0; i < 1000; ++i) sql += Pcs("t" + std::to_string(i), i == 700 ? 2 : 1);
  EXPECT_EQ(Found(FindMachineTable(make(sql + "COMMIT;"))), "t700 | pc | mac");
}

// Names made to break out of their quotes are read as names, and nothing of
// the file changes.
TEST_F(MachineTableTest, HostileNamesAreOnlyNames) {
  const std::string hostile =
      R"sql("表 ""x""; DROP TABLE other; --"("名 字", "mac' ""m"")", "x]; DELETE FROM other"))sql";
  sqlite3* db = make("CREATE TABLE other(a);" + Table(hostile, 2, "$pc, $mac, 'x'"));
  const auto before = test::FolderState(dir.path());
  const auto found = FindMachineTable(db);
  EXPECT_EQ(Found(found), R"(表 "x"; DROP TABLE other; -- | 名 字 | mac' "m"))");
  bool whole = false;
  EXPECT_EQ(read(db, found.table, whole), "PC0001 00-1A-2B-3C-00-01;PC0002 00-1A-2B-3C-00-02;");
  EXPECT_TRUE(whole);
  connection.close();
  EXPECT_EQ(test::FolderState(dir.path()), before);
}

TEST_F(MachineTableTest, ReadsInStoredOrderAndFailsOnDamage) {
  // An index holding both columns would be the shorter path, in its own order.
  sqlite3* db = make(
      "CREATE TABLE t(id INTEGER PRIMARY KEY, pc, mac, pad); CREATE INDEX i ON t(pc, mac);"
      "INSERT INTO t VALUES (3, 'B', '00:00:00:00:00:03', randomblob(500)), (1, 'C', '000000000001', 1),"
      " (2, '网A', '00-00-00-00-00-02', 2), (4, 'D', '00-00-00-00-00-01', 3), (5, 'E', 'ff-ff-ff-ff-ff-ff', 4);");
  bool whole = false;
  // In one form, a repeated MAC kept as a list keeps it; a broadcast address is none.
  EXPECT_EQ(read(db, "t", whole),
            "C 00-00-00-00-00-01;" + G("网A") + " 00-00-00-00-00-02;B 00-00-00-00-00-03;D 00-00-00-00-00-01;");
  EXPECT_TRUE(whole);
  // A name column that fails over the whole table gives empty names.
  EXPECT_EQ(read(make(Table("r(pc, mac)", 300, "iif(x <= 200, $pc, 'same'), $mac")), "r", whole)
                .substr(0, 19),
            " 00-1A-2B-3C-00-01;");
  EXPECT_TRUE(whole);
  // A history of sightings: one machine per MAC, named by its latest row
  // that names it.
  EXPECT_EQ(read(make("CREATE TABLE seen(pc, mac, at); INSERT INTO seen VALUES"
                      " ('', '00-00-00-00-00-01', '2025-07-01 10:00'), ('A01', '00-00-00-00-00-01', '2025-07-02 10:00'),"
                      " ('A02', '00-00-00-00-00-02', '2025-07-02 11:00'), ('', '00-00-00-00-00-01', '2025-07-03 10:00');"),
                 "seen", whole),
            "A01 00-00-00-00-00-01;A02 00-00-00-00-00-02;");
  EXPECT_TRUE(whole);
  EXPECT_EQ(read(db, "gone", whole), "");  // a table no longer there
  EXPECT_FALSE(whole);
  EXPECT_EQ(read(make(Pcs("b", 3000), Damage::MiddleOfB), "b", whole), "");
  EXPECT_FALSE(whole);
}

// A name as another product stores it, text or BLOB, in a database of any
// encoding: a BLOB is read as a text in the database's encoding, and is
// empty when it is none there; a value past a megabyte is empty; a
// character beyond U+FFFF shows as Windows converts it. Never raw bytes.
TEST_F(MachineTableTest, NamesOfEveryStorage) {
  const std::string megabyte = "replace(hex(zeroblob(524288)), '0', 'a')";
  const struct {
    const char* what;
    const char* encoding;
    std::string value;  // SQL
    std::string name;   // GBK
  } cases[] = {
      {"text", "UTF-8", "'PC01'", "PC01"},
      {"a BLOB of UTF-8", "UTF-8", "X'E7BD91E590A7'", G("网吧")},
      {"a BLOB of UTF-8 with an emoji", "UTF-8", "X'5043F09F9880'", "PC??"},
      {"text with an emoji", "UTF-8", "'PC' || char(128512)", "PC??"},
      {"a BLOB that is no UTF-8", "UTF-8", "X'FFFE50'", ""},
      {"a BLOB of a surrogate's three bytes", "UTF-8", "X'EDA080'", ""},
      {"a BLOB of a megabyte less its row's MAC", "UTF-8", "CAST(substr(" + megabyte + ", 64) AS BLOB)",
       std::string((1 << 20) - 63, 'a')},
      {"text of a megabyte and one byte", "UTF-8", "'b' || " + megabyte, ""},
      {"a BLOB of a megabyte and one byte", "UTF-8", "CAST('b' || " + megabyte + " AS BLOB)", ""},
      {"a BLOB of UTF-16 little-endian", "UTF-16le", "X'500043003100517F'", "PC1" + G("网")},
      {"of UTF-16 big-endian", "UTF-16be", "X'0050004300317F51'", "PC1" + G("网")},
      {"a surrogate pair", "UTF-16le", "X'3DD800DE'", "??"},
      {"a lone surrogate", "UTF-16le", "X'500000D8'", ""},
      {"half a unit", "UTF-16le", "X'500043'", ""},
      {"a low surrogate first, big-endian", "UTF-16be", "X'DC00D800'", ""},
      {"text in a UTF-16 database", "UTF-16le", "'PC1网'", "PC1" + G("网")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sqlite3* db = make(std::string("PRAGMA encoding = '") + c.encoding + "'; CREATE TABLE t(pc, mac);" +
                       "INSERT INTO t VALUES ('PC-A', '00-1A-2B-3C-4D-01'), ('PC-B', '00-1A-2B-3C-4D-02'), (" +
                       c.value + ", '00-1A-2B-3C-4D-03');");
    EXPECT_EQ(Found(FindMachineTable(db)), "t | pc | mac");
    bool whole = false;
    EXPECT_EQ(read(db, "t", whole),
              "PC-A 00-1A-2B-3C-4D-01;PC-B 00-1A-2B-3C-4D-02;" + c.name + " 00-1A-2B-3C-4D-03;");
    EXPECT_TRUE(whole);
  }
}

// Forty names of a megabyte each, BLOBs: a row of the table past a row's
// bound, and the table is refused with the bound's words, at once.
TEST_F(MachineTableTest, FortyMegabyteBlobNames) {
  const FoundTable found = FindMachineTable(make(test::MegabyteBlobNamesSql()));
  EXPECT_EQ(found.search, TableSearch::TooLarge);
  EXPECT_EQ(found.bound, Bound::RecordBytes);
}

TEST_F(MachineTableTest, ProductByContent) {
  const struct {
    std::string sql;
    const SourceProfile* product;
  } cases[] = {
      {"CREATE TABLE tPcBaseInfo(machine, MAC);", &kSourceProfiles[0]},
      {"CREATE TABLE tbl_Computer(ComputerName, mac);", &kSourceProfiles[1]},
      {"CREATE TABLE tbl_Computer(ComputerName, mac); CREATE TABLE tPcBaseInfo(MACHINE, mac);", &kSourceProfiles[0]},
      {"CREATE TABLE tbl_Computer(ComputerName, mac); CREATE TABLE tPcBaseInfo(MACHINE, ip);", &kSourceProfiles[1]},
      {"CREATE TABLE tbl_Computer(ComputerName, ip); CREATE TABLE tPcBaseInfo(name, mac);", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    bool locked = true;
    EXPECT_EQ(ProductByContent(make(c.sql), locked), c.product);
    EXPECT_FALSE(locked);
  }
}

}  // namespace
}  // namespace venbrook
