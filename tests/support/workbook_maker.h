#pragma once
// Workbooks made by the tests, through minizip's own zip writer: the parts
// Excel writes ([Content_Types].xml, the workbook and its relationships,
// shared strings, styles, one part a sheet), with the sheets' XML given.
#include <filesystem>
#include <string>
#include <vector>

namespace venbrook::test {

struct ZipEntry {
  std::string name, bytes;
};

// Deflated (level 6, as Excel), or stored at level 0.
void WriteZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries, int level = 6);
std::string ZipBytes(const std::vector<ZipEntry>& entries, int level = 6);

struct SheetXml {
  std::string name;
  std::string rows;            // the <row> elements of <sheetData>
  std::string state = {};      // "hidden", "veryHidden" or none
};

// Cell styles of the made workbooks: 0 General, 1 the built-in date 14,
// 2 the custom "yyyy/m/d h:mm", 3 the custom 0"d" (a number, not a date).
// `shared` are the <si> elements' contents, in index order.
std::vector<ZipEntry> WorkbookParts(const std::vector<SheetXml>& sheets, const std::vector<std::string>& shared = {});

// Cells: a shared string, an inline string, a number with a style.
std::string SharedCell(const std::string& reference, int index);
std::string InlineCell(const std::string& reference, const std::string& text);
std::string NumberCell(const std::string& reference, const std::string& value, int style = 0);
std::string RowXml(int number, const std::string& cells);

// A column's letters: 0 is A, 16383 is XFD.
std::string ColumnLetters(int column);

// Shapes no one should ever meet, made for the reader's bounds:
// 120 rows of 16,384 cells (a header, then machines with a MAC in B and
// a number in every other cell), about 50 MB of XML, deflated;
std::string WidestSheetWorkbook();
// a workbook of one sheet whose sheet is named `sheetName`, after
// `otherEntries` small entries of other things, stored.
std::string WorkbookAmongEntries(int otherEntries, const std::string& sheetName = "Sheet1");

}  // namespace venbrook::test
