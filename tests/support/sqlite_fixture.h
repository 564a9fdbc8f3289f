#pragma once
// Real SQLite files for the loads to read, made through the same file names
// the core gives SQLite.
#include <string>
#include <string_view>
#include <vector>

#include "support/test_paths.h"

struct sqlite3;

namespace venbrook::test {

// A connection of its own to a database file, created when missing; for
// setting a file up or holding a lock on it.
class SqliteFile {
 public:
  explicit SqliteFile(const GivenPath& file);
  ~SqliteFile();
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  void run(std::string_view sqlUtf8);     // fails the test on an error
  bool tryRun(std::string_view sqlUtf8);  // for other threads: no assertion

 private:
  sqlite3* db_ = nullptr;
};

struct Machine {
  std::string name;  // UTF-8, as the products store it
  std::string mac;
};

// A database of one product at `file`, with the machines in the order
// given (the load sorts them). The product's table has further columns
// before and after the two that are read.
void MakeYungengxinDatabase(const GivenPath& file, const std::vector<Machine>& machines);
void MakeWangweidashiDatabase(const GivenPath& file, const std::vector<Machine>& machines);

// SQL making another product's table pcs(name, mac) of 40 machines whose
// names are BLOBs of 1 MB: 38 of them UTF-8 text ("PC01" and 'a's), the
// 7th and the 29th random bytes, which are no text.
std::string MegabyteBlobNamesSql();

}  // namespace venbrook::test
