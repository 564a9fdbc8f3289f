#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "commands/load_database.h"
#include "model/text_codec.h"
#include "platform/utf16.h"
#include "sources/read_bounds.h"
#include "sources/structured/json_layout.h"
#include "sources/structured/xml_layout.h"
#include "support/fake_window.h"
#include "support/layout_records.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using test::LayoutRecord;
using How = LayoutEnd::How;
using Records = std::vector<LayoutRecord>;
using Texts = std::vector<std::string>;

const std::string kMac1 = "00-E0-4C-68-10-01", kMac2 = "00-E0-4C-68-10-02";

struct Case {
  const char* what;
  std::string text;  // as the tool writes it, after the file's decoding to UTF-8
  Records records;   // what the layout hands over
  RecordKind kind = RecordKind::List;
  std::string words;
  How how = How::Done;
  // Loaded as the window loads the file (written as UTF-16 LE with its
  // mark, as PowerShell 5 writes, when `utf16`): the list's names and MACs,
  // and the source label (UTF-8).
  Texts names = {}, macs = {};
  std::string label = {};
  bool utf16 = false;
};

// The records one to a line, for a readable difference.
std::string Described(const Records& records) {
  std::string text;
  for (const LayoutRecord& record : records) {
    text += std::to_string(record.line) + ":";
    for (const auto& [name, value] : record.cells) text += " [" + name + "]=" + value;
    text += "\n";
  }
  return text;
}

// Counts nothing: for the end of a walk alone.
class NoVisitor final : public RecordVisitor {
 public:
  void cell(int, std::string_view) override {}
  bool endRecord(int) override { return true; }
};

class StructuredFiles : public testing::Test {
 protected:
  void check(const Case& c, std::unique_ptr<TableLayout> (*make)(std::string_view)) {
    SCOPED_TRACE(c.what);
    const std::unique_ptr<TableLayout> layout = make(c.text);
    const test::LayoutRecords first = test::RecordsOf(*layout);
    EXPECT_EQ(first.how, c.how);
    EXPECT_EQ(Described(first.records), Described(c.records));
    if (c.how == How::Done && !c.records.empty()) {
      EXPECT_EQ(layout->kind(), c.kind);
      EXPECT_EQ(layout->wordsUtf8(), c.words);
    }
    // The second walk hands over the same records under the same names.
    const test::LayoutRecords second = test::RecordsOf(*layout);
    EXPECT_EQ(second.how, first.how);
    EXPECT_TRUE(second.records == first.records);

    test::WriteBytes(dir / "file", c.utf16 ? test::Utf16File(Utf8ToUtf16(c.text)) : c.text);
    list.clear();
    window.typePath(test::PathOf(dir / "file"));
    LoadDatabase(connection, list, window);
    Texts names, macs;
    for (int i = 0; i < list.count(); ++i) {
      names.push_back(GbkToUtf8(list.cellText(i, kMachineNameColumn)));
      macs.push_back(GbkToUtf8(list.cellText(i, kMacColumn)));
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(macs, c.macs);
    EXPECT_EQ(GbkToUtf8(window.source), c.label);
  }

  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
};

// Each file as its tool writes it: its records, and the machines it loads.
TEST_F(StructuredFiles, JsonShapes) {
  const std::string psLease =
      "    {\r\n        \"IPAddress\":  {\r\n                          \"Address\":  1694607552,\r\n"
      "                          \"IPAddressToString\":  \"192.168.1.10%d\"\r\n                      },\r\n"
      "        \"ClientId\":  \"00-e0-4c-68-10-0%d\",\r\n        \"HostName\":  \"PC0%d.cafe.local\",\r\n"
      "        \"AddressState\":  \"%s\",\r\n        \"LeaseExpiryTime\":  \"\\/Date(1717084800000)\\/\",\r\n"
      "        \"PSComputerName\":  null,\r\n        \"CimInstanceProperties\":  [\r\n"
      "                                      \"AddressState = \\\"%s\\\"\"\r\n"
      "                                  ]\r\n    }";
  const auto lease = [&](int n, const char* state) {
    char text[1024];
    std::snprintf(text, sizeof text, psLease.c_str(), n, n, n, state, state);
    return std::string(text);
  };
  const auto psRecord = [](int n, const char* state, int line) {
    const std::string i = std::to_string(n);
    return LayoutRecord{{{"IPAddress.Address", "1694607552"}, {"IPAddress.IPAddressToString", "192.168.1.10" + i},
                         {"ClientId", "00-e0-4c-68-10-0" + i}, {"HostName", "PC0" + i + ".cafe.local"},
                         {"AddressState", state}, {"LeaseExpiryTime", "/Date(1717084800000)/"},
                         {"CimInstanceProperties", std::string("AddressState = \"") + state + "\""}},
                        line};
  };
  const std::vector<Case> cases = {
      {"UniFi controller, stat/sta: clients in `data`, beside `meta`; a wired client's switch, a wireless one's AP",
       R"({"meta":{"rc":"ok"},"data":[{"_id":"5f1a","mac":"00:e0:4c:68:10:01","is_wired":true,)"
       R"("sw_mac":"f0:9f:c2:00:00:01","hostname":"PC01","ip":"192.168.1.101","first_seen":1717000000,)"
       R"("last_seen":1717003600,"name":"一楼01"},{"_id":"5f1b","mac":"00:e0:4c:68:10:02","is_wired":false,)"
       R"("ap_mac":"f0:9f:c2:00:00:02","ip":"192.168.1.102","last_seen":1717003500,"name":"一楼02"}]})",
       {{{{"_id", "5f1a"}, {"mac", "00:e0:4c:68:10:01"}, {"is_wired", "true"}, {"sw_mac", "f0:9f:c2:00:00:01"},
          {"hostname", "PC01"}, {"ip", "192.168.1.101"}, {"first_seen", "1717000000"}, {"last_seen", "1717003600"},
          {"name", "一楼01"}}, 1},
        {{{"_id", "5f1b"}, {"mac", "00:e0:4c:68:10:02"}, {"is_wired", "false"}, {"ap_mac", "f0:9f:c2:00:00:02"},
          {"ip", "192.168.1.102"}, {"last_seen", "1717003500"}, {"name", "一楼02"}}, 1}},
       RecordKind::Events, "JSON 文件", How::Done, {"PC01", "一楼02"}, {kMac1, kMac2},
       "来源：JSON 文件，机器名取自 hostname/name，MAC地址取自 mac，读入 2 台"},
      {"MikroTik REST, /rest/ip/dhcp-server/lease: a bare array; the operator's comment names the lease, "
       "before its host-name or after it",
       "[{\".id\":\"*1\",\"address\":\"192.168.88.11\",\"mac-address\":\"00:E0:4C:68:10:01\",\"host-name\":\"PC01\","
       "\"comment\":\"一楼\",\"comment\":\"重复\",\"status\":\"bound\",\"last-seen\":\"2m5s\",\"dynamic\":\"true\"},\n"
       " {\".id\":\"*2\",\"address\":\"192.168.88.12\",\"mac-address\":\"00:E0:4C:68:10:02\",\"status\":\"waiting\","
       "\"comment\":\"二楼\",\"host-name\":\"PC02\"}]",
       {{{{".id", "*1"}, {"address", "192.168.88.11"}, {"mac-address", "00:E0:4C:68:10:01"}, {"status", "bound"},
          {"last-seen", "2m5s"}, {"dynamic", "true"}, {"host-name", "一楼"}}, 1},
        {{{".id", "*2"}, {"address", "192.168.88.12"}, {"mac-address", "00:E0:4C:68:10:02"}, {"status", "waiting"},
          {"host-name", "二楼"}}, 2}},
       RecordKind::Events, "JSON 文件", How::Done, {"一楼", "二楼"}, {kMac1, kMac2},
       "来源：JSON 文件，机器名取自 host-name，MAC地址取自 mac-address，读入 2 台"},
      {"OpenWrt luci-rpc getDHCPLeases over JSON-RPC: the IPv4 leases before the IPv6 ones",
       R"({"jsonrpc":"2.0","id":1,"result":[0,{"dhcp_leases":[{"expires":43105,"hostname":"PC01",)"
       R"("macaddr":"00:E0:4C:68:10:01","ipaddr":"192.168.1.101"},{"expires":0,"macaddr":"00:E0:4C:68:10:02",)"
       R"("ipaddr":"192.168.1.102"}],"dhcp6_leases":[{"expires":43105,"hostname":"PC01",)"
       R"("duid":"000100012c5e1a2b00e04c681001","ip6addr":"fd00::b1","ip6addrs":["fd00::b1/128"],)"
       R"("macaddr":"00:E0:4C:68:10:01"}]}]})",
       {{{{"expires", "43105"}, {"hostname", "PC01"}, {"macaddr", "00:E0:4C:68:10:01"}, {"ipaddr", "192.168.1.101"}}, 1},
        {{{"expires", "0"}, {"macaddr", "00:E0:4C:68:10:02"}, {"ipaddr", "192.168.1.102"}}, 1}},
       RecordKind::Events, "JSON 文件", How::Done, {"PC01", ""}, {kMac1, kMac2},
       "来源：JSON 文件，机器名取自 hostname，MAC地址取自 macaddr，读入 2 台"},
      {"Kea lease4-get-all through its control agent: the answer wrapped in an array; an expired lease",
       "[\n  {\n    \"arguments\": {\n      \"leases\": [\n        {\n          \"cltt\": 1717000000,\n"
       "          \"fqdn-fwd\": false,\n          \"hostname\": \"pc01.cafe.lan.\",\n"
       "          \"hw-address\": \"00:e0:4c:68:10:01\",\n          \"ip-address\": \"192.168.1.101\",\n"
       "          \"state\": 0,\n          \"valid-lft\": 3600\n        },\n        {\n"
       "          \"client-id\": \"01:00:e0:4c:68:10:02\",\n          \"hostname\": \"\",\n"
       "          \"hw-address\": \"00:e0:4c:68:10:02\",\n          \"state\": 2\n        }\n      ]\n    },\n"
       "    \"result\": 0,\n    \"text\": \"2 IPv4 lease(s) found.\"\n  }\n]\n",
       {{{{"cltt", "1717000000"}, {"fqdn-fwd", "false"}, {"hostname", "pc01.cafe.lan."},
          {"hw-address", "00:e0:4c:68:10:01"}, {"ip-address", "192.168.1.101"}, {"state", "0"}, {"valid-lft", "3600"}}, 5},
        {{{"client-id", "01:00:e0:4c:68:10:02"}, {"hw-address", "00:e0:4c:68:10:02"}, {"state", "2"}}, 14}},
       RecordKind::Events, "JSON 文件", How::Done, {"pc01.cafe.lan."}, {kMac1},
       "来源：JSON 文件，机器名取自 hostname，MAC地址取自 hw-address，读入 1 台，跳过 1 行（第 14 行）"},
      {"Kea configuration: reservations in each subnet, comments of its three kinds, one reservation commented out",
       "// kea-dhcp4.conf\n{\n  \"Dhcp4\": {\n    \"interfaces-config\": { \"interfaces\": [ \"eth0\" ] },\n"
       "    # \"next-server\": \"192.168.1.2\",\n"
       "    /* the two floors */\n    \"subnet4\": [\n      {\n        \"id\": 1,\n        \"subnet\": \"192.168.1.0/24\",\n"
       "        \"pools\": [ { \"pool\": \"192.168.1.100 - 192.168.1.200\" } ],\n        \"reservations\": [\n"
       "          # { \"hw-address\": \"00:e0:4c:68:10:09\", \"hostname\": \"OLD\" },\n"
       "          { \"hw-address\": \"00:e0:4c:68:10:01\", \"ip-address\": \"192.168.1.11\", \"hostname\": \"PC01\" }\n"
       "        ]\n      },\n      {\n        \"id\": 2,\n        \"subnet\": \"192.168.2.0/24\",\n"
       "        \"reservations\": [\n"
       "          { \"hw-address\": \"00:e0:4c:68:20:01\", \"ip-address\": \"192.168.2.11\", \"hostname\": \"PC21\" }\n"
       "        ]\n      }\n    ]\n  }\n}\n",
       {{{{"hw-address", "00:e0:4c:68:10:01"}, {"ip-address", "192.168.1.11"}, {"hostname", "PC01"}}, 14},
        {{{"hw-address", "00:e0:4c:68:20:01"}, {"ip-address", "192.168.2.11"}, {"hostname", "PC21"}}, 21}},
       RecordKind::List, "JSON 文件", How::Done, {"PC01", "PC21"}, {kMac1, "00-E0-4C-68-20-01"},
       "来源：JSON 文件，机器名取自 hostname，MAC地址取自 hw-address，读入 2 台"},
      {"Get-DhcpServerv4Lease | ConvertTo-Json > leases.json in PowerShell 5: UTF-16, nested objects flattened, "
       "arrays give their first",
       "[\r\n" + lease(1, "Active") + ",\r\n" + lease(2, "Active") + ",\r\n" + lease(3, "Expired") + "\r\n]\r\n",
       {psRecord(1, "Active", 2), psRecord(2, "Active", 16), psRecord(3, "Expired", 30)},
       RecordKind::Events, "JSON 文件", How::Done, {"PC01.cafe.local", "PC02.cafe.local"}, {kMac1, kMac2},
       "来源：JSON 文件，机器名取自 HostName，MAC地址取自 ClientId，读入 2 台，跳过 1 行（第 30 行）", true},
      {"Get-DhcpServerv4Reservation | ConvertTo-Json of one reservation: the object itself",
       "{\n    \"IPAddress\":  {\n                      \"IPAddressToString\":  \"192.168.1.11\"\n                  },\n"
       "    \"ClientId\":  \"00-e0-4c-68-10-01\",\n    \"Name\":  \"PC01\",\n    \"Type\":  \"Both\",\n"
       "    \"Description\":  \"\"\n}\n",
       {{{{"IPAddress.IPAddressToString", "192.168.1.11"}, {"ClientId", "00-e0-4c-68-10-01"}, {"Name", "PC01"},
          {"Type", "Both"}}, 1}},
       RecordKind::List, "JSON 文件", How::Done, {"PC01"}, {kMac1},
       "来源：JSON 文件，机器名取自 Name，MAC地址取自 ClientId，读入 1 台"},
      {"ip -json neigh: a neighbour's state as an array of one word, a MAC seen twice",
       R"([{"dst":"192.168.1.101","dev":"eth0","lladdr":"00:e0:4c:68:10:01","state":["REACHABLE"]},)"
       R"({"dst":"fe80::2e0:4cff:fe68:1001","dev":"eth0","lladdr":"00:e0:4c:68:10:01","router":null,"state":["STALE"]}])",
       {{{{"dst", "192.168.1.101"}, {"dev", "eth0"}, {"lladdr", "00:e0:4c:68:10:01"}, {"state", "REACHABLE"}}, 1},
        {{{"dst", "fe80::2e0:4cff:fe68:1001"}, {"dev", "eth0"}, {"lladdr", "00:e0:4c:68:10:01"}, {"state", "STALE"}}, 1}},
       RecordKind::Events, "JSON 文件", How::Done, {""}, {kMac1},
       "来源：JSON 文件，没有机器名列，MAC地址取自 lladdr，读入 1 台，合并重复记录 1 条"},
      {"Zeek's dhcp.log as JSON Lines: one object a line, the first without a MAC",
       "{\"ts\":1716999999.0,\"uids\":[\"C0\"],\"msg_types\":[\"INFORM\",\"ACK\"]}\n"
       "{\"ts\":1717000000.1,\"uids\":[\"C1\",\"C2\"],\"client_addr\":\"192.168.1.101\",\"mac\":\"00:e0:4c:68:10:01\","
       "\"host_name\":\"PC01\",\"lease_time\":86400.0}\n"
       "{\"ts\":1717000100.5,\"mac\":\"00:e0:4c:68:10:02\",\"host_name\":\"PC02\",\"lease_time\":86400.0}\n",
       {{{{"ts", "1716999999.0"}, {"uids", "C0"}, {"msg_types", "INFORM"}}, 1},
        {{{"ts", "1717000000.1"}, {"uids", "C1"}, {"client_addr", "192.168.1.101"}, {"mac", "00:e0:4c:68:10:01"},
          {"host_name", "PC01"}, {"lease_time", "86400.0"}}, 2},
        {{{"ts", "1717000100.5"}, {"mac", "00:e0:4c:68:10:02"}, {"host_name", "PC02"}, {"lease_time", "86400.0"}}, 3}},
       RecordKind::Events, "JSON 文件", How::Done, {"PC01", "PC02"}, {kMac1, kMac2},
       "来源：JSON 文件，机器名取自 host_name，MAC地址取自 mac，读入 2 台，跳过 1 行（第 1 行）"},
      {"a device holding its ports: the device is the record, its ports no cells",
       R"({"data":[{"mac":"00:e0:4c:68:10:01","name":"SW1","port_table":[{"mac":"00:e0:4c:68:10:09","port_idx":1}]}]})",
       {{{{"mac", "00:e0:4c:68:10:01"}, {"name", "SW1"}}, 1}},
       RecordKind::List, "JSON 文件", How::Done, {"SW1"}, {kMac1},
       "来源：JSON 文件，机器名取自 name，MAC地址取自 mac，读入 1 台"},
      {"an inventory giving each host's adapters: the first is the host's, written as short as it comes",
       R"({"hosts":[{"name":"PC01","macs":["0:e0:4c:68:10:1","00:e0:4c:68:10:09"]},)"
       R"({"name":"PC02","macs":["0:e0:4c:68:10:2"]}]})",
       {{{{"name", "PC01"}, {"macs", "0:e0:4c:68:10:1"}}, 1}, {{{"name", "PC02"}, {"macs", "0:e0:4c:68:10:2"}}, 1}},
       RecordKind::List, "JSON 文件", How::Done, {"PC01", "PC02"}, {kMac1, kMac2},
       "来源：JSON 文件，机器名取自 name，MAC地址取自 macs，读入 2 台"},
      {"a neighbour table of one MAC with every byte a single digit, the shortest a MAC is written",
       R"([{"dst":"10.0.0.1","lladdr":"0:e:4:6:1:1","state":"REACHABLE"}])",
       {{{{"dst", "10.0.0.1"}, {"lladdr", "0:e:4:6:1:1"}, {"state", "REACHABLE"}}, 1}},
       RecordKind::Events, "JSON 文件", How::Done, {""}, {"00-0E-04-06-01-01"},
       "来源：JSON 文件，没有机器名列，MAC地址取自 lladdr，读入 1 台"},
      {"objects without a MAC: no table", R"([{"name":"PC01","ip":"192.168.1.101"}])", {}, {}, {}, How::Done, {}, {},
       "未载入：file 里没有找到机器列表"},
      {"cut short in its second record: the first is handed over, then the damage",
       "[{\"mac\":\"00:e0:4c:68:10:01\"},\n{\"mac\":\"00:e0:4c:68", {{{{"mac", "00:e0:4c:68:10:01"}}, 1}}, {}, {},
       How::Damaged, {}, {}, "未载入：file 读取中途出错"},
  };
  for (const Case& c : cases) check(c, MakeJsonLayout);
}

TEST_F(StructuredFiles, XmlShapes) {
  std::string sheet =
      "<?xml version=\"1.0\"?>\n<?mso-application progid=\"Excel.Sheet\"?>\n"
      "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
      "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n <Worksheet ss:Name=\"Sheet1\">\n  <Table>\n"
      "   <Row><Cell><Data ss:Type=\"String\">机器名</Data></Cell><Cell><Data ss:Type=\"String\">MAC</Data></Cell></Row>\n";
  Records sheetRecords = {{{{"Cell.Data[String]", "机器名"}, {"Cell#2.Data[String]", "MAC"}}, 6}};
  Texts sheetNames, sheetMacs;
  for (int n = 1; n <= 9; ++n) {
    const std::string name = "PC0" + std::to_string(n), mac = "00-E0-4C-68-10-0" + std::to_string(n);
    sheet += "   <Row><Cell><Data ss:Type=\"String\">" + name + "</Data></Cell><Cell><Data ss:Type=\"String\">" + mac +
             "</Data></Cell></Row>\n";
    sheetRecords.push_back({{{"Cell.Data[String]", name}, {"Cell#2.Data[String]", mac}}, 6 + n});
    sheetNames.push_back(name);
    sheetMacs.push_back(mac);
  }
  sheet += "  </Table>\n </Worksheet>\n</Workbook>\n";
  const std::vector<Case> cases = {
      {"nmap -v -oX: hosts after a hint for each, addresses told apart by their type",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE nmaprun>\n"
       "<?xml-stylesheet href=\"file:///usr/bin/../share/nmap/nmap.xsl\" type=\"text/xsl\"?>\n"
       "<nmaprun scanner=\"nmap\" args=\"nmap -v -sn -oX scan.xml 192.168.1.0/24\" start=\"1717380000\">\n"
       "<hosthint><status state=\"up\" reason=\"arp-response\"/>\n<address addr=\"192.168.1.11\" addrtype=\"ipv4\"/>\n"
       "<address addr=\"00:E0:4C:68:10:01\" addrtype=\"mac\" vendor=\"Realtek Semiconductor\"/>\n</hosthint>\n"
       "<hosthint><status state=\"up\" reason=\"arp-response\"/><address addr=\"192.168.1.12\" addrtype=\"ipv4\"/>"
       "<address addr=\"00:E0:4C:68:10:02\" addrtype=\"mac\"/></hosthint>\n"
       "<host><status state=\"up\" reason=\"arp-response\"/>\n<address addr=\"192.168.1.11\" addrtype=\"ipv4\"/>\n"
       "<address addr=\"00:E0:4C:68:10:01\" addrtype=\"mac\" vendor=\"Realtek Semiconductor\"/>\n"
       "<hostnames>\n<hostname name=\"pc01.cafe.lan\" type=\"PTR\"/>\n</hostnames>\n</host>\n"
       "<host><status state=\"up\" reason=\"arp-response\"/>\n<address addr=\"192.168.1.12\" addrtype=\"ipv4\"/>\n"
       "<address addr=\"00:E0:4C:68:10:02\" addrtype=\"mac\"/>\n<hostnames>\n<hostname name=\"pc02\" type=\"user\"/>\n"
       "<hostname name=\"pc02.cafe.lan\" type=\"PTR\"/>\n</hostnames>\n</host>\n"
       "<runstats><hosts up=\"2\" down=\"254\" total=\"256\"/></runstats>\n</nmaprun>\n",
       {{{{"status.state", "up"}, {"status.reason", "arp-response"}, {"address[ipv4].addr", "192.168.1.11"},
          {"address[mac].addr", "00:E0:4C:68:10:01"}, {"address[mac].vendor", "Realtek Semiconductor"},
          {"hostnames.hostname[PTR].name", "pc01.cafe.lan"}}, 10},
        {{{"status.state", "up"}, {"status.reason", "arp-response"}, {"address[ipv4].addr", "192.168.1.12"},
          {"address[mac].addr", "00:E0:4C:68:10:02"}, {"hostnames.hostname[user].name", "pc02"},
          {"hostnames.hostname[PTR].name", "pc02.cafe.lan"}}, 17}},
       RecordKind::Events, "nmap 扫描结果", How::Done, {"pc01.cafe.lan", "pc02.cafe.lan"}, {kMac1, kMac2},
       "来源：nmap 扫描结果，机器名取自 hostnames.host…，MAC地址取自 address[mac].a…，读入 2 台"},
      {"pfSense config.xml: static maps of two interfaces, a description in CDATA, two DNS servers",
       "<?xml version=\"1.0\"?>\n<pfsense>\n\t<version>22.9</version>\n\t<dhcpd>\n\t\t<lan>\n"
       "\t\t\t<range><from>192.168.1.100</from><to>192.168.1.199</to></range>\n"
       "\t\t\t<staticmap>\n\t\t\t\t<mac>00:e0:4c:68:10:01</mac>\n\t\t\t\t<cid></cid>\n"
       "\t\t\t\t<ipaddr>192.168.1.11</ipaddr>\n\t\t\t\t<hostname>PC01</hostname>\n"
       "\t\t\t\t<descr><![CDATA[一楼 01]]></descr>\n\t\t\t\t<dnsserver>192.168.1.1</dnsserver>\n"
       "\t\t\t\t<dnsserver>8.8.8.8</dnsserver>\n\t\t\t</staticmap>\n"
       "\t\t\t<staticmap>\n\t\t\t\t<mac>00:e0:4c:68:10:02</mac>\n\t\t\t\t<ipaddr>192.168.1.12</ipaddr>\n"
       "\t\t\t\t<hostname>PC02</hostname>\n\t\t\t</staticmap>\n\t\t</lan>\n\t\t<opt1>\n"
       "\t\t\t<staticmap><mac>00:e0:4c:68:20:01</mac><hostname>PC21</hostname></staticmap>\n"
       "\t\t</opt1>\n\t</dhcpd>\n</pfsense>\n",
       {{{{"mac", "00:e0:4c:68:10:01"}, {"ipaddr", "192.168.1.11"}, {"hostname", "PC01"}, {"descr", "一楼 01"},
          {"dnsserver", "192.168.1.1"}, {"dnsserver#2", "8.8.8.8"}}, 7},
        {{{"mac", "00:e0:4c:68:10:02"}, {"ipaddr", "192.168.1.12"}, {"hostname", "PC02"}}, 16},
        {{{"mac", "00:e0:4c:68:20:01"}, {"hostname", "PC21"}}, 23}},
       RecordKind::List, "pfSense 配置文件", How::Done, {"PC01", "PC02", "PC21"}, {kMac1, kMac2, "00-E0-4C-68-20-01"},
       "来源：pfSense 配置文件，机器名取自 hostname，MAC地址取自 mac，读入 3 台"},
      {"pfSense config.xml with one static map: the element around its MAC",
       "<?xml version=\"1.0\"?>\n<pfsense><dhcpd><lan><staticmap><mac>00:e0:4c:68:10:01</mac>"
       "<hostname>PC01</hostname></staticmap></lan></dhcpd></pfsense>\n",
       {{{{"mac", "00:e0:4c:68:10:01"}, {"hostname", "PC01"}}, 2}}, RecordKind::List, "pfSense 配置文件", How::Done,
       {"PC01"}, {kMac1}, "来源：pfSense 配置文件，机器名取自 hostname，MAC地址取自 mac，读入 1 台"},
      {"Export-DhcpServer: reservations of a scope, written as the UTF-16 its declaration names",
       "<?xml version=\"1.0\" encoding=\"utf-16\"?>\n<DHCPServer xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\n"
       "  <MajorVersion>6</MajorVersion>\n  <IPv4>\n    <Scopes>\n      <Scope>\n        <ScopeId>192.168.1.0</ScopeId>\n"
       "        <State>Active</State>\n        <Reservations>\n          <Reservation>\n"
       "            <Name>PC01.cafe.local</Name>\n            <IPAddress>192.168.1.11</IPAddress>\n"
       "            <ClientId>00-e0-4c-68-10-01</ClientId>\n            <Type>Both</Type>\n"
       "            <Description>一楼</Description>\n          </Reservation>\n          <Reservation>\n"
       "            <Name>PC02.cafe.local</Name>\n            <IPAddress>192.168.1.12</IPAddress>\n"
       "            <ClientId>00-e0-4c-68-10-02</ClientId>\n            <Type>Dhcp</Type>\n"
       "          </Reservation>\n        </Reservations>\n      </Scope>\n    </Scopes>\n  </IPv4>\n</DHCPServer>\n",
       {{{{"Name", "PC01.cafe.local"}, {"IPAddress", "192.168.1.11"}, {"ClientId", "00-e0-4c-68-10-01"},
          {"Type", "Both"}, {"Description", "一楼"}}, 10},
        {{{"Name", "PC02.cafe.local"}, {"IPAddress", "192.168.1.12"}, {"ClientId", "00-e0-4c-68-10-02"},
          {"Type", "Dhcp"}}, 17}},
       RecordKind::List, "Windows DHCP 服务器导出", How::Done, {"PC01.cafe.local", "PC02.cafe.local"}, {kMac1, kMac2},
       "来源：Windows DHCP 服务器导出，机器名取自 Name，MAC地址取自 ClientId，读入 2 台", true},
      {"Angry IP Scanner's XML export: each result named by its attribute; a host that did not answer, its MAC \"[n/s]\"",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<!--This file was generated by Angry IP Scanner-->\n"
       "<scanning_report>\n\t<scanner><name>Angry IP Scanner</name></scanner>\n\t<hosts>\n"
       "\t\t<host address=\"192.168.1.101\">\n\t\t\t<result name=\"Ping\">1 ms</result>\n"
       "\t\t\t<result name=\"Hostname\">PC01</result>\n\t\t\t<result name=\"MAC Address\">00:E0:4C:68:10:01</result>\n"
       "\t\t</host>\n\t\t<host address=\"192.168.1.102\">\n\t\t\t<result name=\"Ping\">2 ms</result>\n"
       "\t\t\t<result name=\"Hostname\">[n/a]</result>\n\t\t\t<result name=\"MAC Address\">00:E0:4C:68:10:02</result>\n"
       "\t\t</host>\n\t\t<host address=\"192.168.1.103\"><result name=\"Ping\">[n/a]</result>"
       "<result name=\"Hostname\">[n/s]</result><result name=\"MAC Address\">[n/s]</result></host>\n"
       "\t</hosts>\n</scanning_report>\n",
       {{{{"address", "192.168.1.101"}, {"result[Ping]", "1 ms"}, {"result[Hostname]", "PC01"},
          {"result[MAC Address]", "00:E0:4C:68:10:01"}}, 6},
        {{{"address", "192.168.1.102"}, {"result[Ping]", "2 ms"}, {"result[Hostname]", "[n/a]"},
          {"result[MAC Address]", "00:E0:4C:68:10:02"}}, 11},
        {{{"address", "192.168.1.103"}, {"result[Ping]", "[n/a]"}, {"result[Hostname]", "[n/s]"},
          {"result[MAC Address]", "[n/s]"}}, 16}},
       RecordKind::Events, "Angry IP Scanner 扫描结果", How::Done, {"PC01", ""}, {kMac1, kMac2},
       "来源：Angry IP Scanner 扫描结果，机器名取自 result[Hostnam…，MAC地址取自 result[MAC Add…，读入 2 台，跳过 1 行（第 16 行）"},
      {"Excel's XML Spreadsheet 2003: rows of cells told apart by their order, the header a row", sheet, sheetRecords,
       RecordKind::List, "XML 文件", How::Done, sheetNames, sheetMacs,
       "来源：XML 文件，机器名取自 Cell.Data[Stri…，MAC地址取自 Cell#2.Data[St…，读入 9 台，跳过 1 行（第 6 行）"},
      {"elements without a MAC: no table", "<hosts><host><name>PC01</name></host><host/></hosts>", {}, {}, {},
       How::Done, {}, {}, "未载入：file 里没有找到机器列表"},
      {"declared XML, not well formed past its first record: the damage",
       "<?xml version=\"1.0\"?>\n<hosts><host mac=\"00:e0:4c:68:10:01\"/><host mac=\"00:e0:4c:68:10:02\"></hosts>", {},
       {}, {}, How::Damaged, {}, {}, "未载入：file 读取中途出错"},
  };
  for (const Case& c : cases) check(c, MakeXmlLayout);
}

// Files no list is: each refused for the bound it passes, in well under a
// second whatever its size.
TEST_F(StructuredFiles, HostileFilesStopAtTheirBound) {
  const std::string deepJson = std::string(1'000'000, '[') + std::string(1'000'000, ']');
  std::string deepXml = "<?xml version=\"1.0\"?>\n";
  for (int i = 0; i < 1'000'000; ++i) deepXml += "<a>";
  std::string wideJson = "[{\"mac\":\"00:e0:4c:68:10:01\"";
  std::string wideXml = "<r><h mac=\"00:e0:4c:68:10:01\">";
  for (int i = 0; i < 20'000; ++i) {
    wideJson += ",\"k" + std::to_string(i) + "\":1";
    wideXml += "<k" + std::to_string(i) + ">1</k" + std::to_string(i) + ">";
  }
  wideJson += "}]";
  wideXml += "</h><h mac=\"00:e0:4c:68:10:02\"/></r>";
  const std::string longValue(kMaxRecordBytes + 1, 'x'), hugeValue(5 * kMaxRecordBytes, 'x');
  const std::string laughs =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 \"&lol;&lol;&lol;&lol;\">]>\n"
      "<lolz><h mac=\"00:e0:4c:68:10:01\">&lol2;</h></lolz>";
  const struct {
    const char* what;
    std::string text;
    bool xml;
    LayoutEnd end;
    std::string label;  // after "未载入：file "
  } cases[] = {
      {"JSON nested a million deep", deepJson, false, LayoutEnd::Past(Bound::Depth), "太大（嵌套超过 256 层）"},
      {"XML nested a million deep", deepXml, true, LayoutEnd::Past(Bound::Depth), "太大（嵌套超过 256 层）"},
      {"JSON record of 20,000 keys", wideJson, false, LayoutEnd::Past(Bound::RecordCells), "太大（一行超过 16384 格）"},
      {"XML record of 20,000 element names", wideXml, true, LayoutEnd::Past(Bound::RecordCells),
       "太大（一行超过 16384 格）"},
      {"JSON value past a record's bytes", "[{\"mac\":\"00:e0:4c:68:10:01\",\"x\":\"" + longValue + "\"}]", false,
       LayoutEnd::Past(Bound::RecordBytes), "太大（一行超过 1 MB）"},
      {"JSON value past the reader's own stack", "[{\"x\":\"" + hugeValue + "\"}]", false,
       LayoutEnd::Past(Bound::RecordBytes), "太大（一行超过 1 MB）"},
      {"XML text past a record's bytes", "<r><h><mac>00:e0:4c:68:10:01</mac><x>" + longValue + "</x></h></r>", true,
       LayoutEnd::Past(Bound::RecordBytes), "太大（一行超过 1 MB）"},
      {"XML entities declared in a DOCTYPE", laughs, true, {LayoutEnd::How::Damaged}, "读取中途出错"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto began = std::chrono::steady_clock::now();
    EXPECT_TRUE(c.xml ? ClaimsXml(std::string_view(c.text).substr(0, 4096))
                      : ClaimsJson(std::string_view(c.text).substr(0, 4096)));
    const std::unique_ptr<TableLayout> layout = c.xml ? MakeXmlLayout(c.text) : MakeJsonLayout(c.text);
    NoVisitor none;
    const LayoutEnd end = layout->forEachRecord(none);
    EXPECT_EQ(end.how, c.end.how);
    if (c.end.how == LayoutEnd::How::TooLarge) {
      EXPECT_EQ(end.bound, c.end.bound);
    }
    // Loaded as the window loads it: refused with the bound's words.
    test::WriteBytes(dir / "file", c.text);
    window.typePath(test::PathOf(dir / "file"));
    LoadDatabase(connection, list, window);
    EXPECT_EQ(GbkToUtf8(window.source), "未载入：file " + c.label);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
  }
}

// Up to a bound a file is read; one past it, refused: the depth after the
// table is found, the keys of one record.
TEST(StructuredLayouts, BoundsHoldExactly) {
  const auto nested = [](int levels) {  // a record, then arrays nested to `levels` in all
    return "[{\"mac\":\"00:e0:4c:68:10:01\"}," + std::string(levels - 1, '[') + std::string(levels, ']');
  };
  const auto nestedXml = [](int levels) {
    std::string text = "<r><h mac=\"00:e0:4c:68:10:01\"/><h mac=\"00:e0:4c:68:10:02\"/>";
    for (int i = 1; i < levels; ++i) text += "<a>";
    for (int i = 1; i < levels; ++i) text += "</a>";
    return text + "</r>";
  };
  const auto keys = [](int count) {  // a record of `count` keys, the MAC among them
    std::string text = "[{\"mac\":\"00:e0:4c:68:10:01\"";
    for (int i = 1; i < count; ++i) text += ",\"k" + std::to_string(i) + "\":1";
    return text + "}]";
  };
  const auto keysXml = [](int count) {
    std::string text = "<r><h mac=\"00:e0:4c:68:10:01\">";
    for (int i = 1; i < count; ++i) text += "<k" + std::to_string(i) + ">1</k" + std::to_string(i) + ">";
    return text + "</h><h mac=\"00:e0:4c:68:10:02\"/></r>";
  };
  const int depth = static_cast<int>(kMaxDepth), cells = static_cast<int>(kMaxRecordCells);
  const struct {
    const char* what;
    std::string text;
    bool xml;
    LayoutEnd end;
  } cases[] = {
      {"JSON nested as deep as a file may", nested(depth), false, {}},
      {"JSON one level deeper", nested(depth + 1), false, LayoutEnd::Past(Bound::Depth)},
      {"JSON nested as deep as a file may before any table", std::string(depth, '[') + std::string(depth, ']'), false,
       {}},
      {"one level deeper", std::string(depth + 1, '[') + std::string(depth + 1, ']'), false,
       LayoutEnd::Past(Bound::Depth)},
      {"XML nested as deep as a file may", nestedXml(depth), true, {}},
      {"XML one level deeper", nestedXml(depth + 1), true, LayoutEnd::Past(Bound::Depth)},
      {"a JSON record of as many keys as a record may hold", keys(cells), false, {}},
      {"one key more", keys(cells + 1), false, LayoutEnd::Past(Bound::RecordCells)},
      {"an XML record of as many keys as a record may hold", keysXml(cells), true, {}},
      {"one element more", keysXml(cells + 1), true, LayoutEnd::Past(Bound::RecordCells)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::unique_ptr<TableLayout> layout = c.xml ? MakeXmlLayout(c.text) : MakeJsonLayout(c.text);
    NoVisitor none;
    const LayoutEnd end = layout->forEachRecord(none);
    EXPECT_EQ(end.how, c.end.how);
    if (c.end.how == How::TooLarge) {
      EXPECT_EQ(end.bound, c.end.bound);
    }
  }
}

// The walks after the first replay what it handed over; a tape that would
// outgrow the text (tiny records), or a first walk stopped part-way, is no
// replay: those walks parse again, and hand over the same records.
TEST(StructuredLayouts, LaterWalksMatchTheFirst) {
  class StopsAtSecond final : public RecordVisitor {
   public:
    void cell(int, std::string_view) override {}
    bool endRecord(int) override { return ++records_ < 2; }

   private:
    int records_ = 0;
  };
  std::string tiny, roomy;
  for (int i = 1; i <= 40; ++i) {
    const std::string mac = "00e04c6810" + std::to_string(10 + i);
    tiny += "{\"m\":\"" + mac + "\"}\n";
    roomy += "{\"hostname\": \"PC" + std::to_string(i) + "\",  \"hw-address\": \"" + mac + "\"}\n";
  }
  for (const std::string& text : {tiny, roomy}) {
    SCOPED_TRACE(text.substr(0, 40));
    const std::unique_ptr<TableLayout> layout = MakeJsonLayout(text);
    StopsAtSecond stops;
    EXPECT_EQ(layout->forEachRecord(stops).how, How::Stopped);
    const test::LayoutRecords first = test::RecordsOf(*layout), second = test::RecordsOf(*layout);
    ASSERT_EQ(first.records.size(), 40u);
    EXPECT_EQ(first.records.back().line, 40);
    EXPECT_TRUE(second.records == first.records);
  }
}

}  // namespace
}  // namespace venbrook
