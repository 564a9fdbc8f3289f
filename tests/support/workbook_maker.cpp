#include "support/workbook_maker.h"

#include <zip.h>

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

}  // namespace venbrook::test
