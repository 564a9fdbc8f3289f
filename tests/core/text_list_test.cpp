#include "sources/text/text_list.h"

#include <gtest/gtest.h>

#include "export/export_file.h"
#include "sources/read_bounds.h"
#include "sources/source_words.h"
#include "sources/table/table_read.h"
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
  std::string columns;  // UTF-8
  int merged;
};

Read ReadList(std::string_view bytes) {
  MachineList list;
  const RenameRule rule;
  RowSink sink(list, rule, MacRule::Canonical);
  const TableRead read = ReadTextList(bytes, sink);
  Rows rows;
  for (int i = 0; i < list.count(); ++i)
    rows.push_back({std::string(list.cellText(i, kMachineNameColumn)), std::string(list.cellText(i, kMacColumn))});
  EXPECT_EQ(read.rows, list.count());
  return {rows, read.skippedLines, read.firstSkipped, GbkToUtf8(ColumnsWords(read.nameColumn, read.macColumn)),
          read.merged};
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

// As files write them, and as the list shows them.
const std::string kMac1 = "00-1A-2B-3C-4D-01", kMac2 = "00:1a:2b:3c:4d:02", kOut2 = "00-1A-2B-3C-4D-02";

struct Case {
  const char* what;
  std::string bytes;
  Rows rows;
  int skipped = 0;
  std::vector<int> firstSkipped = {};
  const char* columns = nullptr;  // the label's columns, when the case is about them
  int merged = 0;                 // records of events folded into a machine before them
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const Read read = ReadList(c.bytes);
    EXPECT_EQ(read.rows, c.rows) << c.what;
    EXPECT_EQ(read.skipped, c.skipped) << c.what;
    EXPECT_EQ(read.firstSkipped, c.firstSkipped) << c.what;
    if (c.columns != nullptr) {
      EXPECT_EQ(read.columns, c.columns) << c.what;
    }
    EXPECT_EQ(read.merged, c.merged) << c.what;
  }
}

TEST(TextList, Encodings) {
  Check({
      {"Unicode text: UTF-16 LE with tabs", Utf16(u"机器名\tMAC地址\r\n一楼01\t00-1A-2B-3C-4D-01\r\n"),
       {{G("一楼01"), kMac1}}},
      {"UTF-16 BE", Utf16(u"00:1a:2b:3c:4d:02 二楼 02\n", true), {{G("二楼 02"), kOut2}}},
      {"UTF-16 LE without its mark", Utf16(u"一楼01,00-1A-2B-3C-4D-01\r\n").substr(2), {{G("一楼01"), kMac1}}},
      {"UTF-16 without its mark, more Chinese than ASCII", Utf16(u"网吧一楼包间电竞区豪华机器名称\t001A2B3C4D01\n").substr(2),
       {{G("网吧一楼包间电竞区豪华机器名称"), kMac1}}},
      {"UTF-16 BE without its mark", Utf16(u"PC2\t00:1a:2b:3c:4d:02\n", true).substr(2), {{"PC2", kOut2}}},
      {"UTF-8 with its mark", "\xEF\xBB\xBFPC01,00-1A-2B-3C-4D-01", {{"PC01", kMac1}}},
      {"UTF-8 without a mark", "电竞区A05;00:1a:2b:3c:4d:02\n二楼;" + kMac1, {{G("电竞区A05"), kOut2}, {G("二楼"), kMac1}}},
      {"GBK as Excel saves CSV", G("机器名,MAC地址\r\n网吧13,00-1A-2B-3C-4D-01\r\n"), {{G("网吧13"), kMac1}}},
      {"bytes not UTF-8 are GBK", "PC\xB0\xA1," + kMac1, {{"PC\xB0\xA1", kMac1}}},
      {"a UTF-8 mark decides even for bad bytes", "\xEF\xBB\xBFPC\xB0\xA1," + kMac1, {{"", kMac1}}},
      {"four-byte UTF-8 reads as UTF-8; the emoji as Windows converts it",
       "PC\xF0\x9F\x98\x80," + kMac1 + "\nPC2," + kMac2, {{"PC??", kMac1}, {"PC2", kOut2}}},
      {"a UTF-16 surrogate pair, and a lone one", Utf16(u"\U0001F600,00-1A-2B-3C-4D-01\n\xD800,00:1a:2b:3c:4d:02"),
       {{"??", kMac1}, {"", kOut2}}},
      {"UTF-16 cut short: the half character breaks its field", Utf16(u"PC1,00-1A-2B-3C-4D-01\r\nPC2,00:1a:2b:3c:4d:02") + "X",
       {{"PC1", kMac1}}, 1, {2}},
      {"code page 936 to its edges: trail bytes 40 and FE, the euro sign 80", "\x81\x40\xFE\xFE\x80," + kMac1,
       {{"\x81\x40\xFE\xFE\x80", kMac1}}},
      {"GBK that is not code page 936 gives an empty name", "PC\x81," + kMac1 + "\nPC\xFF\xA1," + kMac2 + "\n\xB0\x7F," + kMac1,
       {{"", kMac1}, {"", kOut2}, {"", kMac1}}},
      {"a GBK name ends at a NUL", std::string("PC1\0x,", 6) + kMac1, {{"PC1", kMac1}}},
      {"so does a UTF-8 one", std::string("一楼\0x,", 9) + kMac1, {{G("一楼"), kMac1}}},
  });
}

TEST(TextList, FieldsAndQuotes) {
  Check({
      {"a tab wins over commas", "网吧,1\t" + kMac1, {{G("网吧,1"), kMac1}}},
      {"adjacent tabs are an empty cell", "PC1\t\t" + kMac1 + "\nPC2\t10.0.0.2\t" + kMac2, {{"PC1", kMac1}, {"PC2", kOut2}},
       0, {}, "机器名取自 第 1 列，MAC地址取自 第 3 列"},
      {"quoted separators and doubled quotes", "\"网吧,13\",\"" + kMac1 + "\"\n\"say \"\"hi\"\"\"," + kMac2,
       {{G("网吧,13"), kMac1}, {"say \"hi\"", kOut2}}},
      {"a quoted cell holding a line break is one record; the name keeps one line",
       "机器名,MAC\n\"一楼\r\n01\"," + kMac1 + "\nPC2," + kMac2, {{G("一楼 01"), kMac1}, {"PC2", kOut2}}},
      {"a quote never closed ends at its line", "PC1," + kMac1 + "\n\"PC2," + kMac2, {{"PC1", kMac1}}, 1, {2}},
      {"blanks trimmed around fields, kept inside quotes", "  PC1 ,  " + kMac1 + " \n \" PC 2 \" , " + kMac2,
       {{"PC1", kMac1}, {" PC 2 ", kOut2}}},
      {"inch marks are no quotes, and hold no line break", "27\" 显示器," + kMac1 + "\n24\" 显示器," + kMac2,
       {{G("27\" 显示器"), kMac1}, {G("24\" 显示器"), kOut2}}},
      {"a quote inside a field is a character; text after a closing quote stays",
       "12\" 显示器," + kMac1 + "\n\"PC\"2 ," + kMac2, {{G("12\" 显示器"), kMac1}, {"PC2", kOut2}}},
      {"a MAC and a space before a separator: a spreadsheet's line", kMac1 + " ,PC1\n" + kMac2 + " ,PC2",
       {{"PC1", kMac1}, {"PC2", kOut2}}},
      {"runs of blanks, the ideographic space among them", "PC1   " + kMac1 + "\n一楼　" + kMac2,
       {{"PC1", kMac1}, {G("一楼"), kOut2}}},
      {"GBK's ideographic space, not two halves of other characters",
       G("一楼　") + kMac1 + "\n" + G("啊、 ") + kMac2, {{G("一楼"), kMac1}, {G("啊、"), kOut2}}},
  });
}

// The columns are judged over the whole list: the MAC and the name never
// come from an address, a date, a number, a status or a zone.
TEST(TextList, ColumnsJudgedWhole) {
  const std::string m3 = "00e0.4c68.1003", m4 = "00E04C681004";
  Check({
      {"an IP address before the MAC", G("机器名,IP地址,MAC地址\nA区01,192.168.100.101,00-E0-4C-68-10-01\n"),
       {{G("A区01"), "00-E0-4C-68-10-01"}}, 0, {}, "机器名取自 机器名，MAC地址取自 MAC地址"},
      {"a time before the MAC", G("最后上机时间,座位,MAC\n2024-06-01 10:00,A01,") + kMac1 + "\n2024-06-02 11:00,A02," + kMac2,
       {{"A01", kMac1}, {"A02", kOut2}}},
      {"a title row and a row number above the list",
       G("星光网咖客户机清单,,,\n序号,区域名称,机器名称,MAC地址\n1,A区,A区01,") + kMac1 + G("\n2,A区,A区02,") + kMac2,
       {{G("A区01"), kMac1}, {G("A区02"), kOut2}}, 1, {1}, "机器名取自 机器名称，MAC地址取自 MAC地址"},
      {"PowerShell's #TYPE line above its header",
       "#TYPE Selected.System.Management.ManagementObject\n\"Index\",\"Name\",\"MACAddress\"\n\"1\",\"PC1\",\"" + kMac1 +
           "\"\n\"2\",\"PC2\",\"" + kMac2 + "\"",
       {{"PC1", kMac1}, {"PC2", kOut2}}, 1, {1}},
      {"two columns of MACs: the one its header calls MAC", G("机器名,交换机,网卡\nPC1,00-11-22-33-44-55,") + kMac1,
       {{"PC1", kMac1}}},
      {"a DHCP server's leases by PowerShell: the MAC is the client's id, the state no name",
       "#TYPE Microsoft.Management.Infrastructure.CimInstance#root/Microsoft/Windows/DHCP/DhcpServerv4Lease\n"
       "\"IPAddress\",\"ScopeId\",\"AddressState\",\"ClientId\",\"HostName\",\"LeaseExpiryTime\"\n"
       "\"192.168.1.11\",\"192.168.1.0\",\"Active\",\"00-1a-2b-3c-4d-01\",\"A01.cafe.lan\",\"2025/7/4 8:00:00\"\n"
       "\"192.168.1.12\",\"192.168.1.0\",\"Active\",\"00-1a-2b-3c-4d-02\",\"A02.cafe.lan\",\"2025/7/4 8:01:00\"",
       {{"A01.cafe.lan", kMac1}, {"A02.cafe.lan", kOut2}}, 1, {1}, "机器名取自 HostName，MAC地址取自 ClientId"},
      {"the DHCP console's exported list: bare MACs with letters under Unique ID",
       "Client IP Address\tName\tLease Expiration\tType\tUnique ID\tDescription\n"
       "192.168.1.11\tA01\t2025/7/4 8:00\tDHCP\t001a2b3c4d01\t\n192.168.1.12\tA02\t2025/7/4 8:01\tDHCP\t001a2b3c4d02\t\n",
       {{"A01", kMac1}, {"A02", kOut2}}},
      {"machine number before machine name", G("机器号,机器名,MAC\n1,一楼01,") + kMac1 + G("\n2,一楼02,") + kMac2,
       {{G("一楼01"), kMac1}, {G("一楼02"), kOut2}}},
      {"no header: a status word repeated and a time stamp are no names",
       "1717000000 " + kMac1 + " dynamic\n1717000300 " + kMac2 + " dynamic", {{"", kMac1}, {"", kOut2}}, 0, {},
       "没有机器名列，MAC地址取自 第 2 列"},
      {"001 to 003 named so are names", G("座位号,MAC\n001,") + kMac1 + "\n002," + kMac2 + "\n003," + m3,
       {{"001", kMac1}, {"002", kOut2}, {"003", "00-E0-4C-68-10-03"}}},
      {"MACs of every shape take one form", "PC3," + m3 + "\nPC4," + m4,
       {{"PC3", "00-E0-4C-68-10-03"}, {"PC4", "00-E0-4C-68-10-04"}}},
      {"twelve digits without a letter are no MACs without a header", "PC1,001122334455\nPC2,001122334466", {}, 2,
       {1, 2}},
      {"broadcast, multicast and zero addresses are no machines",
       "PC1," + kMac1 + "\nB,ff-ff-ff-ff-ff-ff\nM,01-00-5e-00-00-16\nZ,00-00-00-00-00-00\nPC2," + kMac2,
       {{"PC1", kMac1}, {"PC2", kOut2}}, 3, {2, 3, 4}},
  });
}

// Values decide; a header's words only rank the columns the values let
// through. Each row a shape that a tool writes.
TEST(TextList, ValuesDecide) {
  const std::string m3 = "00-1A-2B-3C-4D-03", m4 = "00-1A-2B-3C-4D-04";
  Check({
      {"PowerShell's neighbours: an address's word over the MAC does not keep it out",
       "IPAddress,LinkLayerAddress,State\n192.168.1.11," + kMac1 + ",Reachable\n192.168.1.12," + kMac2 + ",Stale",
       {{"", kMac1}, {"", kOut2}}, 0, {}, "没有机器名列，MAC地址取自 LinkLayerAddre…"},
      {"a placeholder or a vendor class is a gap in the names, the rest keep theirs",
       "MAC,Hostname\n" + kMac1 + ",A01\n" + kMac2 + ",*\n" + m3 + ",PXEClient:Arch:00000:UNDI:002001\n" + m4 +
           ",192.168.1.14\n00-1A-2B-3C-4D-05,A05\n00-1A-2B-3C-4D-06,MSFT 5.0\n00-1A-2B-3C-4D-07,A07",
       {{"A01", kMac1}, {"", kOut2}, {"", m3}, {"", m4}, {"A05", "00-1A-2B-3C-4D-05"}, {"", "00-1A-2B-3C-4D-06"},
        {"A07", "00-1A-2B-3C-4D-07"}}},
      {"a host's short name over its DNS name", "dNSHostName,cn,macAddress\na01.cafe.local,A01," + kMac1 +
           "\na02.cafe.local,A02," + kMac2,
       {{"A01", kMac1}, {"A02", kOut2}}, 0, {}, "机器名取自 cn，MAC地址取自 macAddress"},
      {"a directory's name is no name", "DN,macAddress\n\"CN=A01,OU=x,DC=cafe\"," + kMac1 + "\n\"CN=A02,OU=x,DC=cafe\"," + kMac2,
       {{"", kMac1}, {"", kOut2}}},
      {"a switch's table: its ports are no names", "Vlan,Mac Address,Type,Ports\n10,001a.2b3c.4d01,DYNAMIC,Gi1/0/1\n"
                                                  "10,001a.2b3c.4d02,DYNAMIC,Gi1/0/2",
       {{"", kMac1}, {"", kOut2}}, 0, {}, "没有机器名列，MAC地址取自 Mac Address"},
      {"a table of adapters: the spare ones without an address are no machines",
       "Node,Description,IPAddress,MACAddress\nA01,WAN Miniport (IP),,50:50:54:50:30:30\n"
       "A01,Realtek PCIe GbE Family Controller,{192.168.1.11;fe80::1}," + kMac1 + "\nA01,Intel(R) Wi-Fi 6 AX201,,70:9c:d1:00:00:01\n"
       "A02,WAN Miniport (IP),,50:50:54:50:30:30\nA02,Realtek PCIe GbE Family Controller,{192.168.1.12}," + kMac2,
       {{"A01", kMac1}, {"A02", kOut2}}, 3, {2, 4, 5}, "机器名取自 Node，MAC地址取自 MACAddress"},
      {"a record of events: the latest name; a MAC seen only in conflict is none",
       "ID,Date,Time,Description,IP Address,Host Name,MAC Address\n10,07/04/25,08:00:01,Assign,192.168.1.11,,001A2B3C4D01\n"
       "11,07/04/25,09:00:00,Renew,192.168.1.11,A01,001A2B3C4D01\n13,07/04/25,09:05:00,Conflict,192.168.1.12,,001A2B3C4D02\n"
       "10,07/04/25,09:10:00,Assign,192.168.1.13,A03,001A2B3C4D03",
       {{"A01", kMac1}, {"A03", m3}}, 1, {4}, "机器名取自 Host Name，MAC地址取自 MAC Address", 1},
      {"Kea's lease file: its states in numbers",
       "address,hwaddr,client_id,valid_lifetime,expire,subnet_id,hostname,state\n"
       "192.168.1.11,00:1a:2b:3c:4d:01,,4000,1751860000,1,,0\n192.168.1.11,00:1a:2b:3c:4d:01,,4000,1751864000,1,a01,0\n"
       "192.168.1.12,00:1a:2b:3c:4d:02,,4000,1751860100,1,a02,1\n"
       "192.168.1.13,00:1a:2b:3c:4d:03,,4000,1751860200,1,a03,0\n192.168.1.13,00:1a:2b:3c:4d:03,,4000,1751864200,1,,2",
       {{"a01", kMac1}, {"a03", m3}}, 1, {4}, nullptr, 2},
      {"client identifiers where no column holds MACs", "IP address,Client-ID,Lease expiration\n"
       "192.168.1.11,0100.1a2b.3c4d.01,Jul 04 2025 08:00 AM\n192.168.1.12,0100.1a2b.3c4d.02,Jul 04 2025 08:01 AM",
       {{"", kMac1}, {"", kOut2}}, 0, {}, "没有机器名列，MAC地址取自 Client-ID"},
      {"the hardware's own column where both are there; a client identifier only where the MAC is missing",
       "hw,client id,name\n" + kMac1 + ",01:00:1a:2b:3c:4d:09,A01\n?,01:00:1a:2b:3c:4d:02,A02\n,01:00:1a:2b:3c:4d:03,A03\n" +
           m4 + ",,A04\n00-1A-2B-3C-4D-05,,A05\n00-1A-2B-3C-4D-06,,A06\n00-1A-2B-3C-4D-07,,A07\n00-1A-2B-3C-4D-08,,A08\n"
           "00-1A-2B-3C-4D-09,,A09\n00-1A-2B-3C-4D-0A,,A10\n00-1A-2B-3C-4D-0B,,A11",
       {{"A01", kMac1}, {"A03", m3}, {"A04", m4}, {"A05", "00-1A-2B-3C-4D-05"}, {"A06", "00-1A-2B-3C-4D-06"},
        {"A07", "00-1A-2B-3C-4D-07"}, {"A08", "00-1A-2B-3C-4D-08"}, {"A09", "00-1A-2B-3C-4D-09"},
        {"A10", "00-1A-2B-3C-4D-0A"}, {"A11", "00-1A-2B-3C-4D-0B"}}, 1, {3}},
  });
}

TEST(TextList, NamesAndHeaders) {
  Check({
      {"router leases: the IPv4 address is no name", "192.168.1.23  00:1a:2b:3c:4d:02  PC23\n192.168.1.24  " + kMac1 + "  PC24",
       {{"PC23", kOut2}, {"PC24", kMac1}}},
      {"a line starting with the MAC: the rest is the name", kMac1 + "  网吧 13  号  \n" + kMac2 + " PC2",
       {{G("网吧 13  号"), kMac1}, {"PC2", kOut2}}},
      {"the header names the column", "\n \nIP,MAC,备注,计算机名\n10.0.0.1," + kMac1 + ",二楼,PC1\n10.0.0.2," + kMac2 + ",,PC2",
       {{"PC1", kMac1}, {"PC2", kOut2}}},
      {"GBK header", G("序号\t物理地址\t终端\r\n1\t") + kMac1 + G("\t一楼01"), {{G("一楼01"), kMac1}}},
      {"a name word in the MAC's header loses to a plain one", "备注,主机MAC,主机名\n一楼," + kMac1 + ",PC1",
       {{"PC1", kMac1}}},
      {"the header among the first lines", "合计 2 台\n机器名,MAC\nPC1," + kMac1 + "\nPC2," + kMac2,
       {{"PC1", kMac1}, {"PC2", kOut2}}, 1, {1}},
      {"a first line with a MAC is a machine", "PC1," + kMac1 + "\nname," + kMac2, {{"PC1", kMac1}, {"name", kOut2}}},
  });
}

TEST(TextList, LinesSkippedAndCounted) {
  Check({
      {"CR LF, LF and CR; LF CR is two breaks", "a\r\n" + kMac1 + "\nb\rc\n\r\td\n" + kMac2,
       {{"", kMac1}, {"", kOut2}}, 4, {1, 3, 4}},
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
  RowSink sink(list, rule, MacRule::Canonical);
  EXPECT_EQ(ReadTextList("机器名,MAC\n合计 0\n", sink).skippedLines, 2);
  EXPECT_EQ(list.count(), 1);
}

// A record of as many cells as a record may hold reaches the judge; one
// cell more, by count or by column, refuses the file with that bound,
// whatever the layout lets through.
TEST(TableRead, CellsOfARecordBoundedExactly) {
  class WideRecords final : public TableLayout {
   public:
    WideRecords(std::size_t cells, std::size_t lastColumn) : cells_(cells), lastColumn_(lastColumn) {}
    LayoutEnd forEachRecord(RecordVisitor& visitor) override {
      for (int record = 1; record <= 2; ++record) {
        visitor.cell(0, "00-1A-2B-3C-4D-0" + std::to_string(record));
        for (std::size_t column = 1; column + 1 < cells_; ++column) visitor.cell(static_cast<int>(column), "");
        visitor.cell(static_cast<int>(lastColumn_), "x");
        if (!visitor.endRecord(record)) return {LayoutEnd::How::Stopped};
      }
      return {};
    }
    bool namesColumns() const override { return true; }
    RecordKind kind() const override { return RecordKind::List; }
    std::string_view wordsUtf8() const override { return "test"; }

   private:
    std::size_t cells_, lastColumn_;
  };
  const struct {
    std::size_t cells, lastColumn;
    TableRead::Outcome outcome;
  } cases[] = {
      {kMaxRecordCells, kMaxRecordCells - 1, TableRead::Outcome::Loaded},
      {kMaxRecordCells + 1, kMaxRecordCells - 1, TableRead::Outcome::TooLarge},  // a column given twice
      {kMaxRecordCells, kMaxRecordCells, TableRead::Outcome::TooLarge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cells);
    MachineList list;
    const RenameRule rule;
    RowSink sink(list, rule, MacRule::Canonical);
    WideRecords layout(c.cells, c.lastColumn);
    const TableRead read = ReadTable(layout, sink);
    EXPECT_EQ(read.outcome, c.outcome);
    if (c.outcome == TableRead::Outcome::TooLarge) {
      EXPECT_EQ(read.bound, Bound::RecordCells);
    }
  }
}

// Our own export, written by the export itself, reads back to the same MACs
// and names.
TEST(TextList, ExportReadsBack) {
  test::TempFolder dir;
  MachineList exported;
  const Rows machines{{G("网吧-一楼01"), kMac1}, {"WB  02,x;\t\"y", kOut2}, {"\"PC\"3", "00-1A-2B-3C-4D-03"},
                      {"PC4", "00-1A-2B-3C-4D-04"}};
  for (const Row& row : machines) exported.append("old", row.name, row.mac);
  ASSERT_TRUE(WriteExportLines(test::PathOf(dir / "export.txt"), exported).complete);
  EXPECT_EQ(ReadList(*test::ReadBytes(dir / "export.txt")).rows, machines);
}

// Lines of any length up to the bound read in time linear in their bytes (a
// quadratic scan of a megabyte would not end within the test's time); a
// longer one is refused before it is split.
TEST(TextList, LongLines) {
  const std::size_t length = kMaxRecordBytes - 64;
  // One machine, or, where the line splits into more cells than a record
  // may hold, a refusal that says so.
  const auto readsInTime = [](const std::string& bytes) {
    MachineList list;
    const RenameRule rule;
    RowSink sink(list, rule, MacRule::Canonical);
    const TableRead read = ReadTextList(bytes, sink);
    return read.outcome == TableRead::Outcome::TooLarge ? read.bound == Bound::RecordCells : list.count() == 1;
  };
  for (const std::string piece : {",", "\"", "\"\",", " ", "\xA1", "\xB0\xA1\xA1\xA1  ", "a;\t"}) {
    std::string line;
    while (line.size() < length) line += piece;
    EXPECT_TRUE(readsInTime(line + "\t" + kMac1)) << piece;
    EXPECT_TRUE(readsInTime(kMac1 + " " + line)) << piece;
  }
  EXPECT_EQ(ReadList(std::string(length, '\r') + kMac1).firstSkipped, std::vector<int>{});
  EXPECT_EQ(ReadList(Utf16(std::u16string(length / 3, u'，') + u"\n")).skipped, 1);
  MachineList list;
  const RenameRule rule;
  RowSink sink(list, rule, MacRule::Canonical);
  const TableRead past = ReadTextList(kMac1 + "\n" + std::string(kMaxRecordBytes + 1, 'x') + "\n", sink);
  EXPECT_EQ(past.outcome, TableRead::Outcome::TooLarge);
  EXPECT_EQ(past.bound, Bound::RecordBytes);
  EXPECT_EQ(list.count(), 0);
}

}  // namespace
}  // namespace venbrook
