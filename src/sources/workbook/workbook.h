#pragma once
// A workbook saved by Excel, WPS or LibreOffice (.xlsx, .xlsm): a zip
// archive holding [Content_Types].xml and xl/workbook.xml.
//
// - Sheets are tried in workbook order, hidden ones last; the first on which
//   a MAC column is found holds the list.
// - Each cell gives the text it shows (sheet_grid.h); a sheet is a layout of
//   rows (table/table_layout.h) whose columns are judged over the whole sheet
//   by the judge of every tabular source (columns/column_judge.h).
// - Rows above the header (a title, merged or not) and rows without a
//   machine's MAC are skipped and counted by the sheet's own row numbers;
//   rows without any text are passed over.
// - What is inflated is bounded (zip_archive.h), and so are a sheet's rows,
//   its cells a row and its bytes a row (sheet_grid.h); any DTD, a damaged
//   archive or XML part makes the whole read fail.
#include <string>
#include <string_view>
#include <vector>

#include "sources/read_bounds.h"
#include "sources/row_sink.h"
#include "sources/table/table_read.h"

namespace venbrook {

struct WorkbookRead {
  TableRead table;    // NoList: no workbook, or no sheet holding a MAC column
  std::string sheet;  // the sheet's name (UTF-8)
};

// Reads the machines of the workbook in `bytes` into `sink`. It only adds
// rows: beginning, finishing or abandoning the list is the caller's part.
// The bytes are freed as soon as the sheet is read, before its rows go to
// the list.
WorkbookRead ReadWorkbook(std::string bytes, RowSink& sink);

}  // namespace venbrook
