#pragma once
// A café's machine list in a SQLite database that is neither product's: the
// one table that looks like a list of machines.
#include <optional>
#include <string>

#include "sources/row_sink.h"

struct sqlite3;

namespace venbrook {

struct MachineTable {
  std::string table;       // UTF-8, as the schema names it
  std::string nameColumn;  // UTF-8
  std::string macColumn;   // UTF-8
};

// The machine table of a database that is neither product's, or none. Every
// ordinary table is judged by its first 200 rows:
// - its MAC column holds MACs (as text) in at least 90 % of its non-empty
//   values, one at least; of several such columns the one whose name says
//   MAC, else the leftmost;
// - its name column is the leftmost other column whose name says machine
//   name and whose values are names rather than numbers, MACs or IPv4
//   addresses; else the leftmost whose name says machine name at all; else
//   the leftmost holding such names in more than half of the rows. A table
//   without one is no machine table.
// Of several machine tables the one with the most rows wins, the first in the
// schema on a tie. A table that cannot be read is passed over, and so is one
// found damaged past its sample when the tables' rows are counted.
std::optional<MachineTable> FindMachineTable(sqlite3* db);

// Every row of the table, in its stored order, into the sink. True when the
// read came to its normal end; false when it stopped early (damage, a lock,
// a table changed since it was found), and the caller then abandons the
// sink, which empties the list: part of a list never passes for the whole.
bool ReadMachineTable(sqlite3* db, const MachineTable& table, RowSink& sink);

}  // namespace venbrook
