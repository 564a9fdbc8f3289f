#pragma once
// The one pipeline every list but a product's own file goes through: the
// layout's records (table_layout.h) are judged by the column judge over all
// of them, then read again, each record's MAC and name handed to the row
// sink. Here alone the bounds of read_bounds.h are applied to what a layout
// hands over, and a record of events becomes one machine per MAC.
#include <string>
#include <vector>

#include "sources/columns/column_judge.h"
#include "sources/row_sink.h"
#include "sources/table/table_layout.h"

namespace venbrook {

struct TableRead {
  enum class Outcome { Loaded, NoList, Damaged, TooLarge };
  Outcome outcome = Outcome::NoList;
  Bound bound = Bound::FileBytes;  // for TooLarge
  int rows = 0;                    // machines the sink took
  int merged = 0;                  // records folded into a machine read before them
  int skippedLines = 0;            // records that gave no machine (the header is none)
  std::vector<int> firstSkipped;   // their lines, the first three
  std::string nameColumn;          // as the label names the columns (UTF-8); no name column: empty
  std::string macColumn;
};

// What the judge made of a layout's records.
struct TableJudgement {
  TableRead::Outcome outcome = TableRead::Outcome::NoList;  // Loaded: a MAC column was found
  Bound bound = Bound::FileBytes;
  ColumnChoice choice;
  bool events = false;        // one machine per MAC
  bool macsDistinct = false;  // no MAC repeats (within the values looked at)
  std::string nameColumn, macColumn;
  std::string nameElseColumn;  // named in the label once a row took its name from it
  TableRead records;  // every record counted as a skipped line, for a source without a MAC column
};

// The layout's columns, judged over every record it holds.
TableJudgement JudgeTable(TableLayout& layout);
// The machines of the layout's records into the sink, by the judgement. It
// only adds rows: finishing or abandoning the list is the caller's part.
TableRead ReadTableRows(TableLayout& layout, const TableJudgement& judgement, RowSink& sink);
// Both: the judge, then the rows when a MAC column was found.
TableRead ReadTable(TableLayout& layout, RowSink& sink);

}  // namespace venbrook
