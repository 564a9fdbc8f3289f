#include "sources/sqlite/machine_table.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/text_codec.h"
#include "sources/columns/machine_words.h"
#include "sources/sqlite/sqlite_statement.h"

namespace venbrook {
namespace {

constexpr int kSampleRows = 200;

// One read transaction over the whole search, so that every table is judged
// in one state of the database. It also keeps a lock from passing for damage:
// once the list of tables has been read, a writer cannot come in and hold the
// file past the busy time-out while the tables are sampled.
class ReadTransaction {
 public:
  explicit ReadTransaction(sqlite3* db)
      : db_(db),
        begun_(sqlite3_get_autocommit(db) != 0 && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK) {}
  ~ReadTransaction() {
    if (begun_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  ReadTransaction(const ReadTransaction&) = delete;
  ReadTransaction& operator=(const ReadTransaction&) = delete;

 private:
  sqlite3* db_;
  bool begun_;
};

// `FROM main."t" AS m NOT INDEXED`: the table itself, in its stored order,
// even where an index holding every column read would be a shorter path.
std::string TableScan(std::string_view table) { return " FROM main." + QuotedIdentifier(table) + " AS m NOT INDEXED"; }

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// What the sampled values of one column are.
struct ColumnTally {
  std::string name;
  int filled = 0;  // values neither NULL nor blank
  int macs = 0;    // texts that are MACs
  int names = 0;   // filled texts that are neither MACs nor IPv4 addresses

  bool holdsMacs() const { return macs > 0 && macs * 10 >= filled * 9; }
  bool holdsNames() const { return names * 2 >= filled; }  // at least half of what it holds
};

struct TableSample {
  bool readable = false;
  std::vector<ColumnTally> columns;
  std::int64_t rows = 0;
  bool whole = false;  // no rows beyond the sample
};

void Tally(sqlite3_stmt* statement, std::vector<ColumnTally>& columns) {
  for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
    ColumnTally& tally = columns[column];
    const int type = sqlite3_column_type(statement, column);
    if (type == SQLITE_NULL) continue;
    if (type != SQLITE_TEXT) {
      if (type != SQLITE_BLOB || sqlite3_column_bytes(statement, column) > 0) ++tally.filled;
      continue;
    }
    const std::string_view text = ColumnUtf8(statement, column);
    if (IsBlank(text)) continue;
    ++tally.filled;
    if (IsMacText(text))
      ++tally.macs;
    else if (!IsIpv4Address(text))
      ++tally.names;
  }
}

TableSample Sample(sqlite3* db, std::string_view table) {
  TableSample sample;
  Statement query(db, "SELECT *" + TableScan(table) + " LIMIT " + std::to_string(kSampleRows));
  sqlite3_stmt* statement = query.get();
  if (statement == nullptr) return sample;
  for (int column = 0; column < sqlite3_column_count(statement); ++column) {
    const char* name = sqlite3_column_name(statement, column);
    sample.columns.push_back({name != nullptr ? name : ""});
  }
  int status;
  while ((status = sqlite3_step(statement)) == SQLITE_ROW) {
    Tally(statement, sample.columns);
    ++sample.rows;
  }
  sample.readable = status == SQLITE_DONE;
  sample.whole = sample.rows < kSampleRows;
  return sample;
}

template <typename Test>
int Leftmost(const std::vector<ColumnTally>& columns, int besides, Test test) {
  for (int column = 0; column < static_cast<int>(columns.size()); ++column)
    if (column != besides && test(columns[column])) return column;
  return -1;
}

std::optional<MachineTable> MachineColumns(std::string_view table, const TableSample& sample) {
  const auto& columns = sample.columns;
  int mac = Leftmost(columns, -1, [](const ColumnTally& c) { return c.holdsMacs() && NamesMac(c.name); });
  if (mac < 0) mac = Leftmost(columns, -1, [](const ColumnTally& c) { return c.holdsMacs(); });
  if (mac < 0) return std::nullopt;
  // A column called machine_id or pc_ip is named after the machine but holds
  // its number or address: a column called so that holds names comes first.
  int name = Leftmost(columns, mac, [](const ColumnTally& c) { return NamesMachineName(c.name) && c.holdsNames(); });
  if (name < 0) name = Leftmost(columns, mac, [](const ColumnTally& c) { return NamesMachineName(c.name); });
  if (name < 0) name = Leftmost(columns, mac, [&](const ColumnTally& c) { return c.names * 2 > sample.rows; });
  if (name < 0) return std::nullopt;
  return MachineTable{std::string(table), columns[name].name, columns[mac].name};
}

// The ordinary tables in schema order: no views, no virtual tables (whose
// module may be missing or may do anything when read), none of SQLite's own.
std::optional<std::vector<std::string>> OrdinaryTables(sqlite3* db) {
  Statement query(db,
                  "SELECT name FROM main.sqlite_master WHERE type = 'table'"
                  " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND coalesce(sql, '') NOT LIKE 'create virtual %'"
                  " ORDER BY rowid");
  if (query.get() == nullptr) return std::nullopt;
  std::vector<std::string> tables;
  int status;
  while ((status = sqlite3_step(query.get())) == SQLITE_ROW) tables.emplace_back(ColumnUtf8(query.get(), 0));
  if (status != SQLITE_DONE) return std::nullopt;
  return tables;
}

// -1 when the table cannot be counted: damaged past its sample.
std::int64_t CountRows(sqlite3* db, std::string_view table) {
  Statement query(db, "SELECT count(*) FROM main." + QuotedIdentifier(table));
  if (query.get() == nullptr || sqlite3_step(query.get()) != SQLITE_ROW) return -1;
  return sqlite3_column_int64(query.get(), 0);
}

struct Candidate {
  MachineTable table;
  std::int64_t rows;
  bool counted;  // its sample reached the end of the table
};

}  // namespace

std::optional<MachineTable> FindMachineTable(sqlite3* db) {
  const ReadTransaction transaction(db);
  const auto tables = OrdinaryTables(db);
  if (!tables) return std::nullopt;
  std::vector<Candidate> candidates;
  for (const std::string& table : *tables) {
    const TableSample sample = Sample(db, table);
    if (!sample.readable) continue;  // damaged, or its columns cannot be read
    if (auto columns = MachineColumns(table, sample))
      candidates.push_back({std::move(*columns), sample.rows, sample.whole});
  }
  if (candidates.empty()) return std::nullopt;
  // Only a choice between tables needs their sizes; a sample that reached
  // the end of its table counted it already.
  if (candidates.size() > 1) {
    for (Candidate& candidate : candidates)
      if (!candidate.counted) candidate.rows = CountRows(db, candidate.table.table);
  }
  const auto best = std::max_element(candidates.begin(), candidates.end(),
                                     [](const Candidate& a, const Candidate& b) { return a.rows < b.rows; });
  if (best->rows < 0) return std::nullopt;
  return best->table;
}

bool ReadMachineTable(sqlite3* db, const MachineTable& table, RowSink& sink) {
  // Columns named through the table's alias: a name that is no longer one of
  // its columns fails here instead of being read as a quoted text.
  Statement query(db, "SELECT m." + QuotedIdentifier(table.nameColumn) + ", m." + QuotedIdentifier(table.macColumn) +
                          TableScan(table.table));
  sqlite3_stmt* statement = query.get();
  if (statement == nullptr) return false;
  int status;
  while ((status = sqlite3_step(statement)) == SQLITE_ROW)
    sink.addUtf8(ColumnUtf8(statement, 0), ColumnUtf8(statement, 1));
  return status == SQLITE_DONE;
}

}  // namespace venbrook
