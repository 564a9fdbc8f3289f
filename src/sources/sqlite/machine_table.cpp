#include "sources/sqlite/machine_table.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/mac_address.h"
#include "sources/columns/column_judge.h"
#include "sources/read_bounds.h"
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

// A value of a machine: its text, a BLOB judged as a text in the
// database's encoding. One that is no text there, or longer than a line may
// be (Bound::RecordBytes), is nobody's name or MAC: the row keeps its other
// value, and only that one is empty. A whole list is not refused for one
// cell another program filled with something else.
class ValueReader {
 public:
  explicit ValueReader(sqlite3* db) : stored_(StoredTextOf(db)) {}

  std::string_view value(sqlite3_stmt* statement, int column) {
    return ColumnText(statement, column, stored_, scratch_, kMaxRecordBytes).value_or(std::string_view{});
  }
  // As the judge reads it: a value that is no text is a filled value of no
  // list.
  std::string_view judged(sqlite3_stmt* statement, int column) {
    return ColumnText(statement, column, stored_, scratch_, kMaxRecordBytes).value_or(std::string_view("\x01"));
  }

 private:
  StoredText stored_;
  std::string scratch_;
};

struct Candidate {
  MachineTable table;
  bool distinctMacs;
  std::int64_t rows;
  bool counted;  // its sample reached the end of the table
};

enum class SampleEnd { Done, Unreadable, Locked, Damaged };

SampleEnd Sample(sqlite3* db, std::string_view table, std::optional<Candidate>& candidate) {
  Statement query(db, "SELECT *" + TableScan(table) + " LIMIT " + std::to_string(kSampleRows));
  sqlite3_stmt* statement = query.get();
  if (statement == nullptr) return IsLockedStatus(query.prepareStatus()) ? SampleEnd::Locked : SampleEnd::Unreadable;
  const int columns = sqlite3_column_count(statement);
  std::vector<std::string> names;
  for (int column = 0; column < columns; ++column) {
    const char* name = sqlite3_column_name(statement, column);
    names.emplace_back(name != nullptr ? name : "");
  }
  ColumnJudge judge(names);
  ValueReader values(db);
  std::int64_t rows = 0;
  int status;
  while ((status = Step(statement)) == SQLITE_ROW) {
    for (int column = 0; column < columns; ++column) judge.addCell(values.judged(statement, column));
    judge.endRow();
    ++rows;
  }
  if (status != SQLITE_DONE) return IsLockedStatus(status) ? SampleEnd::Locked : SampleEnd::Damaged;
  const ColumnChoice choice = judge.decide();
  if (choice.mac >= 0)
    candidate = Candidate{{std::string(table), choice.name >= 0 ? names[choice.name] : std::string(), names[choice.mac]},
                          judge.macsDistinct(), rows, rows < kSampleRows};
  return SampleEnd::Done;
}

// The ordinary tables in schema order: no views, no virtual tables (whose
// module may be missing or may do anything when read), none of SQLite's own.
// Null when the schema cannot be read; `locked` says whether a lock was why.
std::optional<std::vector<std::string>> OrdinaryTables(sqlite3* db, bool& locked) {
  Statement query(db,
                  "SELECT name FROM main.sqlite_master WHERE type = 'table'"
                  " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND coalesce(sql, '') NOT LIKE 'create virtual %'"
                  " ORDER BY rowid");
  locked = false;
  if (query.get() == nullptr) {
    locked = IsLockedStatus(query.prepareStatus());
    return std::nullopt;
  }
  std::vector<std::string> tables;
  int status;
  while ((status = Step(query.get())) == SQLITE_ROW) tables.emplace_back(ColumnUtf8(query.get(), 0));
  if (status != SQLITE_DONE) {
    locked = IsLockedStatus(status);
    return std::nullopt;
  }
  return tables;
}

// -1 when the table cannot be counted: damaged past its sample.
std::int64_t CountRows(sqlite3* db, std::string_view table) {
  Statement query(db, "SELECT count(*) FROM main." + QuotedIdentifier(table));
  if (query.get() == nullptr || Step(query.get()) != SQLITE_ROW) return -1;
  return sqlite3_column_int64(query.get(), 0);
}

bool Better(const Candidate& a, const Candidate& b) {
  if (a.distinctMacs != b.distinctMacs) return a.distinctMacs;
  return a.rows > b.rows;
}

// The machine addresses read so far: open addressing in one array, as a
// table of 100,000 rows would otherwise allocate a node per row. A
// machine's address is never 0, which marks a free slot.
class MacSet {
 public:
  // False when the address was in the set already.
  bool insert(std::int64_t mac) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const auto key = static_cast<std::uint64_t>(mac);
    for (std::size_t at = Slot(key, slots_.size());; at = (at + 1) & (slots_.size() - 1)) {
      if (slots_[at] == key) return false;
      if (slots_[at] == 0) {
        slots_[at] = key;
        ++count_;
        return true;
      }
    }
  }

 private:
  static std::size_t Slot(std::uint64_t key, std::size_t size) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (size - 1);
  }
  void grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(1024, old.size() * 2), 0);
    count_ = 0;
    for (const std::uint64_t key : old)
      if (key != 0) insert(static_cast<std::int64_t>(key));
  }

  std::vector<std::uint64_t> slots_;
  std::size_t count_ = 0;
};

// One pass over the two columns into the sink, each machine once.
int ReadRows(sqlite3* db, const MachineTable& table, bool withNames, RowSink& sink, TableRead& read,
             ColumnJudge* judge) {
  const std::string nameColumn = withNames ? "m." + QuotedIdentifier(table.nameColumn) : std::string("''");
  Statement query(db, "SELECT " + nameColumn + ", m." + QuotedIdentifier(table.macColumn) + TableScan(table.table));
  sqlite3_stmt* statement = query.get();
  if (statement == nullptr) return query.prepareStatus();
  MacSet seen;
  ValueReader values(db);
  read.skippedRows = 0;
  int status;
  while ((status = Step(statement)) == SQLITE_ROW) {
    // The MAC is made a number before the name is read: the scratch of a
    // BLOB's text is then the name's alone.
    const std::int64_t number = MacNumber(values.value(statement, 1));
    const std::string_view name = values.value(statement, 0);
    if (judge != nullptr) {
      judge->addCell(name.empty() ? values.judged(statement, 0) : name);
      judge->endRow();
    }
    if (IsMachineAddress(number) && seen.insert(number))
      sink.addUtf8Machine(name, number);
    else
      ++read.skippedRows;
  }
  return status;
}

}  // namespace

FoundTable FindMachineTable(sqlite3* db) {
  const ReadTransaction transaction(db);
  bool locked = false;
  const auto tables = OrdinaryTables(db, locked);
  if (!tables) return {locked ? TableSearch::Locked : TableSearch::NoTable, {}};
  std::vector<Candidate> candidates;
  for (const std::string& table : *tables) {
    std::optional<Candidate> candidate;
    switch (Sample(db, table, candidate)) {
      case SampleEnd::Done: break;
      case SampleEnd::Unreadable: continue;  // its columns cannot be read: no list of anyone's
      case SampleEnd::Locked: return {TableSearch::Locked, {}};
      case SampleEnd::Damaged: return {TableSearch::Damaged, {}};
    }
    if (candidate) candidates.push_back(std::move(*candidate));
  }
  if (candidates.empty()) return {TableSearch::NoTable, {}};
  // Only a choice between tables needs their sizes; a sample that reached
  // the end of its table counted it already.
  if (candidates.size() > 1) {
    for (Candidate& candidate : candidates) {
      if (candidate.counted) continue;
      candidate.rows = CountRows(db, candidate.table.table);
      if (candidate.rows < 0) return {TableSearch::Damaged, {}};
    }
  }
  const auto best = std::min_element(candidates.begin(), candidates.end(), Better);
  return {TableSearch::Found, best->table};
}

TableRead ReadMachineTable(sqlite3* db, const MachineTable& table, RowSink& sink) {
  TableRead read;
  const bool withNames = !table.nameColumn.empty();
  ColumnJudge nameJudge(std::vector<std::string>{table.nameColumn});
  int status = ReadRows(db, table, withNames, sink, read, withNames ? &nameJudge : nullptr);
  if (status == SQLITE_DONE && withNames && !nameJudge.columnHoldsNames(0)) {
    read.namesEmpty = true;
    sink.abandon();
    status = ReadRows(db, table, false, sink, read, nullptr);
  }
  read.whole = status == SQLITE_DONE;
  read.locked = IsLockedStatus(status);
  return read;
}

}  // namespace venbrook
