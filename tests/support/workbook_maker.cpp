#include "support/workbook_maker.h"

#include <zip.h>

#include <cstdio>
#include <stdexcept>

#include "support/temp_folder.h"

namespace venbrook::test {
namespace {

constexpr const char* kStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<numFmts count="2"><numFmt numFmtId="164" formatCode="yyyy/m/d h:mm"/><numFmt numFmtId="165" formatCode="0&quot;d&quot;"/></numFmts>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>)"
    R"(<cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/></cellXfs>)"
    R"(</styleSheet>)";

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

void WriteZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries, int level) {
  zipFile zip = zipOpen64(file.string().c_str(), APPEND_STATUS_CREATE);
  if (!zip) throw std::runtime_error("cannot create a test zip");
  for (const ZipEntry& entry : entries) {
    zip_fileinfo info{};
    if (zipOpenNewFileInZip64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              level == 0 ? 0 : Z_DEFLATED, level, 1) != ZIP_OK ||
        zipWriteInFileInZip(zip, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())) != ZIP_OK ||
        zipCloseFileInZip(zip) != ZIP_OK)
      throw std::runtime_error("cannot write a test zip entry");
  }
  if (zipClose(zip, nullptr) != ZIP_OK) throw std::runtime_error("cannot close a test zip");
}

std::string ZipBytes(const std::vector<ZipEntry>& entries, int level) {
  TempFolder folder;
  WriteZip(folder / "made.zip", entries, level);
  return *ReadBytes(folder / "made.zip");
}

std::vector<ZipEntry> WorkbookParts(const std::vector<SheetXml>& sheets, const std::vector<std::string>& shared) {
  const std::string head = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
  const std::string main = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
  const std::string relationship = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  std::string types = head + R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
                             R"(<Default Extension="xml" ContentType="application/xml"/>)";
  std::string workbook = head + "<workbook " + main + R"( xmlns:r=")" + relationship.substr(0, relationship.size() - 1) +
                         R"("><workbookPr/><sheets>)";
  std::string relations = head + R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
  std::vector<ZipEntry> entries;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    workbook += R"(<sheet name=")" + Escaped(sheets[i].name) + R"(" sheetId=")" + n + R"(" r:id="rId)" + n + '"' +
                (sheets[i].state.empty() ? "" : R"( state=")" + sheets[i].state + '"') + "/>";
    relations += R"(<Relationship Id="rId)" + n + R"(" Type=")" + relationship + R"(worksheet" Target="worksheets/sheet)" +
                 n + R"(.xml"/>)";
    entries.push_back({"xl/worksheets/sheet" + n + ".xml",
                       head + "<worksheet " + main + "><sheetData>" + sheets[i].rows + "</sheetData></worksheet>"});
  }
  relations += R"(<Relationship Id="rIdS" Type=")" + relationship + R"(styles" Target="styles.xml"/>)";
  entries.push_back({"xl/styles.xml", kStyles});
  if (!shared.empty()) {
    relations += R"(<Relationship Id="rIdT" Type=")" + relationship + R"(sharedStrings" Target="/xl/sharedStrings.xml"/>)";
    std::string strings = head + "<sst " + main + ">";
    for (const std::string& si : shared) strings += "<si>" + si + "</si>";
    entries.push_back({"xl/sharedStrings.xml", strings + "</sst>"});
  }
  entries.insert(entries.begin(), {{"[Content_Types].xml", types + "</Types>"},
                                   {"xl/workbook.xml", workbook + "</sheets></workbook>"},
                                   {"xl/_rels/workbook.xml.rels", relations + "</Relationships>"}});
  return entries;
}

std::string SharedCell(const std::string& reference, int index) {
  return R"(<c r=")" + reference + R"(" t="s"><v>)" + std::to_string(index) + "</v></c>";
}

std::string InlineCell(const std::string& reference, const std::string& text) {
  return R"(<c r=")" + reference + R"(" t="inlineStr"><is><t>)" + Escaped(text) + "</t></is></c>";
}

std::string NumberCell(const std::string& reference, const std::string& value, int style) {
  return R"(<c r=")" + reference + R"(" s=")" + std::to_string(style) + R"("><v>)" + value + "</v></c>";
}

std::string RowXml(int number, const std::string& cells) {
  return R"(<row r=")" + std::to_string(number) + R"(">)" + cells + "</row>";
}

std::string ColumnLetters(int column) {
  std::string letters;
  for (++column; column > 0; column = (column - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  return letters;
}

std::string WidestSheetWorkbook() {
  constexpr int kColumns = 16384, kRows = 120;
  std::vector<std::string> letters(kColumns);
  for (int column = 0; column < kColumns; ++column) letters[column] = ColumnLetters(column);
  std::string rows;
  rows.reserve(52u << 20);
  for (int row = 1; row <= kRows; ++row) {
    const std::string r = std::to_string(row);
    rows += "<row r=\"" + r + "\">";
    for (int column = 0; column < kColumns; ++column) {
      std::string value = column == 0 ? (row == 1 ? "机器名" : "PC" + r) : column == 1 ? (row == 1 ? "MAC" : "") : r;
      if (column == 1 && row > 1) {
        char mac[24];
        std::snprintf(mac, sizeof mac, "00-1A-2B-3C-%02X-%02X", row / 256, row % 256);
        value = mac;
      }
      if (column <= 1 || row == 1)
        rows += "<c r=\"" + letters[column] + r + "\" t=\"inlineStr\"><is><t>" + (row == 1 && column > 1 ? "c" + letters[column] : value) + "</t></is></c>";
      else
        rows += "<c r=\"" + letters[column] + r + "\"><v>" + value + "</v></c>";
    }
    rows += "</row>";
  }
  return ZipBytes(WorkbookParts({{"Sheet1", rows}}));
}

std::string WorkbookAmongEntries(int otherEntries, const std::string& sheetName) {
  std::vector<ZipEntry> entries;
  entries.reserve(static_cast<std::size_t>(otherEntries) + 8);
  char name[32];
  for (int i = 0; i < otherEntries; ++i) {
    std::snprintf(name, sizeof name, "xl/media/image%06d.png", i);
    entries.push_back({name, "png"});
  }
  const std::string rows = RowXml(1, InlineCell("A1", "机器名") + InlineCell("B1", "MAC")) +
                           RowXml(2, InlineCell("A2", "PC01") + InlineCell("B2", "00-1A-2B-3C-4D-01")) +
                           RowXml(3, InlineCell("A3", "PC02") + InlineCell("B3", "00-1A-2B-3C-4D-02"));
  for (ZipEntry& part : WorkbookParts({{sheetName, rows}})) entries.push_back(std::move(part));
  return ZipBytes(entries, 0);
}

}  // namespace venbrook::test
