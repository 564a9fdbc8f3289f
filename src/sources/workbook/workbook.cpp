#include "sources/workbook/workbook.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sources/columns/column_judge.h"
#include "sources/source_words.h"
#include "sources/workbook/sheet_grid.h"
#include "sources/workbook/workbook_parts.h"
#include "sources/workbook/zip_archive.h"

namespace venbrook {
namespace {

void Fail(PartRead part, WorkbookRead& read) {
  read.outcome = part == PartRead::TooLarge ? WorkbookOutcome::TooLarge : WorkbookOutcome::Damaged;
  read.bound = part.bound;
}

// A part the workbook's relationships name must be there.
PartRead Required(PartRead read) { return read == PartRead::Missing ? PartRead::Damaged : read; }

void Skip(int rowNumber, WorkbookRead& read) {
  if (read.skippedLines++ < 3) read.firstSkipped.push_back(rowNumber);
}

// Each row's cells in their columns, the empty ones between them too.
ColumnChoice JudgeColumns(const SheetGrid& grid, ColumnJudge& judge) {
  for (int row = 0; row < grid.rowCount(); ++row) {
    int column = 0;
    for (int index = 0; index < grid.cellCount(row); ++index, ++column) {
      const SheetGrid::CellAt cell = grid.cellAt(row, index);
      for (; column < cell.column; ++column) judge.addCell({});
      judge.addCell(cell.text);
    }
    judge.endRow();
  }
  return judge.decide();
}

constexpr std::size_t kMacTextBytes = 17;  // 00-1A-2B-3C-4D-5E

// The name and MAC of every row but the header, in one buffer with the
// sheet's row numbers: what the list is made from, once the sheet and its
// shared strings are freed. A row above the header gives neither.
class PickedRows {
 public:
  PickedRows(const SheetGrid& grid, const ColumnChoice& columns) {
    std::size_t bytes = 0;
    for (int row = columns.headerRow + 1; row < grid.rowCount(); ++row)
      bytes += name(grid, columns, row).size() + grid.cell(row, columns.mac).size();
    text_.reserve(bytes);
    ends_.reserve(2 * static_cast<std::size_t>(grid.rowCount()));
    numbers_.reserve(static_cast<std::size_t>(grid.rowCount()));
    for (int row = 0; row < grid.rowCount(); ++row) {
      if (row == columns.headerRow) continue;
      if (row > columns.headerRow) text_ += name(grid, columns, row);
      ends_.push_back(static_cast<std::uint32_t>(text_.size()));
      if (row > columns.headerRow) text_ += grid.cell(row, columns.mac);
      ends_.push_back(static_cast<std::uint32_t>(text_.size()));
      numbers_.push_back(grid.rowNumber(row));
    }
  }

  std::size_t count() const { return numbers_.size(); }
  std::size_t textBytes() const { return text_.size(); }
  int number(std::size_t row) const { return numbers_[row]; }
  std::string_view name(std::size_t row) const { return field(2 * row); }
  std::string_view mac(std::size_t row) const { return field(2 * row + 1); }

 private:
  static std::string_view name(const SheetGrid& grid, const ColumnChoice& columns, int row) {
    return columns.name >= 0 ? grid.cell(row, columns.name) : std::string_view{};
  }
  std::string_view field(std::size_t index) const {
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
  }

  std::string text_;
  std::vector<std::uint32_t> ends_;
  std::vector<int> numbers_;
};

void ReadRows(const PickedRows& rows, RowSink& sink, WorkbookRead& read) {
  // The list keeps each name twice (as read and renamed, GBK being no
  // longer than UTF-8) and each MAC in its 17 characters: about what the
  // rows hold, so the list is made once at about its size.
  sink.expect(rows.count(), 2 * rows.textBytes() + 2 * kMacTextBytes * rows.count());
  for (std::size_t row = 0; row < rows.count(); ++row) {
    if (!sink.addUtf8(rows.name(row), rows.mac(row))) {
      Skip(rows.number(row), read);
      continue;
    }
    ++read.rows;
  }
}

}  // namespace

WorkbookRead ReadWorkbook(std::string bytes, RowSink& sink) {
  WorkbookRead read;
  SharedStrings shared;
  std::unique_ptr<SheetGrid> grid;
  ColumnChoice columns;
  {
    ZipArchive archive(bytes);
    if (!archive.isOpen()) {
      read.outcome = WorkbookOutcome::Damaged;
      return read;
    }
    if (!archive.has("[Content_Types].xml") || !archive.has("xl/workbook.xml")) return read;  // a zip of other things

    InflateBudget budget;
    WorkbookIndex index;
    DateStyles styles;
    PartRead part = ReadWorkbookIndex(archive, budget, index);
    if (part == PartRead::Read) part = Required(ReadSharedStrings(archive, index.sharedStringsPart, budget, shared));
    if (part == PartRead::Read) part = Required(ReadDateStyles(archive, index.stylesPart, budget, styles));
    for (std::size_t sheet = 0; part == PartRead::Read && sheet < index.sheets.size() && columns.mac < 0; ++sheet) {
      grid = std::make_unique<SheetGrid>(shared);
      part = ReadSheetGrid(archive, index.sheets[sheet].part, budget, styles, index.system1904, *grid);
      if (part != PartRead::Read) break;
      ColumnJudge judge;
      columns = JudgeColumns(*grid, judge);
      if (columns.mac < 0) continue;
      read.sheet = index.sheets[sheet].name;
      read.columnsWords = ColumnsWords(columns.name >= 0 ? judge.columnWordsUtf8(columns.name) : std::string(),
                                       judge.columnWordsUtf8(columns.mac));
    }
    if (part != PartRead::Read) {
      Fail(part, read);
      return read;
    }
  }
  if (columns.mac < 0) return read;
  // The list grows only once the archive's bytes, the sheet and the shared
  // strings are gone: the largest of them is about the list's size.
  std::string().swap(bytes);
  const PickedRows rows(*grid, columns);
  grid.reset();
  shared.release();
  read.outcome = WorkbookOutcome::Loaded;
  ReadRows(rows, sink, read);
  return read;
}

}  // namespace venbrook
