#pragma once
// A café's machine list in a SQLite database that is neither product's: the
// one table that looks like a list of machines, read as a layout of rows
// through the one table pipeline (table/table_read.h), its column names
// being the header.
#include <string>
#include <string_view>

#include "sources/row_sink.h"
#include "sources/table/table_read.h"

struct sqlite3;

namespace venbrook {

enum class TableSearch {
  Found,
  NoTable,  // no table holds a list of machines
  Locked,   // another program held the database past the busy time-out
  Damaged,  // a table that holds a list could not be counted or sampled whole
  TooLarge, // a table's row is past a bound (read_bounds.h)
};

struct FoundTable {
  TableSearch search;
  std::string table;       // UTF-8, as the schema names it
  std::string nameColumn;  // as its sample was judged (UTF-8); none: empty
  std::string macColumn;
  Bound bound = Bound::RecordBytes;  // which, when TooLarge
};

// The machine table of a database that is neither product's. Every ordinary
// table's columns are judged over its first 200 rows. Of the tables with a
// MAC column, one with a name column beats one without (a switch's port
// table holds MACs and no names); then one whose MACs are distinct beats one
// that repeats them (leases, sightings, history); then the one with more
// rows; then the first in the schema. A candidate that cannot be counted
// makes the search fail: another table never stands in for a damaged one.
// The first wait for a lock is the only one: the search then gives up.
FoundTable FindMachineTable(sqlite3* db);

struct MachineTableRead {
  TableRead table;      // Damaged: the read stopped early (damage, a lock, a changed table)
  bool locked = false;  // it stopped on another program's lock
};

// Every row of the table, in its stored order, its columns judged again over
// the whole table. A read that stops early leaves the list to the caller to
// empty: part of a list never passes for the whole.
MachineTableRead ReadMachineTable(sqlite3* db, std::string_view table, RowSink& sink);

}  // namespace venbrook
