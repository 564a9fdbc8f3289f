#pragma once
// The first of the three steps every list but a product's own file is read
// in. A layout turns a file into records of cells; the one column judge
// (sources/columns/column_judge.h) then picks the MAC and the name columns
// by their values; the one row sink builds the list (table_read.h drives
// the three). A layout knows how a file is laid out (fields between
// separators, columns aligned with blanks, blocks of keys and values, JSON,
// XML, a database's table, a sheet), never which column holds what.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sources/columns/column_judge.h"
#include "sources/read_bounds.h"

namespace venbrook {

// What the records of a file are.
enum class RecordKind : std::uint8_t {
  // Each record is a machine, kept as it is (a sheet, a table, a
  // configuration's hosts): a repeated MAC stays, and the check shows it red.
  List,
  // Each record is a sighting (a lease, a log line, an ARP or scan entry, a
  // history row): one machine per MAC, its name from the latest record that
  // carries one; a MAC seen only as expired, declined or conflicting is none.
  Events,
};

// How a layout's walk through its records ended.
struct LayoutEnd {
  enum class How : std::uint8_t {
    Done,      // every record was handed over
    Stopped,   // the visitor asked to stop (it knows why)
    Damaged,   // the file breaks its own format part-way: never part of a list
    TooLarge,  // past `bound`
  };
  How how = How::Done;
  Bound bound = Bound::FileBytes;

  static LayoutEnd Past(Bound bound) { return {How::TooLarge, bound}; }
};

// Where a layout hands its records, a cell at a time.
class RecordVisitor {
 public:
  // The record's cell in `column`: the layout's own numbering, a place in
  // a line or a row, or one number per key (KeyedColumns). Cells may come
  // in any order of columns; a column not given is empty. The value is
  // valid during the call only.
  virtual void cell(int column, std::string_view value) = 0;
  // The record ends. `line` tells it to the operator: its first line in a
  // text, its row number in a sheet, its place in a table. False: stop now
  // (a bound is passed); the layout returns LayoutEnd::How::Stopped.
  virtual bool endRecord(int line) = 0;

 protected:
  ~RecordVisitor() = default;
};

class TableLayout {
 public:
  virtual ~TableLayout() = default;

  // Hands every record to `visitor`, in the file's order. Asked twice, once
  // for the judge and once for the rows, each time from the start: both
  // walks must hand over the same records. Records of nothing but blanks
  // are not handed over.
  virtual LayoutEnd forEachRecord(RecordVisitor& visitor) = 0;

  // The columns' names (UTF-8), when the layout knows them: the keys of
  // blocks, objects and elements, an aligned table's heading, a table's
  // columns; complete once a walk has ended. None: the header, if any, is
  // among the first records, and the judge looks for it there (fields
  // between separators, a sheet).
  virtual std::vector<std::string> columnNames() const { return {}; }

  // Whether the file's own structure names the columns (a database's
  // table, keys of blocks, objects and elements): then every record is a
  // row, judged as such. Otherwise (fields between separators, a sheet, an
  // aligned table's lines) a record without a MAC is no row of the list but
  // a title, a comment or a total, and the judge leaves it aside.
  virtual bool namesColumns() const { return false; }

  // How the cells are encoded: UTF-8, or GBK for a text list kept as read.
  virtual CellText cellText() const { return CellText::Utf8; }

  virtual RecordKind kind() const = 0;

  // What the source label calls such a file, first in the label:
  // "对齐的表格", "JSON 文件", "dnsmasq 租约文件" (UTF-8).
  virtual std::string_view wordsUtf8() const = 0;
};

// One column number per key, in the order the keys are first met, for
// layouts whose records name their cells (blocks, JSON, XML). The names
// are the table's header.
class KeyedColumns {
 public:
  int columnOf(std::string_view key) {
    const auto found = columns_.find(std::string(key));
    if (found != columns_.end()) return found->second;
    const int column = static_cast<int>(names_.size());
    names_.emplace_back(key);
    columns_.emplace(names_.back(), column);
    return column;
  }
  // The column of a key already met, or -1: a layout at its bound of keys
  // asks before it adds one.
  int find(std::string_view key) const {
    const auto found = columns_.find(std::string(key));
    return found == columns_.end() ? -1 : found->second;
  }
  const std::vector<std::string>& names() const { return names_; }
  std::size_t size() const { return names_.size(); }

 private:
  std::unordered_map<std::string, int> columns_;
  std::vector<std::string> names_;
};

}  // namespace venbrook
