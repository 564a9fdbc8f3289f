#include "sources/workbook/sheet_columns.h"

#include <vector>

#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

bool LooksLikeDate(std::string_view text) {
  return text.size() >= 10 && text[4] == '-' && text[7] == '-' && text[0] >= '0' && text[0] <= '9';
}

int HeaderRow(const SheetGrid& grid) {
  for (int row = 0; row < grid.rowCount(); ++row) {
    bool names = false;
    int filled = 0;
    for (int column = 0; column < grid.width(row); ++column) {
      const std::string_view text = grid.cell(row, column);
      if (IsMacText(text)) return -1;  // the list began without a header
      names = names || NamesMachineName(text) || NamesMac(text);
      filled += !text.empty();
    }
    if (names && filled >= 2) return row;  // a title above it fills one (merged) cell
  }
  return -1;
}

}  // namespace

SheetColumns JudgeSheetColumns(const SheetGrid& grid) {
  SheetColumns columns;
  columns.headerRow = HeaderRow(grid);
  std::vector<int> macs, others;
  for (int row = columns.headerRow + 1; row < grid.rowCount(); ++row) {
    const int width = grid.width(row);
    if (static_cast<int>(macs.size()) < width) macs.resize(width), others.resize(width);
    for (int column = 0; column < width; ++column) {
      const std::string_view text = grid.cell(row, column);
      if (IsMacText(text)) ++macs[column];
      else if (!text.empty() && !IsIpv4Address(text) && !LooksLikeDate(text)) ++others[column];
    }
  }
  for (int column = 0; column < static_cast<int>(macs.size()); ++column)
    if (macs[column] > 0 && (columns.macColumn < 0 || macs[column] > macs[columns.macColumn])) columns.macColumn = column;
  if (columns.macColumn < 0) return columns;

  if (columns.headerRow >= 0) {
    for (int column = 0; column < grid.width(columns.headerRow) && columns.nameColumn < 0; ++column) {
      const std::string_view text = grid.cell(columns.headerRow, column);
      if (column != columns.macColumn && NamesMachineName(text) && !NamesMac(text)) columns.nameColumn = column;
    }
    return columns;
  }
  for (int column = 0; column < static_cast<int>(others.size()) && columns.nameColumn < 0; ++column)
    if (column != columns.macColumn && others[column] > 0) columns.nameColumn = column;
  return columns;
}

std::string ColumnLetters(int column) {
  std::string letters;
  for (int rest = column + 1; rest > 0; rest = (rest - 1) / 26) letters.insert(letters.begin(), char('A' + (rest - 1) % 26));
  return letters;
}

}  // namespace venbrook
