#pragma once
// A layout's records kept as its first walk hands them over, so that the
// walks after it (the rows, after the judge) replay them instead of parsing
// the file again. For layouts whose parse costs more than keeping its cells
// (JSON, XML). Kept only while it stays below a budget of bytes, which the
// layout sets from its text's size; past it the tape is dropped and every
// walk parses again, as without one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sources/table/table_layout.h"

namespace venbrook {

class RecordTape {
 public:
  explicit RecordTape(std::size_t budgetBytes) : budget_(budgetBytes) {}

  // The records, when a whole walk was kept.
  bool complete() const { return complete_; }
  LayoutEnd replay(RecordVisitor& visitor) const;

  // Passes a walk's records on to `inner` and keeps them. The tape is
  // complete once the walk it watched ended Done with every record taken.
  class Recorder final : public RecordVisitor {
   public:
    Recorder(RecordTape& tape, RecordVisitor& inner) : tape_(tape), inner_(inner) { tape_.clear(); }
    void cell(int column, std::string_view value) override;
    bool endRecord(int line) override;
    // The walk's end: the tape is complete when it is Done.
    LayoutEnd ended(LayoutEnd end);

   private:
    RecordTape& tape_;
    RecordVisitor& inner_;
  };

 private:
  struct Cell {
    std::int32_t column;
    std::uint32_t length;
  };
  struct Record {
    std::size_t cellsEnd;
    int line;
  };

  void clear();
  bool keeping() const { return keeping_; }
  // Drops what is kept: over budget.
  void drop();
  std::size_t bytes() const;

  std::size_t budget_;
  std::string values_;
  std::vector<Cell> cells_;
  std::vector<Record> records_;
  bool keeping_ = true;
  bool complete_ = false;
};

}  // namespace venbrook
