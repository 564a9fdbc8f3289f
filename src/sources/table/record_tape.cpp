#include "sources/table/record_tape.h"

namespace venbrook {

void RecordTape::clear() {
  values_.clear();
  cells_.clear();
  records_.clear();
  keeping_ = true;
  complete_ = false;
}

void RecordTape::drop() {
  std::string().swap(values_);
  std::vector<Cell>().swap(cells_);
  std::vector<Record>().swap(records_);
  keeping_ = false;
}

std::size_t RecordTape::bytes() const {
  return values_.size() + cells_.size() * sizeof(Cell) + records_.size() * sizeof(Record);
}

LayoutEnd RecordTape::replay(RecordVisitor& visitor) const {
  std::size_t cell = 0, at = 0;
  for (const Record& record : records_) {
    for (; cell < record.cellsEnd; ++cell) {
      const Cell& kept = cells_[cell];
      visitor.cell(kept.column, std::string_view(values_).substr(at, kept.length));
      at += kept.length;
    }
    if (!visitor.endRecord(record.line)) return {LayoutEnd::How::Stopped};
  }
  return {};
}

void RecordTape::Recorder::cell(int column, std::string_view value) {
  if (tape_.keeping()) {
    // Room for what a text of this size is likely to hold, made once: the
    // tape does not grow by copying itself (room not written costs nothing).
    if (tape_.values_.capacity() == 0) tape_.values_.reserve(tape_.budget_ / 2);
    tape_.values_ += value;
    tape_.cells_.push_back({column, static_cast<std::uint32_t>(value.size())});
  }
  inner_.cell(column, value);
}

bool RecordTape::Recorder::endRecord(int line) {
  if (tape_.keeping()) {
    tape_.records_.push_back({tape_.cells_.size(), line});
    // Checked a record at a time: a record is bounded, and so is what
    // passes the budget.
    if (tape_.bytes() > tape_.budget_) tape_.drop();
  }
  return inner_.endRecord(line);
}

LayoutEnd RecordTape::Recorder::ended(LayoutEnd end) {
  // A walk the visitor stopped ends Stopped, never Done.
  tape_.complete_ = tape_.keeping() && end.how == LayoutEnd::How::Done;
  if (!tape_.complete_) tape_.drop();
  return end;
}

}  // namespace venbrook
