#include "sources/workbook/workbook.h"

#include "sources/columns/machine_words.h"
#include "sources/workbook/sheet_columns.h"
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

// The column's header text, or its letters when the header leaves it empty.
void NameColumn(const SheetGrid& grid, int headerRow, int column, std::string& words, bool& header) {
  const std::string_view text = headerRow >= 0 ? grid.cell(headerRow, column) : std::string_view{};
  header = !text.empty();
  words = header ? std::string(text) : ColumnLetters(column);
}

void ReadRows(const SheetGrid& grid, const SheetColumns& columns, RowSink& sink, WorkbookRead& read) {
  // Each MAC and name as the sheet's column, one text a row: about 40 bytes.
  sink.expect(static_cast<std::size_t>(grid.rowCount()), static_cast<std::size_t>(grid.rowCount()) * 40);
  for (int row = 0; row < grid.rowCount(); ++row) {
    if (row == columns.headerRow) continue;
    const std::string_view mac = grid.cell(row, columns.macColumn);
    const std::string_view name = columns.nameColumn >= 0 ? grid.cell(row, columns.nameColumn) : std::string_view{};
    if (row < columns.headerRow || !IsMacText(mac) || !sink.addUtf8(name, mac)) {
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
    const SheetColumns columns = JudgeSheetColumns(grid);
    if (columns.macColumn < 0) continue;
    read.outcome = WorkbookOutcome::Loaded;
    read.sheet = sheet.name;
    NameColumn(grid, columns.headerRow, columns.macColumn, read.macColumn, read.macHeader);
    if (columns.nameColumn >= 0) NameColumn(grid, columns.headerRow, columns.nameColumn, read.nameColumn, read.nameHeader);
    ReadRows(grid, columns, sink, read);
    return read;
  }
  return read;
}

}  // namespace venbrook
