#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include "commands/load_database.h"
#include "sources/workbook/cell_text.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/temp_folder.h"
#include "support/workbook_maker.h"

namespace venbrook {
namespace {

using namespace test;
using Texts = std::vector<std::string>;

const std::string kMac1 = "00-1A-2B-3C-4D-01", kMac2 = "00:1a:2b:3c:4d:02";
const std::string kShown1 = "00-1A-2B-3C-4D-01", kShown2 = "00-1A-2B-3C-4D-02";

struct Case {
  const char* what;
  std::string bytes;
  LoadOutcome outcome;
  std::string source;  // GBK, after "来源：工作簿 book.xlsx " or "未载入：book.xlsx "
  Texts names = {}, macs = {};
};

class WorkbookTest : public testing::Test {
 protected:
  void check(const Case& c) {
    SCOPED_TRACE(c.what);
    WriteBytes(dir / "book.xlsx", c.bytes);
    list.clear();
    list.append("old", "old", "old");
    window.status[0] = "before";
    window.path = dir.core() + "\\book.xlsx";
    EXPECT_EQ(LoadDatabase(connection, list, window).outcome, c.outcome);
    const bool loaded = c.outcome == LoadOutcome::Loaded;
    EXPECT_EQ(window.source, G(loaded ? "来源：工作簿 book.xlsx " : "未载入：book.xlsx ") + c.source);
    EXPECT_EQ(column(kMachineNameColumn), c.outcome == LoadOutcome::NoList ? Texts{"old"} : c.names);
    if (loaded) {
      EXPECT_EQ(column(kMacColumn), c.macs);
    }
    EXPECT_EQ(window.status[0], c.outcome == LoadOutcome::NoList ? "before" : G(" 总数:") + std::to_string(c.names.size()));
  }
  Texts column(int column) const {
    Texts texts;
    for (int i = 0; i < list.count(); ++i) texts.emplace_back(list.cellText(i, column));
    return texts;
  }

  TempFolder dir;
  FakeWindow window;
  MachineList list;
  SourceConnection connection;
};

// The shapes operators' workbooks have, each read whole.
TEST_F(WorkbookTest, SheetsAndCells) {
  // Title merged over the columns, header, a row with a gap, a date column,
  // a total; names and MACs as shared strings.
  const std::vector<std::string> shared = {"<t>三楼机器</t>", "<t>机器名</t>", "<t>MAC地址</t>", "<t>开通日期</t>",
                                           "<t>PC01</t>",   "<t>" + kMac1 + "</t>", "<t>" + kMac2 + "</t>",
                                           "<t>合计</t>"};
  const std::string cafe =
      RowXml(1, SharedCell("A1", 0)) + RowXml(2, SharedCell("A2", 1) + SharedCell("C2", 2) + SharedCell("D2", 3)) +
      RowXml(3, SharedCell("A3", 4) + InlineCell("B3", "10.0.0.1") + SharedCell("C3", 5) + NumberCell("D3", "45444", 1)) +
      RowXml(5, InlineCell("A5", "001") + SharedCell("C5", 6) + NumberCell("D5", "45444.5", 2)) + RowXml(6, "") +
      RowXml(7, SharedCell("A7", 7) + NumberCell("C7", "2", 0));
  // No header: a date before the name, which is no name; rows without
  // their references; a rich text name with its phonetic reading left out.
  const std::string bare =
      R"(<row><c s="1"><v>45444</v></c><c t="s"><v>0</v></c><c t="inlineStr"><is><t>)" + kMac1 + "</t></is></c></row>" +
      RowXml(2, NumberCell("A2", "45445", 1) + NumberCell("B2", "1002", 3) + InlineCell("C2", kMac2));
  const std::vector<std::string> rich = {R"(<r><t>一楼</t></r><r><rPr><b/></rPr><t xml:space="preserve">0_x0007_1</t></r><rPh><t>x</t></rPh>)"};
  const std::string notes = RowXml(1, InlineCell("A1", "备注") + InlineCell("B1", "明天换键盘"));
  // Elements with a prefix, as some writers put them; names and MACs as
  // formulas' cached results; a boolean and an error beside them.
  const std::string formula = [&] {
    std::string rows = RowXml(1, InlineCell("A1", "机器名") + InlineCell("B1", "MAC") + InlineCell("C1", "在线"));
    for (const auto& [n, name, mac, flag] : std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"2", "PC01", kMac1, R"(t="b"><x:v>1</x:v>)"}, {"3", "PC02", kMac2, R"(t="e"><x:v>#N/A</x:v>)"}})
      rows += R"(<x:row r=")" + n + R"(" xmlns:x="urn:x"><x:c r="A)" + n + R"(" t="str"><x:f>A9</x:f><x:v>)" + name +
              R"(</x:v></x:c><x:c r="B)" + n + R"(" t="str"><x:v>)" + mac + R"(</x:v></x:c><x:c r="C)" + n + R"(" )" + flag +
              "</x:c></x:row>";
    return rows;
  }();
  const std::string macOnly = RowXml(4, InlineCell("B4", kMac1)) + RowXml(9, InlineCell("B9", "FF-FF-FF-FF-FF-FF"));
  const std::string unordered = RowXml(1, InlineCell("B1", "MAC") + InlineCell("A1", "机器名")) +
                                RowXml(2, InlineCell("B2", kMac1) + InlineCell("A2", "PC01") + InlineCell("A2", "PC99"));
  const std::string twoMachines = G("机器名取自 机器名，MAC地址取自 MAC，读入 2 台");
  const std::vector<Case> cases = {
      {"a café's sheet", ZipBytes(WorkbookParts({{"一楼", cafe}}, shared)), LoadOutcome::Loaded,
       G("的工作表 一楼，机器名取自 机器名，MAC地址取自 MAC地址，读入 2 台，跳过 2 行（第 1、7 行）"),
       {"PC01", "001"}, {kShown1, kShown2}},
      {"no header; a date is no name", ZipBytes(WorkbookParts({{"Sheet1", bare}}, rich)), LoadOutcome::Loaded,
       G("的工作表 Sheet1，机器名取自 第 2 列，MAC地址取自 第 3 列，读入 2 台"), {G("一楼0 1"), "1002"}, {kShown1, kShown2}},
      {"the list on the second sheet; a hidden one is tried last",
       ZipBytes(WorkbookParts({{"说明", notes}, {"隐藏", cafe, "hidden"}, {"Sheet3", macOnly}}, shared)),
       LoadOutcome::Loaded, G("的工作表 Sheet3，没有机器名列，MAC地址取自 第 2 列，读入 1 台，跳过 1 行（第 9 行）"), {""},
       {kShown1}},
      {"stored, not deflated", ZipBytes(WorkbookParts({{"Sheet3", macOnly}}), 0), LoadOutcome::Loaded,
       G("的工作表 Sheet3，没有机器名列，MAC地址取自 第 2 列，读入 1 台，跳过 1 行（第 9 行）"), {""}, {kShown1}},
      {"prefixed names, formulas' results", ZipBytes(WorkbookParts({{"Sheet1", formula}})), LoadOutcome::Loaded,
       G("的工作表 Sheet1，机器名取自 机器名，MAC地址取自 MAC，读入 2 台"), {"PC01", "PC02"}, {kShown1, kShown2}},
      {"cells out of column order, one column written twice: the first counts",
       ZipBytes(WorkbookParts({{"Sheet1", unordered}})), LoadOutcome::Loaded,
       G("的工作表 Sheet1，机器名取自 机器名，MAC地址取自 MAC，读入 1 台"), {"PC01"}, {kShown1}},
      {"an emoji in the sheet's name, as Windows converts it", WorkbookAmongEntries(0, "📋机器"), LoadOutcome::Loaded,
       G("的工作表 ??机器，") + twoMachines, {"PC01", "PC02"}, {kShown1, kShown2}},
      {"100,000 other entries", WorkbookAmongEntries(100000), LoadOutcome::Loaded, G("的工作表 Sheet1，") + twoMachines,
       {"PC01", "PC02"}, {kShown1, kShown2}},
      {"no sheet with MACs", ZipBytes(WorkbookParts({{"说明", notes}})), LoadOutcome::NoList, G("里没有找到机器列表")},
      {"a zip that is no workbook", ZipBytes({{"readme.txt", kMac1 + " PC01"}}), LoadOutcome::NoList,
       G("里没有找到机器列表")},
  };
  for (const Case& c : cases) check(c);
}

// Old binary workbooks are refused; a damaged workbook gives no part of a
// list; what only a zip bomb inflates to is refused before it is inflated.
TEST_F(WorkbookTest, RefusedAndDamaged) {
  const std::string sheet = RowXml(1, InlineCell("A1", "PC01") + InlineCell("B1", kMac1));
  const std::string good = ZipBytes(WorkbookParts({{"Sheet1", sheet}}));
  std::string flipped = good;
  const std::size_t data = flipped.find("xl/worksheets/sheet1.xml") + 40;  // inside the sheet's deflated bytes
  for (std::size_t i = data; i < data + 8; ++i) flipped[i] = static_cast<char>(~flipped[i]);
  const std::string laughs = R"(<?xml version="1.0"?><!DOCTYPE sst [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">]>)"
                             R"(<sst><si><t>&b;</t></si></sst>)";
  std::vector<ZipEntry> withDoctype = WorkbookParts({{"Sheet1", sheet}}, {"<t>x</t>"});
  withDoctype.back().bytes = laughs;  // the shared strings
  const std::string bomb = ZipBytes(WorkbookParts({{"Sheet1", std::string(2 << 20, ' ')}}));
  std::vector<ZipEntry> unclosed = WorkbookParts({{"Sheet1", sheet + "<row r=\"2\"><c>"}});
  std::vector<ZipEntry> everSame = WorkbookParts({{"S", ""}});  // one empty sheet named 2,000 times
  for (int i = 0; i < 2000; ++i)
    everSame[1].bytes.insert(everSame[1].bytes.find("</sheets>"), R"(<sheet name="S" sheetId="1" r:id="rId1"/>)");
  std::string changed = ZipBytes(WorkbookParts({{"Sheet1", sheet}}), 0);  // stored: only the CRC tells
  changed.replace(changed.find("PC01"), 4, "PC09");
  // Past the reader's bounds; stored, so that no ratio of a zip bomb is met first.
  const std::string megabyte(1 << 20, 'a');
  std::string oneColumnOverAndOver, sparse, emptyRows;
  for (int i = 0; i <= 16384; ++i) oneColumnOverAndOver += InlineCell("A1", "x");
  for (int row = 1; row <= 4097; ++row)
    sparse += RowXml(row, InlineCell("A" + std::to_string(row), kMac1) + InlineCell("XFD" + std::to_string(row), "x"));
  emptyRows.reserve(26u << 20);
  for (int row = 0; row <= 2000000; ++row) emptyRows += "<row r=\"1\"/>";  // past Excel's last row any other way
  const auto stored = [](const std::string& rows, const std::vector<std::string>& shared = {}) {
    return ZipBytes(WorkbookParts({{"Sheet1", rows}}, shared), 0);
  };
  const std::string tooWide = G("太大（一行超过 16384 格）"), tooLong = G("太大（一行超过 1 MB）");
  const std::string readFailed = G("读取中途出错");
  const std::vector<Case> cases = {
      {"Excel 97-2003 or WPS .et", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'),
       LoadOutcome::NoList, G("是旧版表格文件，请在 Excel 或 WPS 里另存为 .xlsx 或 CSV 再打开")},
      {"deflated bytes damaged", flipped, LoadOutcome::ReadFailed, readFailed},
      {"cut short", good.substr(0, good.size() / 2), LoadOutcome::ReadFailed, readFailed},
      {"a DTD with entities", ZipBytes(withDoctype), LoadOutcome::ReadFailed, readFailed},
      {"XML not closed", ZipBytes(unclosed), LoadOutcome::ReadFailed, readFailed},
      {"stored bytes changed", changed, LoadOutcome::ReadFailed, readFailed},
      {"a row numbered 0", ZipBytes(WorkbookParts({{"Sheet1", RowXml(0, InlineCell("B0", kMac1))}})),
       LoadOutcome::ReadFailed, readFailed},
      {"2 MB of blanks in a few KB", bomb, LoadOutcome::NoList, G("太大（解压后超过 64 MB）")},
      {"an empty sheet read over and over", ZipBytes(everSame), LoadOutcome::NoList, G("太大（解压后超过 64 MB）")},
      {"a cell past column XFD", stored(sheet + RowXml(2, InlineCell("XFE2", kMac1))), LoadOutcome::NoList, tooWide},
      {"16,385 cells in a row, one column written over and over", stored(RowXml(1, oneColumnOverAndOver)),
       LoadOutcome::NoList, tooWide},
      {"a cell of more than a megabyte", stored(RowXml(1, InlineCell("A1", megabyte + "a"))), LoadOutcome::NoList,
       tooLong},
      {"a row of more than a megabyte, in cells of half of one",
       stored(RowXml(1, InlineCell("A1", megabyte.substr(1 << 19)) + SharedCell("B1", 0)),
              {"<t>" + megabyte.substr((1 << 19) - 1) + "</t>"}),
       LoadOutcome::NoList, tooLong},
      {"a shared string of more than a megabyte", stored(sheet, {"<t>" + megabyte + "a</t>"}), LoadOutcome::NoList,
       tooLong},
      {"2,000,001 rows", stored(emptyRows), LoadOutcome::NoList, G("太大（超过 2000000 行）")},
      {"rows spanning 64 MB of cells, A to XFD", stored(sparse), LoadOutcome::NoList, G("太大（解压后超过 64 MB）")},
  };
  for (const Case& c : cases) check(c);
}

// A sheet as wide as Excel's, 16,384 cells in each of its 120 rows (50 MB
// of XML, within what the reader inflates): read in about the time a text
// list of its bytes takes, each cell once.
TEST_F(WorkbookTest, WidestSheetLoads) {
  Texts names, macs;
  for (int row = 2; row <= 120; ++row) {
    char mac[24];
    std::snprintf(mac, sizeof mac, "00-1A-2B-3C-%02X-%02X", row / 256, row % 256);
    names.push_back("PC" + std::to_string(row));
    macs.push_back(mac);
  }
  check({"16,384 cells wide", WidestSheetWorkbook(), LoadOutcome::Loaded,
         G("的工作表 Sheet1，机器名取自 机器名，MAC地址取自 MAC，读入 119 台"), names, macs});
}

// Excel's largest sheet inflates past what the reader reads: refused, and
// the list stays.
TEST_F(WorkbookTest, LargestSheetIsTooLarge) {
  std::string rows;
  rows.reserve(80u << 20);
  for (int row = 1; row <= 1048576; ++row) {
    const std::string r = std::to_string(row);
    rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + r + "</v></c><c r=\"B" + r + "\" t=\"s\"><v>0</v></c></row>";
  }
  check({"1,048,576 rows", ZipBytes(WorkbookParts({{"Sheet1", rows}}, {"<t>" + kMac1 + "</t>"}), 1), LoadOutcome::NoList,
         G("太大（解压后超过 64 MB）")});
}

TEST(CellText, DatesAndEscapes) {
  struct Date {
    const char* value;
    bool system1904;
    const char* text;
  };
  for (const Date& d : std::vector<Date>{{"45444", false, "2024-06-01"},
                                         {"45444.4166666667", false, "2024-06-01 10:00"},
                                         {"45444.00001", false, "2024-06-01 00:00:01"},
                                         {"0.9999999", false, "1900-01-01"},
                                         {"59", false, "1900-02-28"},
                                         {"60", false, "1900-02-29"},
                                         {"61", false, "1900-03-01"},
                                         {"0", true, "1904-01-01"},
                                         {"43982", true, "2024-06-01"},
                                         {"2958465", false, "9999-12-31"},
                                         {"2958466", false, ""},
                                         {"-1", false, ""},
                                         {"1e400", false, ""},
                                         {"PC01", false, ""}})
    EXPECT_EQ(SerialDateText(d.value, d.system1904), d.text) << d.value;

  for (const char* code : {"yyyy/m/d", "h:mm", "[$-804]yyyy\"年\"m\"月\"", "[h]:mm:ss", "mmm-yy"})
    EXPECT_TRUE(IsDateFormatCode(code)) << code;
  for (const char* code : {"General", "0.00", "0\"d\"", "[Red]#,##0", "\\d0", "@", "0_)", "*s0"})
    EXPECT_FALSE(IsDateFormatCode(code)) << code;
  for (const int id : {14, 22, 31, 45, 47, 58}) EXPECT_TRUE(IsBuiltInDateFormat(id)) << id;
  for (const int id : {0, 1, 13, 23, 44, 49, 59}) EXPECT_FALSE(IsBuiltInDateFormat(id)) << id;

  for (const auto& [written, shown] : std::vector<std::pair<std::string, std::string>>{
           {"PC_x000D__x000A_01", "PC  01"}, {"a\tb\x7F", "a b "}, {"_x005F_x0041_", "_x0041_"},
           {"_xD800_", "_xD800_"}, {"_x41_", "_x41_"}, {"_x4E00_", "一"}}) {
    std::string text = written;
    CleanCellText(text);
    EXPECT_EQ(text, shown) << written;
  }
}

}  // namespace
}  // namespace venbrook
