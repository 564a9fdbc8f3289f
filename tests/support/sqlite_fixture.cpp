#include "support/sqlite_fixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/os.h"

namespace venbrook::test {
namespace {

std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

void MakeDatabase(const GivenPath& file, std::string_view table, std::string_view nameColumn,
                  const std::vector<Machine>& machines) {
  SqliteFile database(file);
  std::string sql = "CREATE TABLE " + std::string(table) + "(ID INTEGER PRIMARY KEY, " + std::string(nameColumn) +
                    " TEXT, IP TEXT, mac TEXT, Remark TEXT);";
  for (const Machine& machine : machines)
    sql += "INSERT INTO " + std::string(table) + "(" + std::string(nameColumn) + ", IP, mac) VALUES (" +
           Quoted(machine.name) + ", '10.0.0.1', " + Quoted(machine.mac) + ");";
  database.run(sql);
}

}  // namespace

SqliteFile::SqliteFile(const GivenPath& file) {
  const int status = sqlite3_open_v2(os::SqliteFileName(file.path).c_str(), &db_,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  EXPECT_EQ(status, SQLITE_OK) << "cannot open test database";
}

SqliteFile::~SqliteFile() { sqlite3_close(db_); }

bool SqliteFile::tryRun(std::string_view sqlUtf8) {
  return sqlite3_exec(db_, std::string(sqlUtf8).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

void SqliteFile::run(std::string_view sqlUtf8) {
  char* error = nullptr;
  const std::string sql(sqlUtf8);
  EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << "\n" << sql;
  sqlite3_free(error);
}

void MakeYungengxinDatabase(const GivenPath& file, const std::vector<Machine>& machines) {
  MakeDatabase(file, "tPcBaseInfo", "MACHINE", machines);
}

void MakeWangweidashiDatabase(const GivenPath& file, const std::vector<Machine>& machines) {
  MakeDatabase(file, "tbl_Computer", "ComputerName", machines);
}

std::string MegabyteBlobNamesSql() {
  return "CREATE TABLE pcs(name, mac); WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 40)"
         " INSERT INTO pcs SELECT iif(x IN (7, 29), CAST(X'FF' || randomblob(1048575) AS BLOB),"
         " CAST(printf('PC%02d', x) || replace(hex(zeroblob(524286)), '0', 'a') AS BLOB)),"
         " printf('00-1A-2B-3C-4D-%02X', x) FROM c;";
}

}  // namespace venbrook::test
