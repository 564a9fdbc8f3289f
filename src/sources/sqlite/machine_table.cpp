#include "sources/sqlite/machine_table.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "sources/read_bounds.h"
#include "sources/sqlite/sqlite_statement.h"

namespace venbrook {
namespace {

constexpr int kSampleRows = 200;

// One read transaction over a search or a read, so that every walk sees
// one state of the database. It also keeps a lock from passing for damage:
// once the first statement has run, a writer cannot come in and hold the
// file past the busy time-out while the tables are walked again.
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

 private:
  StoredText stored_;
  std::string scratch_;
};

// A table's rows as records, numbered from 1 in their stored order; its
// column names are the header.
class TableRows final : public TableLayout {
 public:
  // Every column of the table, or of its first `limit` rows (0: all).
  TableRows(sqlite3* db, std::string_view table, int limit)
      : db_(db), sql_("SELECT *" + TableScan(table) + (limit > 0 ? " LIMIT " + std::to_string(limit) : "")) {}
  // The named columns only, of every row.
  TableRows(sqlite3* db, std::string_view table, const std::vector<std::string>& columns) : db_(db) {
    std::string list;
    for (const std::string& column : columns) list += (list.empty() ? "m." : ", m.") + QuotedIdentifier(column);
    sql_ = "SELECT " + list + TableScan(table);
  }

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    Statement query(db_, sql_);
    sqlite3_stmt* statement = query.get();
    if (statement == nullptr) {
      status_ = query.prepareStatus();
      prepared_ = false;
      return {LayoutEnd::How::Damaged};
    }
    prepared_ = true;
    const int columns = sqlite3_column_count(statement);
    if (names_.empty())
      for (int column = 0; column < columns; ++column) {
        const char* name = sqlite3_column_name(statement, column);
        names_.emplace_back(name != nullptr ? name : "");
      }
    ValueReader values(db_);
    int row = 0;
    while ((status_ = Step(statement)) == SQLITE_ROW) {
      for (int column = 0; column < columns; ++column) visitor.cell(column, values.value(statement, column));
      if (!visitor.endRecord(++row)) return {LayoutEnd::How::Stopped};
    }
    rows_ = row;
    // Only SQLITE_DONE is the end of the rows: a damaged page or a lock that
    // outlasted the time-out stops the walk part-way.
    return status_ == SQLITE_DONE ? LayoutEnd{} : LayoutEnd{LayoutEnd::How::Damaged};
  }

  std::vector<std::string> columnNames() const override { return names_; }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "表"; }

  bool locked() const { return IsLockedStatus(status_); }
  // The statement never ran: its columns cannot be read (a view of a missing
  // table, a foreign type), unless a lock was why.
  bool unreadable() const { return !prepared_ && !locked(); }
  std::int64_t rows() const { return rows_; }

 private:
  sqlite3* db_;
  std::string sql_;
  std::vector<std::string> names_;
  int status_ = SQLITE_OK;
  bool prepared_ = false;
  std::int64_t rows_ = 0;
};

struct Candidate {
  std::string table;
  std::string nameColumn, macColumn;
  bool named;  // a column holds the machines' names
  bool distinctMacs;
  std::int64_t rows;
  bool counted;  // its sample reached the end of the table
};

enum class SampleEnd { Done, Unreadable, Locked, Damaged, TooLarge };

SampleEnd Sample(sqlite3* db, const std::string& table, std::optional<Candidate>& candidate, Bound& bound) {
  TableRows rows(db, table, kSampleRows);
  const TableJudgement judgement = JudgeTable(rows);
  if (rows.locked()) return SampleEnd::Locked;
  if (rows.unreadable()) return SampleEnd::Unreadable;
  if (judgement.outcome == TableRead::Outcome::Damaged) return SampleEnd::Damaged;
  if (judgement.outcome == TableRead::Outcome::TooLarge) {
    bound = judgement.bound;
    return SampleEnd::TooLarge;
  }
  if (judgement.outcome == TableRead::Outcome::Loaded)
    candidate = Candidate{table,       judgement.nameColumn,   judgement.macColumn, judgement.choice.name >= 0,
                          judgement.macsDistinct, rows.rows(), rows.rows() < kSampleRows};
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
  if (a.named != b.named) return a.named;
  if (a.distinctMacs != b.distinctMacs) return a.distinctMacs;
  return a.rows > b.rows;
}

// The rows of a layout, their name column judged as they are walked.
class JudgedRows final : public TableLayout {
 public:
  JudgedRows(TableLayout& rows, int nameColumn)
      : rows_(rows), nameColumn_(nameColumn), judge_(CellText::Utf8, false) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override {
    Tee tee(visitor, *this);
    return rows_.forEachRecord(tee);
  }
  std::vector<std::string> columnNames() const override { return rows_.columnNames(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return rows_.kind(); }
  std::string_view wordsUtf8() const override { return rows_.wordsUtf8(); }

  // The names, over every row, still pass as names.
  bool namesHold() {
    const std::vector<std::string> names = rows_.columnNames();
    return judge_.columnHoldsNames(0, {names[static_cast<std::size_t>(nameColumn_)]});
  }

 private:
  class Tee final : public RecordVisitor {
   public:
    Tee(RecordVisitor& inner, JudgedRows& rows) : inner_(inner), rows_(rows) {}
    void cell(int column, std::string_view value) override {
      if (column == rows_.nameColumn_) rows_.judge_.addCell(0, value);
      inner_.cell(column, value);
    }
    bool endRecord(int line) override {
      rows_.judge_.endRow();
      return inner_.endRecord(line);
    }

   private:
    RecordVisitor& inner_;
    JudgedRows& rows_;
  };

  TableLayout& rows_;
  int nameColumn_;
  ColumnJudge judge_;
};

}  // namespace

FoundTable FindMachineTable(sqlite3* db) {
  const ReadTransaction transaction(db);
  bool locked = false;
  const auto tables = OrdinaryTables(db, locked);
  if (!tables) return {locked ? TableSearch::Locked : TableSearch::NoTable, {}, {}, {}};
  std::vector<Candidate> candidates;
  for (const std::string& table : *tables) {
    std::optional<Candidate> candidate;
    Bound bound = Bound::RecordBytes;
    switch (Sample(db, table, candidate, bound)) {
      case SampleEnd::Done: break;
      case SampleEnd::Unreadable: continue;  // its columns cannot be read: no list of anyone's
      case SampleEnd::Locked: return {TableSearch::Locked, {}, {}, {}};
      case SampleEnd::Damaged: return {TableSearch::Damaged, {}, {}, {}};
      case SampleEnd::TooLarge: return {TableSearch::TooLarge, {}, {}, {}, bound};
    }
    if (candidate) candidates.push_back(std::move(*candidate));
  }
  if (candidates.empty()) return {TableSearch::NoTable, {}, {}, {}};
  // Only a choice between tables needs their sizes; a sample that reached
  // the end of its table counted it already.
  if (candidates.size() > 1) {
    for (Candidate& candidate : candidates) {
      if (candidate.counted) continue;
      candidate.rows = CountRows(db, candidate.table);
      if (candidate.rows < 0) return {TableSearch::Damaged, {}, {}, {}};
    }
  }
  const auto best = std::min_element(candidates.begin(), candidates.end(), Better);
  return {TableSearch::Found, best->table, best->nameColumn, best->macColumn};
}

MachineTableRead ReadMachineTable(sqlite3* db, std::string_view table, RowSink& sink) {
  const ReadTransaction transaction(db);
  MachineTableRead read;
  // The columns that matter, from the sample; then those alone are read,
  // their names judged again over the whole table as they go: a wide table
  // costs its few columns, and one pass.
  TableRows sample(db, table, kSampleRows);
  const TableJudgement sampled = JudgeTable(sample);
  if (sampled.outcome != TableRead::Outcome::Loaded) {
    read.table.outcome = TableRead::Outcome::Damaged;  // it held a list when it was found
    read.locked = sample.locked();
    return read;
  }
  const std::vector<std::string> names = sample.columnNames();
  std::vector<std::string> columns;
  TableJudgement narrow = sampled;
  ColumnChoice& choice = narrow.choice;
  for (int* column : {&choice.mac, &choice.name, &choice.nameElse, &choice.state, &choice.adapter, &choice.clientId}) {
    if (*column < 0) continue;
    columns.push_back(names[static_cast<std::size_t>(*column)]);
    *column = static_cast<int>(columns.size()) - 1;
  }
  // A table with dates or states beside its MACs is read as a record of
  // events: where its MACs are distinct, that is the list all the same.
  narrow.events = narrow.events || sampled.choice.timed;
  TableRows rows(db, table, columns);
  JudgedRows judged(rows, choice.name);
  read.table = ReadTableRows(judged, narrow, sink);
  if (read.table.outcome == TableRead::Outcome::Loaded && choice.name >= 0 && !judged.namesHold()) {
    // Names past the sample are no names (a status filled in later): the
    // rows again, their names empty.
    sink.abandon();
    choice.name = choice.nameElse = -1;
    narrow.nameColumn.clear();
    read.table = ReadTableRows(rows, narrow, sink);
  }
  read.locked = rows.locked();
  return read;
}

}  // namespace venbrook
