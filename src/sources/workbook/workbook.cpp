#include "sources/workbook/workbook.h"

#include "sources/columns/column_judge.h"
#include "sources/source_words.h"
#include "sources/workbook/sheet_grid.h"
#include "sources/workbook/workbook_parts.h"
#include "sources/workbook/zip_archive.h"

namespace venbrook {
namespace {

WorkbookOutcome Failure(PartRead read) {
  return read == PartRead::TooLarge ? WorkbookOutcome::TooLarge : WorkbookOutcome::Damaged;
}

// A part the workbook's relationships name must be there.
PartRead Required(PartRead read) { return read == PartRead::Missing ? PartRead::Damaged : read; }

void Skip(int rowNumber, WorkbookRead& read) {
  if (read.skippedLines++ < 3) read.firstSkipped.push_back(rowNumber);
}

ColumnChoice JudgeColumns(const SheetGrid& grid, ColumnJudge& judge) {
  for (int row = 0; row < grid.rowCount(); ++row) {
    const int width = grid.width(row);
    for (int column = 0; column < width; ++column) judge.addCell(grid.cell(row, column));
    judge.endRow();
  }
  return judge.decide();
}

void ReadRows(const SheetGrid& grid, const ColumnChoice& columns, RowSink& sink, WorkbookRead& read) {
  // Each MAC and name as the sheet's column, one text a row: about 40 bytes.
  sink.expect(static_cast<std::size_t>(grid.rowCount()), static_cast<std::size_t>(grid.rowCount()) * 40);
  for (int row = 0; row < grid.rowCount(); ++row) {
    if (row == columns.headerRow) continue;
    const std::string_view name = columns.name >= 0 ? grid.cell(row, columns.name) : std::string_view{};
    if (row < columns.headerRow || !sink.addUtf8(name, grid.cell(row, columns.mac))) {
      Skip(grid.rowNumber(row), read);
      continue;
    }
    ++read.rows;
  }
}

}  // namespace

WorkbookRead ReadWorkbook(std::string_view bytes, RowSink& sink) {
  WorkbookRead read;
  ZipArchive archive(bytes);
  if (!archive.isOpen()) {
    read.outcome = WorkbookOutcome::Damaged;
    return read;
  }
  if (!archive.has("[Content_Types].xml") || !archive.has("xl/workbook.xml")) return read;  // a zip of other things

  InflateBudget budget;
  WorkbookIndex index;
  SharedStrings shared;
  DateStyles styles;
  PartRead part = ReadWorkbookIndex(archive, budget, index);
  if (part == PartRead::Read) part = Required(ReadSharedStrings(archive, index.sharedStringsPart, budget, shared));
  if (part == PartRead::Read) part = Required(ReadDateStyles(archive, index.stylesPart, budget, styles));
  if (part != PartRead::Read) {
    read.outcome = Failure(part);
    return read;
  }
  for (const SheetEntry& sheet : index.sheets) {
    SheetGrid grid(shared);
    part = ReadSheetGrid(archive, sheet.part, budget, styles, index.system1904, grid);
    if (part != PartRead::Read) {
      read.outcome = Failure(part);
      return read;
    }
    ColumnJudge judge;
    const ColumnChoice columns = JudgeColumns(grid, judge);
    if (columns.mac < 0) continue;
    read.outcome = WorkbookOutcome::Loaded;
    read.sheet = sheet.name;
    read.columnsWords =
        ColumnsWords(columns.name >= 0 ? judge.columnWordsUtf8(columns.name) : std::string(), judge.columnWordsUtf8(columns.mac));
    ReadRows(grid, columns, sink, read);
    return read;
  }
  return read;
}

}  // namespace venbrook
