#pragma once
// Which columns of a sheet hold the machines' names and MACs, and which row
// is the header above them.
#include <string>

#include "sources/workbook/sheet_grid.h"

namespace venbrook {

struct SheetColumns {
  int headerRow = -1;   // the grid's row index of the header; -1 for none
  int nameColumn = -1;  // -1: no column holds the names
  int macColumn = -1;   // -1: the sheet holds no list
};

// The MAC column is the one with the most MACs below the header; the header
// is the first row of two or more cells naming a machine's name or MAC
// column and holding no MAC; the name column is the header's, or without a header the first other
// column holding text that is no IPv4 address or date.
SheetColumns JudgeSheetColumns(const SheetGrid& grid);

// "A", "B", ... "Z", "AA", ... as Excel names the column (0-based).
std::string ColumnLetters(int column);

}  // namespace venbrook
