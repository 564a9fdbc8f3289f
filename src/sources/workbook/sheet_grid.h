#pragma once
// One worksheet as rows of cells: each row with the number Excel shows
// beside it, each cell in the column its reference names (C5 is column 2 of
// row 5), as the text the cell shows (UTF-8). Missing cells are empty;
// rows without any text are left out. Strings of the shared table are not
// copied: a cell refers to them. Each row's cells are kept in column order,
// so a cell is found without a walk along its row, and a pass over a row
// reads each of its cells once.
//
// The reader's bounds (read_bounds.h): a row of more than 16,384 cells, or
// one reaching past Excel's last column XFD, is past Bound::RecordCells; a
// row whose texts pass a megabyte, or a value that does, Bound::RecordBytes;
// more than 2,000,000 rows, Bound::Records. A sheet whose rows span more
// cells, counted to each row's last, than the parts may inflate to bytes
// (kMaxInflatedBytes) would cost the column judge more than a text list of
// that size: Bound::InflatedBytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sources/workbook/workbook_parts.h"

namespace venbrook {

class SheetGrid {
 public:
  explicit SheetGrid(const SharedStrings& shared) : shared_(shared) {}

  int rowCount() const { return static_cast<int>(rows_.size()); }
  // The sheet's own number of the row (1-based, as Excel shows it).
  int rowNumber(int row) const { return rows_[row].number; }
  // The number of columns up to the row's last cell.
  int width(int row) const;
  std::string_view cell(int row, int column) const;

  // The row's cells that hold text, in column order: `index` from 0 to
  // cellCount - 1.
  struct CellAt {
    int column;
    std::string_view text;
  };
  int cellCount(int row) const { return static_cast<int>(end(row) - rows_[row].firstCell); }
  CellAt cellAt(int row, int index) const;

  // The cells the rows span, each counted up to its last.
  std::uint64_t spannedCells() const { return spannedCells_; }

  // Building, row by row, a row's cells in any column order; room made
  // first for a sheet part of that many bytes (never touched where unused).
  void reserveFor(std::uint64_t partBytes);
  void beginRow(int number);
  void addText(int column, std::string_view text);
  void addShared(int column, std::size_t index);
  void endRow();
  std::string_view sharedText(std::size_t index) const { return shared_.at(index); }

 private:
  struct Cell {
    std::uint32_t column : 31;
    std::uint32_t shared : 1;
    std::uint32_t at;  // the shared string's index, or where in own_ the text's length and bytes lie
  };
  struct Row {
    int number;
    std::uint32_t firstCell;
  };
  std::uint32_t end(int row) const {
    return row + 1 < rowCount() ? rows_[row + 1].firstCell : static_cast<std::uint32_t>(cells_.size());
  }
  std::string_view textOf(const Cell& cell) const;

  const SharedStrings& shared_;
  std::string own_;  // texts not in the shared table, each after its length (4 bytes)
  std::vector<Cell> cells_;
  std::vector<Row> rows_;
  std::uint64_t spannedCells_ = 0;
};

// Reads the worksheet part into `grid`: strings shared or inline (rich text
// runs joined), numbers as written, booleans as TRUE and FALSE, a number
// with a date style as SerialDateText gives it, formulas' cached values.
// Past a bound the read stops at once: TooLarge, with the bound.
PartRead ReadSheetGrid(ZipArchive& archive, std::string_view part, InflateBudget& budget, const DateStyles& styles,
                       bool system1904, SheetGrid& grid);

}  // namespace venbrook
