#include "sources/text/text_list.h"

#include <gtest/gtest.h>

#include "export/export_file.h"
#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

struct Row {
  std::string name, mac;  // as the list holds them: GBK
  bool operator==(const Row&) const = default;
};
using Rows = std::vector<Row>;

void PrintTo(const Row& row, std::ostream* out) { *out << '{' << GbkToUtf8(row.name) << ", " << row.mac << '}'; }

struct Read {
  Rows rows;
  int skipped;
  std::vector<int> firstSkipped;
};

Read ReadList(std::string_view bytes) {
  MachineList list;
  const RenameRule rule;
  RowSink sink(list, rule);
  const TextListRead read = ReadTextList(bytes, sink);
  Rows rows;
  for (int i = 0; i < list.count(); ++i)
    rows.push_back({std::string(list.cellText(i, kMachineNameColumn)), std::string(list.cellText(i, kMacColumn))});
  EXPECT_EQ(read.rows, list.count());
  return {rows, read.skippedLines, read.firstSkipped};
}

// UTF-16 bytes with their byte-order mark, as Excel's "Unicode 文本" saves them.
std::string Utf16(std::u16string_view text, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

const std::string kMac1 = "00-1A-2B-3C-4D-01", kMac2 = "00:1a:2b:3c:4d:02";

struct Case {
  const char* what;
  std::string bytes;
  Rows rows;
  int skipped = 0;
  std::vector<int> firstSkipped = {};
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const Read read = ReadList(c.bytes);
    EXPECT_EQ(read.rows, c.rows) << c.what;
    EXPECT_EQ(read.skipped, c.skipped) << c.what;
    EXPECT_EQ(read.firstSkipped, c.firstSkipped) << c.what;
  }
}

TEST(TextList, Encodings) {
  Check({
      {"Unicode text: UTF-16 LE with tabs", Utf16(u"机器名\tMAC地址\r\n一楼01\t00-1A-2B-3C-4D-01\r\n"),
       {{G("一楼01"), kMac1}}},
      {"UTF-16 BE", Utf16(u"00:1a:2b:3c:4d:02 二楼 02\n", true), {{G("二楼 02"), kMac2}}},
      {"UTF-8 with its mark", "\xEF\xBB\xBFPC01,00-1A-2B-3C-4D-01", {{"PC01", kMac1}}},
      {"UTF-8 without a mark", "电竞区A05;00:1a:2b:3c:4d:02\n" + kMac1 + " 二楼", {{G("电竞区A05"), kMac2}, {G("二楼"), kMac1}}},
      {"GBK as Excel saves CSV", G("机器名,MAC地址\r\n网吧13,00-1A-2B-3C-4D-01\r\n"), {{G("网吧13"), kMac1}}},
      {"bytes not UTF-8 are GBK", "PC\xB0\xA1," + kMac1, {{"PC\xB0\xA1", kMac1}}},
      {"a UTF-8 mark decides even for bad bytes", "\xEF\xBB\xBFPC\xB0\xA1," + kMac1, {{"", kMac1}}},
      {"four-byte UTF-8 reads as UTF-8; the name is dropped like a database's",
       "PC\xF0\x9F\x98\x80," + kMac1 + "\n" + kMac2, {{"", kMac1}, {"", kMac2}}},
      {"a UTF-16 surrogate pair, and a lone one", Utf16(u"\U0001F600,00-1A-2B-3C-4D-01\n\xD800,00:1a:2b:3c:4d:02"),
       {{"", kMac1}, {"", kMac2}}},
      {"UTF-16 cut short: the half character breaks its field", Utf16(u"PC1 00-1A-2B-3C-4D-01\r\nPC2,00:1a:2b:3c:4d:02") + "X",
       {{"PC1", kMac1}}, 1, {2}},
      {"code page 936 to its edges: trail bytes 40 and FE, the euro sign 80", "\x81\x40\xFE\xFE\x80," + kMac1,
       {{"\x81\x40\xFE\xFE\x80", kMac1}}},
      {"GBK that is not code page 936 gives an empty name", "PC\x81," + kMac1 + "\nPC\xFF\xA1;" + kMac2 + "\n\xB0\x7F " + kMac1,
       {{"", kMac1}, {"", kMac2}, {"", kMac1}}},
      {"a GBK name ends at a NUL", std::string("PC1\0x,", 6) + kMac1, {{"PC1", kMac1}}},
      {"so does a UTF-8 one", std::string("一楼\0x,", 9) + kMac1, {{G("一楼"), kMac1}}},
  });
}

TEST(TextList, FieldsAndQuotes) {
  Check({
      {"a tab wins over commas", "网吧,1\t" + kMac1, {{G("网吧,1"), kMac1}}},
      {"the first of comma and semicolon decides", "A;B,C;" + kMac1 + "\nA,B;" + kMac1, {{"A", kMac1}}, 1, {2}},
      {"quoted separators and doubled quotes", "\"网吧,13\",\"" + kMac1 + "\"\n\"say \"\"hi\"\"\";" + kMac2,
       {{G("网吧,13"), kMac1}, {"say \"hi\"", kMac2}}},
      {"blanks trimmed around fields, kept inside quotes", "  PC1 ,  " + kMac1 + " \n \" PC 2 \" , " + kMac2,
       {{"PC1", kMac1}, {" PC 2 ", kMac2}}},
      {"a quote inside a field is a character; text after a closing quote stays",
       "12\" 显示器," + kMac1 + "\n\"PC\"2 ," + kMac2, {{G("12\" 显示器"), kMac1}, {"PC2", kMac2}}},
      {"a quote never closed runs to the end of the line", kMac1 + ",\"PC, 1\n\"" + kMac2 + ",PC2",
       {{"PC, 1", kMac1}}, 1, {2}},
      {"a MAC and a space before a separator: a spreadsheet's line", kMac1 + " ,PC1\n" + kMac2 + " \t10.0.0.2\tPC2",
       {{"PC1", kMac1}, {"PC2", kMac2}}},
      {"runs of blanks, the ideographic space among them", "PC1   " + kMac1 + "\n一楼　" + kMac2,
       {{"PC1", kMac1}, {G("一楼"), kMac2}}},
      {"GBK's ideographic space, not two halves of other characters",
       G("一楼　") + kMac1 + "\n" + G("啊、 ") + kMac2 + "\n" + G("二楼　,") + kMac1 + "\n" + G("啊、 ,") + kMac2,
       {{G("一楼"), kMac1}, {G("啊、"), kMac2}, {G("二楼"), kMac1}, {G("啊、"), kMac2}}},
  });
}

TEST(TextList, NamesAndHeaders) {
  Check({
      {"router leases: the IPv4 address is no name", "192.168.1.23  00:1a:2b:3c:4d:02  PC23\n192.168.1.24," + kMac1,
       {{"PC23", kMac2}, {"", kMac1}}},
      {"a line starting with the MAC: the rest is the name", kMac1 + "  网吧 13  号  \n" + kMac2 + "\n" + kMac1 + ",",
       {{G("网吧 13  号"), kMac1}, {"", kMac2}, {"", kMac1}}},
      {"no header: the first field not empty", ",192.168.1.2," + kMac1 + ",PC1,PC9", {{"PC1", kMac1}}},
      {"the header names the column", "\n \nIP,MAC,备注,计算机名\n10.0.0.1," + kMac1 + ",二楼,PC1\n" + kMac2 + ",,,",
       {{"PC1", kMac1}, {"", kMac2}}},
      {"GBK header", G("序号\t物理地址\t终端\r\n1\t") + kMac1 + G("\t一楼01"), {{G("一楼01"), kMac1}}},
      {"a name word in the MAC's header loses to a plain one", "备注,主机MAC,主机名\n一楼," + kMac1 + ",PC1",
       {{"PC1", kMac1}}},
      {"header column missing from a line: the first other field",
       "IP Address   MAC Address   Hostname\n10.0.0.1  " + kMac1 + "  PC1", {{"PC1", kMac1}}},
      {"header column holding the MAC: the first other field", "名称,IP\n" + kMac2 + ",PC2", {{"PC2", kMac2}}},
      {"only the first non-blank line can be the header", "合计 2 台\n机器名,MAC\n" + kMac1, {{"", kMac1}}, 2, {1, 2}},
      {"a first line with a MAC is a machine", "PC1," + kMac1 + "\nname," + kMac2, {{"PC1", kMac1}, {"name", kMac2}}},
  });
}

TEST(TextList, LinesSkippedAndCounted) {
  Check({
      {"CR LF, LF and CR; LF CR is two breaks", "a\r\n" + kMac1 + "\nb\rc\n\r\td\n" + kMac2,
       {{"", kMac1}, {"", kMac2}}, 4, {1, 3, 4}},
      {"blank lines count in the line numbers", "\n  \n# comment\r\n\r\n" + kMac1 + "\n\t\nTotal 1", {{"", kMac1}}, 2, {3, 7}},
      {"nothing to read", "", {}},
      {"junk", std::string("\0\x01\xFF\xFE", 4), {}, 1, {1}},
  });
}

// A file without machines leaves the list as it was: the sink empties it at
// the first row, and none came.
TEST(TextList, NoMachineLeavesTheListAlone) {
  MachineList list;
  list.append("old", "old", "old");
  const RenameRule rule;
  RowSink sink(list, rule);
  EXPECT_EQ(ReadTextList("机器名,MAC\n合计 0\n", sink).skippedLines, 1);
  EXPECT_EQ(list.count(), 1);
}

// Our own export, written by the export itself, reads back to the same MACs
// and names.
TEST(TextList, ExportReadsBack) {
  test::TempFolder dir;
  MachineList exported;
  const Rows machines{{G("网吧-一楼01"), kMac1}, {"WB  02,x;\t\"y", kMac2}, {"\"PC\"3", "00.1a.2b.3c.4d.03"}, {"", kMac1}};
  for (const Row& row : machines) exported.append("old", row.name, row.mac);
  ASSERT_TRUE(WriteExportLines(test::PathOf(dir / "export.txt"), exported).complete);
  EXPECT_EQ(ReadList(*test::ReadBytes(dir / "export.txt")).rows, machines);
}

// Lines of any length read in time linear in their bytes (a quadratic scan
// of a few megabytes would not end within the test's time).
TEST(TextList, LongLines) {
  const std::size_t length = 1 << 20;
  for (const std::string piece : {",", "\"", "\"\",", " ", "\xA1", "\xB0\xA1\xA1\xA1  ", "a;\t"}) {
    std::string line;
    while (line.size() < length) line += piece;
    EXPECT_EQ(ReadList(line + "\t" + kMac1).rows.size(), 1u) << piece;
    EXPECT_EQ(ReadList(kMac1 + " " + line).rows.size(), 1u) << piece;
  }
  EXPECT_EQ(ReadList(std::string(length, '\r') + kMac1).firstSkipped, std::vector<int>{});
  EXPECT_EQ(ReadList(Utf16(std::u16string(length, u'，') + u"\n")).skipped, 1);
}

}  // namespace
}  // namespace venbrook
