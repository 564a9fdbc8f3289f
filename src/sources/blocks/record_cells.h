#pragma once
// What every layout of records spread over lines needs: a record's cells
// gathered as its lines come and handed to the visitor whole when it ends,
// and one column per key that stops at the bound of keys.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sources/table/table_layout.h"

namespace venbrook {

// The column of `key` in `columns`, or -1 when the key is new and would be
// one past kMaxRecordCells: the layout stops with Bound::RecordCells then.
int BoundedColumnOf(KeyedColumns& columns, std::string_view key);

// One record's cells. A record of blocks may name a column twice (an
// adapter's second IPv4 address, an LDIF attribute of several values): the
// first value is its cell, as a person reading the block takes it.
class RecordCells {
 public:
  // False when the record would pass kMaxRecordBytes; nothing is copied
  // then, and the layout stops with Bound::RecordBytes.
  bool add(int column, std::string_view value);
  bool has(int column) const;
  // Whether a cell holds more than blanks: a record of nothing else is not
  // handed over.
  bool filled() const { return filled_; }
  // Hands the cells over and ends the record at `line` when it is filled;
  // the cells are emptied for the next record either way. endRecord's
  // answer, true for a record not handed over.
  bool handTo(RecordVisitor& visitor, int line);
  void clear();

 private:
  struct Cell {
    int column;
    std::size_t begin, size;
  };
  std::string bytes_;
  std::vector<Cell> cells_;
  std::vector<std::uint32_t> heldIn_;  // per column: the number of the record that has a cell there
  std::uint32_t record_ = 1;
  bool filled_ = false;
};

}  // namespace venbrook
