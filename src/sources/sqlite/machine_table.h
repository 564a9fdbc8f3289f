#pragma once
// A café's machine list in a SQLite database that is neither product's: the
// one table that looks like a list of machines.
#include <cstdint>
#include <optional>
#include <string>

#include "sources/row_sink.h"

struct sqlite3;

namespace venbrook {

struct MachineTable {
  std::string table;       // UTF-8, as the schema names it
  std::string nameColumn;  // UTF-8; empty: no column holds the machines' names
  std::string macColumn;   // UTF-8
};

enum class TableSearch {
  Found,
  NoTable,  // no table holds a list of machines
  Locked,   // another program held the database past the busy time-out
  Damaged,  // a table that holds a list could not be counted or sampled whole
};

struct FoundTable {
  TableSearch search;
  MachineTable table;
};

// The machine table of a database that is neither product's. Every ordinary
// table's columns are judged over its first 200 rows by the column judge
// (sources/columns/column_judge.h), its column names being the header. Of
// the tables with a MAC column, one whose MACs are distinct beats one that
// repeats them (leases, sightings, history); then the one with more rows;
// then the first in the schema. A candidate that cannot be counted makes
// the search fail: another table never stands in for a damaged one. The
// first wait for a lock is the only one: the search then gives up.
FoundTable FindMachineTable(sqlite3* db);

struct TableRead {
  bool whole = false;            // the read came to its normal end
  bool locked = false;           // it stopped on another program's lock
  std::int64_t skippedRows = 0;  // rows whose MAC is no machine's, or a machine read already
  bool namesEmpty = false;       // the name column failed the judge over the whole table
};

// Every row of the table, in its stored order, into the sink, each machine
// once. The name column is judged again over the whole table; when it fails
// there, the rows are read again with empty names. Whole is false when the
// read stopped early (damage, a lock, a table changed since it was found),
// and the caller then empties the list: part of a list never passes for the
// whole.
TableRead ReadMachineTable(sqlite3* db, const MachineTable& table, RowSink& sink);

}  // namespace venbrook
