#include "sources/blocks/record_cells.h"

#include "sources/columns/machine_words.h"

namespace venbrook {

int BoundedColumnOf(KeyedColumns& columns, std::string_view key) {
  if (columns.size() < kMaxRecordCells) return columns.columnOf(key);
  return columns.find(key);
}

bool RecordCells::add(int column, std::string_view value) {
  if (has(column)) return true;
  if (bytes_.size() + value.size() > kMaxRecordBytes) return false;
  if (static_cast<std::size_t>(column) >= heldIn_.size()) heldIn_.resize(column + 1, 0);
  heldIn_[column] = record_;
  cells_.push_back({column, bytes_.size(), value.size()});
  bytes_.append(value);
  filled_ = filled_ || !TrimBlanks(value).empty();
  return true;
}

bool RecordCells::has(int column) const {
  return static_cast<std::size_t>(column) < heldIn_.size() && heldIn_[column] == record_;
}

bool RecordCells::handTo(RecordVisitor& visitor, int line) {
  bool goOn = true;
  if (filled_) {
    const std::string_view bytes = bytes_;
    for (const Cell& cell : cells_) visitor.cell(cell.column, bytes.substr(cell.begin, cell.size));
    goOn = visitor.endRecord(line);
  }
  clear();
  return goOn;
}

void RecordCells::clear() {
  bytes_.clear();
  cells_.clear();
  filled_ = false;
  ++record_;
}

}  // namespace venbrook
