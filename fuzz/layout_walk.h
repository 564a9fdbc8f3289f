#pragma once
// What the fuzz targets of the table layouts check of any layout over any
// text: a walk's records, and the properties every walk must keep.
//   - both walks hand over the same records under the same column names,
//     and end the same way;
//   - a cell's column is one of the names; no column twice in a record;
//     no cell empty or longer than kMaxRecordBytes; no more cells in a
//     record, nor names in all, than kMaxRecordCells;
//   - records come in the text's order: their lines, from 1, never fall
//     and never pass the text's last line (a line ends at LF, CR LF or a
//     CR alone, as XML counts them);
//   - the kind and the words are the same before and after the walks.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "sources/read_bounds.h"
#include "sources/table/table_layout.h"

namespace venbrook::fuzz {

struct WalkRecord {
  std::vector<std::pair<int, std::string>> cells;
  int line = 0;
  bool operator==(const WalkRecord&) const = default;
};

struct Walk {
  std::vector<WalkRecord> records;
  LayoutEnd::How how = LayoutEnd::How::Done;
  Bound bound = Bound::FileBytes;
  std::vector<std::string> names;
  bool operator==(const Walk& other) const {
    return records == other.records && how == other.how && names == other.names &&
           (how != LayoutEnd::How::TooLarge || bound == other.bound);
  }
};

class WalkVisitor final : public RecordVisitor {
 public:
  void cell(int column, std::string_view value) override {
    FUZZ_CHECK(column >= 0);
    FUZZ_CHECK(!value.empty() && value.size() <= kMaxRecordBytes);
    record_.cells.emplace_back(column, std::string(value));
  }
  bool endRecord(int line) override {
    record_.line = line;
    records.push_back(std::move(record_));
    record_ = {};
    return true;
  }
  std::vector<WalkRecord> records;

 private:
  WalkRecord record_;
};

inline Walk WalkOnce(TableLayout& layout) {
  WalkVisitor visitor;
  const LayoutEnd end = layout.forEachRecord(visitor);
  Walk walk{std::move(visitor.records), end.how, end.bound, layout.columnNames()};
  return walk;
}

inline void CheckWalks(TableLayout& layout, std::string_view text) {
  const RecordKind kind = layout.kind();
  const std::string words(layout.wordsUtf8());
  const Walk first = WalkOnce(layout);
  FUZZ_CHECK(WalkOnce(layout) == first);
  FUZZ_CHECK(layout.kind() == kind && layout.wordsUtf8() == words);

  FUZZ_CHECK(first.names.size() <= kMaxRecordCells);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                                     std::count(text.begin(), text.end(), '\r')) + 1;
  int lastLine = 1;
  for (const WalkRecord& record : first.records) {
    FUZZ_CHECK(record.cells.size() <= kMaxRecordCells);
    FUZZ_CHECK(record.line >= lastLine && record.line <= lines);
    lastLine = record.line;
    std::vector<int> columns;
    for (const auto& [column, value] : record.cells) {
      FUZZ_CHECK(static_cast<std::size_t>(column) < first.names.size());
      columns.push_back(column);
    }
    std::sort(columns.begin(), columns.end());
    FUZZ_CHECK(std::adjacent_find(columns.begin(), columns.end()) == columns.end());
  }
}

}  // namespace venbrook::fuzz
