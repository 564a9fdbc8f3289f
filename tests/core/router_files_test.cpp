
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/load_database.h"
#include "sources/read_bounds.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/layout_records.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Texts = std::vector<std::string>;

const std::string kMac1 = "00-1A-2B-3C-4D-01", kMac2 = "00-1A-2B-3C-4D-02", kMac3 = "00-1A-2B-3C-4D-03";

struct Case {
  const char* file;
  std::string bytes;
  Texts names, macs;  // as the list holds them (GBK)
  std::string source;
  // The hosts a café's file holds beside the shape's own, written with NN
  // for their number (A11 on), loaded after them; their names are the
  // judge's proof that a host's name repeated over its several MACs is a
  // name still.
  std::string_view neighbour = {};
  int neighbours = 0;
};

// Each shape of file as a router writes it, a few lines long, loaded as the
// window loads a file; the last rows are lists the router readers must
// leave to the text list.
TEST(RouterFiles, EachShapeLoadsWithItsLabel) {
  const std::vector<Case> cases = {
      {"dhcp.leases",
       "1751520000 00:1a:2b:3c:4d:01 192.168.1.11 A01 01:00:1a:2b:3c:4d:01\n"
       "0 00:1a:2b:3c:4d:02 192.168.1.12 * *\n"
       "1751520000 ff:ff:ff:ff:ff:ff 192.168.1.13 X *\n"
       "duid 00:01:00:01:2c:5e:1a:2b:00:1a:2b:3c:4d:00\n1751520000 1234 2001:db8::5 A01 00:01:00:01\n"
       "1751520000 06-00:1a:2b:3c:4d:03 192.168.1.14 C03 *\n",  // a token ring's: no café's machine
       {"A01", ""}, {kMac1, kMac2}, G("来源：dnsmasq 租约文件，机器名取自 hostname，MAC地址取自 MAC，读入 2 台，跳过 2 行（第 3、6 行）")},
      {"arp-scan, a host answering twice",
       "Interface: eth0, type: EN10MB, MAC: 00:0c:29:b5:72:a1, IPv4: 192.168.1.2\n"
       "Starting arp-scan 1.10.0 with 256 hosts (https://github.com/royhills/arp-scan)\n"
       "192.168.1.11\t00:1a:2b:3c:4d:01\tRealtek Semiconductor Corp.\n"
       "192.168.1.11\t00:1a:2b:3c:4d:01\tRealtek Semiconductor Corp. (DUP: 2)\n"
       "192.168.1.12\t00:1a:2b:3c:4d:02\tASUSTek COMPUTER INC.\n\n"
       "3 packets received by filter, 0 packets dropped by kernel\n"
       "Ending arp-scan 1.10.0: 256 hosts scanned in 2.012 seconds (127.24 hosts/sec). 2 responded\n",
       {"", ""}, {kMac1, kMac2}, G("来源：arp-scan 扫描结果，没有机器名列，MAC地址取自 MAC，读入 2 台，合并重复记录 1 条")},
      {"dhcpd.leases",
       "# The format of this file is documented in the dhcpd.leases(5) manual page.\n"
       "lease 192.168.1.11 {\n  hardware ethernet 00:1a:2b:3c:4d:01;\n  client-hostname \"OLD\";\n}\n"
       "lease 192.168.1.12 { hardware ethernet 00:1a:2b:3c:4d:02; client-hostname \"\\344\\270\\200\\346\\245\\274\"; }\n"
       "lease 192.168.1.13 {\n  binding state active;\n  hardware ethernet 00:1a:2b:3c:4d:01;\n"
       "  client-hostname \"A01\";  # the current one\n}\n",
       {"A01", G("一楼")}, {kMac1, kMac2},
       G("来源：ISC DHCP 租约文件，机器名取自 client-hostnam…，MAC地址取自 hardware ether…，读入 2 台，合并重复记录 1 条")},
      {"dhcpd.conf",
       "default-lease-time 600;\nsubnet 192.168.1.0 netmask 255.255.255.0 {\n"
       "  host A01 { hardware ethernet 0:1a:2b:3c:4d:1; fixed-address 192.168.1.11; }\n"
       "  host B02\n  {\n    hardware ethernet 00:1A:2B:3C:4D:02;  # B02's\n  }\n}\n",
       {"A01", "B02"}, {kMac1, kMac2}, G("来源：ISC DHCP 配置文件，机器名取自 host，MAC地址取自 hardware ether…，读入 2 台")},
      {"export.rsc",
       "# jan/02/2025 10:00:00 by RouterOS 6.49\n/ip dhcp-server network\nadd address=192.168.88.0/24\n"
       "/ip dhcp-server lease\nadd address=192.168.88.11 comment=\"\\D2\\BB\\C2\\A5 01\" host-name=DESKTOP-1 mac-address=\\\n"
       "    00:1A:2B:3C:4D:01 server=dhcp1\nadd address=192.168.88.12 mac-address=00:1A:2B:3C:4D:02 host-name=PC02\n"
       "add address=192.168.88.13 server=dhcp1\n",
       {G("一楼 01"), "PC02"}, {kMac1, kMac2},
       G("来源：MikroTik 租约导出，机器名取自 comment/host-n…，MAC地址取自 mac-address，读入 2 台，跳过 1 行（第 8 行）")},
      {"print.txt",
       "[admin@MikroTik] /ip dhcp-server lease> print\nFlags: X - disabled, R - radius, D - dynamic, B - blocked\n"
       " #   ADDRESS        MAC-ADDRESS       HOST-NAME  SERVER  STATUS\n"
       " 0   ;;; A01\n     192.168.88.11  00:1A:2B:3C:4D:01 DESKTOP-1  dhcp1   bound\n"
       " 1 D 192.168.88.12  00:1A:2B:3C:4D:02 PC02       dhcp1   bound\n"
       ";;; \xE4\xB8\x89\xE6\xA5\xBC\n 2 D 192.168.88.13  00:1A:2B:3C:4D:03            dhcp1   bound\n",
       {"A01", "PC02", G("三楼")}, {kMac1, kMac2, kMac3}, G("来源：MikroTik 租约列表，机器名取自 HOST-NAME，MAC地址取自 MAC-ADDRESS，读入 3 台")},
      {"print7.txt",
       "Flags: D - DYNAMIC\nColumns: ADDRESS, MAC-ADDRESS, SERVER, STATUS\n#   ADDRESS        MAC-ADDRESS        SERVER  STATUS\n"
       "0 D 192.168.88.11  00:1A:2B:3C:4D:01  dhcp1   bound\n",
       {""}, {kMac1}, G("来源：MikroTik 租约列表，没有机器名列，MAC地址取自 MAC-ADDRESS，读入 1 台")},
      {"dhcp",
       "config dnsmasq\n\toption domainneeded '1'\n\nconfig host\n\toption name '\xE4\xB8\x80\xE6\xA5\xBC\x30\x31'\n"
       "\toption mac '00:1a:2b:3c:4d:01 00:1a:2b:3c:4d:02'\n\tlist mac \"00:1a:2b:3c:4d:03\"\n",
       {G("一楼01"), G("一楼01"), G("一楼01")}, {kMac1, kMac2, kMac3},
       G("来源：OpenWrt DHCP 配置，机器名取自 name，MAC地址取自 mac，读入 20 台"),
       "config host\n\toption name 'ANN'\n\toption mac '00:1a:2b:3c:5d:NN'\n", 17},
      {"uci.txt",
       "dhcp.@dnsmasq[0]=dnsmasq\ndhcp.@host[0]=host\ndhcp.@host[0].name='A01'\n"
       "dhcp.@host[0].mac='00:1a:2b:3c:4d:01'\ndhcp.cfg01fe=host\n"
       "dhcp.cfg01fe.mac='00:1a:2b:3c:4d:02' '00:1a:2b:3c:4d:03'\ndhcp.cfg01fe.name='B'\\''s'\n",
       {"A01", "B's", "B's"}, {kMac1, kMac2, kMac3}, G("来源：OpenWrt DHCP 配置，机器名取自 name，MAC地址取自 mac，读入 10 台"),
       "dhcp.hNN=host\ndhcp.hNN.name='ANN'\ndhcp.hNN.mac='00:1a:2b:3c:5d:NN'\n", 7},
      {"arp-zh.txt",
       G("\r\n接口: 192.168.1.5 --- 0xb\r\n  Internet 地址         物理地址              类型\r\n"
         "  192.168.1.1           00-1a-2b-3c-4d-01     动态\r\n  192.168.1.255         ff-ff-ff-ff-ff-ff     静态\r\n"
         "  224.0.0.22            01-00-5e-00-00-16     静态\r\n"),
       {""}, {kMac1}, G("来源：ARP 表，没有机器名列，MAC地址取自 物理地址，读入 1 台，跳过 2 行（第 5、6 行）")},
      {"arp-en.txt",
       test::Utf16File(u"C:\\>arp -a\r\n\r\nInterface: 10.0.0.5 --- 0x4\r\n  Internet Address      Physical Address      Type\r\n"
                       u"  10.0.0.2              00-1a-2b-3c-4d-02     dynamic\r\n  10.0.0.9              dynamic\r\n"),
       {""}, {kMac2}, G("来源：ARP 表，没有机器名列，MAC地址取自 Physical Addre…，读入 1 台，跳过 1 行（第 6 行）")},
      {"cisco.txt",
       "Router#show ip arp\nProtocol  Address          Age (min)  Hardware Addr   Type   Interface\n"
       "Internet  192.168.1.1             -   001a.2b3c.4d01  ARPA   Vlan10\n"
       "Internet  192.168.1.13            0   Incomplete      ARPA\nRouter#\n",
       {""}, {kMac1}, G("来源：ARP 表，没有机器名列，MAC地址取自 Hardware Addr，读入 1 台，跳过 1 行（第 4 行）")},
      {"arp",
       "IP address       HW type     Flags       HW address            Mask     Device\n"
       "192.168.1.12     0x1         0x2         00:1a:2b:3c:4d:02     *        br-lan\n",
       {""}, {kMac2}, G("来源：ARP 表，没有机器名列，MAC地址取自 HW address，读入 1 台")},
      {"neigh.txt",
       "192.168.1.13 dev br-lan lladdr 00:1a:2b:3c:4d:03 REACHABLE\nfe80::1 dev br-lan lladdr 00:1a:2b:3c:4d:03 STALE\n"
       "192.168.1.14 dev br-lan FAILED\n",
       {""}, {kMac3}, G("来源：ARP 表，没有机器名列，MAC地址取自 lladdr，读入 1 台，跳过 1 行（第 3 行）")},
      {"list.csv", G("机器名,IP地址,MAC地址\r\nPC01,192.168.1.11,00-1a-2b-3c-4d-01\r\n"), {"PC01"},
       {"00-1A-2B-3C-4D-01"}, G("来源：文本列表，机器名取自 机器名，MAC地址取自 MAC地址，读入 1 台")},
      {"export.txt", "00-1A-2B-3C-4D-02 1 2 3 4\r\n", {"1 2 3 4"}, {kMac2},
       G("来源：文本列表，机器名取自 第 2 列，MAC地址取自 第 1 列，读入 1 台")},
  };
  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    test::WriteBytes(dir / c.file, c.bytes + test::NumberedHosts(c.neighbour, c.neighbours));
    window.typePath(test::PathOf(dir / c.file));
    EXPECT_EQ(LoadDatabase(connection, list, window).outcome, LoadOutcome::Loaded);
    Texts names, macs;
    for (int i = 0; i < list.count() - c.neighbours; ++i) {
      names.emplace_back(list.cellText(i, kMachineNameColumn));
      macs.emplace_back(list.cellText(i, kMacColumn));
    }
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(macs, c.macs);
    EXPECT_EQ(window.source, c.source);
  }

  // A router's file with no machine in it changes nothing, as any file
  // without a list.
  test::WriteBytes(dir / "dhcp", "config dnsmasq\n\toption domainneeded '1'\n\nconfig host\n\toption name 'A01'\n");
  window.typePath(test::PathOf(dir / "dhcp"));
  EXPECT_EQ(LoadDatabase(connection, list, window).outcome, LoadOutcome::NoList);
  EXPECT_EQ(window.source, G("未载入：dhcp 里没有找到机器列表"));
  EXPECT_EQ(list.count(), 1);  // the row of the load before

  // Too large to be a list: refused before it is read, as a text list is.
  test::WriteBytes(dir / "big.leases", "0 00:1a:2b:3c:4d:01 192.168.1.11 A01 *\n");
  std::filesystem::resize_file(dir / "big.leases", kMaxFileBytes + 1);
  window.typePath(test::PathOf(dir / "big.leases"));
  EXPECT_EQ(LoadDatabase(connection, list, window).outcome, LoadOutcome::NoList);
  EXPECT_EQ(window.source, G("未载入：big.leases 太大（文件超过 64 MB）"));
}

// The odd corners of each syntax, loaded as the window loads a file: the
// rows (name, MAC) and the label with the skipped lines.
TEST(RouterFiles, OddCornersOfEachSyntax) {
  const struct {
    const char* what;
    std::string text;
    Texts rows;
    std::string source;
  } cases[] = {
      {"braces and '#' in an ISC string and a comment",
       "host \"a{b#\" { hardware ethernet 00:1a:2b:3c:4d:01; } # host x { hardware ethernet 00:1a:2b:3c:4d:09; }\n",
       {"a{b#", kMac1}, G("来源：ISC DHCP 配置文件，机器名取自 host，MAC地址取自 hardware ether…，读入 1 台")},
      {"a brace in an ISC string, escapes in another; a block left open at the end keeps its MAC",
       "lease 10.0.0.2 { uid \"}\"; hardware ethernet 00:1a:2b:3c:4d:02; client-hostname \"B\\012\\\"2\\\"\"; }\n"
       "lease 10.0.0.3 { hardware ethernet 00:1a:2b:3c:4d:03;",
       {"B \"2\"", kMac2, "", kMac3},
       G("来源：ISC DHCP 租约文件，机器名取自 client-hostnam…，MAC地址取自 hardware ether…，读入 2 台")},
      {"only the lease menu of a whole /export; a line ending in \\\\ goes on no further",
       "/interface wireless access-list\nadd mac-address=00:1A:2B:3C:4D:09\n/ip dhcp-server lease\n"
       "add comment=A\\\\ mac-address=00:1A:2B:3C:4D:01\nadd comment=\"\" host-name=\"B 2\" mac-address=00:1A:2B:3C:4D:02\n"
       "set [ find ] disabled=no\n/ip/dhcp-server/lease/add mac-address=00:1A:2B:3C:4D:03 comment=\\E4\\B8\\80\n",
       {"A\\", kMac1, "B 2", kMac2, G("一"), kMac3},
       G("来源：MikroTik 租约导出，机器名取自 comment/host-n…，MAC地址取自 mac-address，读入 3 台，跳过 1 行（第 6 行）")},
      {"an OpenWrt broadcast MAC; a host of no MAC",
       "config host\n\toption name A01\n\toption mac 00:1a:2b:3c:4d:01\n\tlist mac ff:ff:ff:ff:ff:ff\nconfig host\n"
       "\toption name B\n" +
           test::NumberedHosts("config host\n\toption name ANN\n\toption mac 00:1a:2b:3c:5d:NN\n", 9),
       {"A01", kMac1}, G("来源：OpenWrt DHCP 配置，机器名取自 name，MAC地址取自 mac，读入 10 台，跳过 1 行（第 4 行）")},
  };
  test::TempFolder dir;
  test::FakeWindow window;
  SourceConnection connection;
  for (const auto& c : cases) {
    MachineList list;
    test::WriteBytes(dir / "router.txt", c.text);
    window.typePath(test::PathOf(dir / "router.txt"));
    EXPECT_EQ(LoadDatabase(connection, list, window).outcome, LoadOutcome::Loaded) << c.what;
    Texts rows;
    for (int i = 0; i < list.count() && rows.size() < c.rows.size(); ++i) {
      rows.emplace_back(list.cellText(i, kMachineNameColumn));
      rows.emplace_back(list.cellText(i, kMacColumn));
    }
    EXPECT_EQ(rows, c.rows) << c.what;
    EXPECT_EQ(window.source, c.source) << c.what;
  }
}

}  // namespace
}  // namespace venbrook
