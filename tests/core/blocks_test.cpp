// The layouts of records spread over lines (sources/blocks/): each real
// shape as its program prints it, read into records; and which layout
// claims which sample.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/load_database.h"
#include "sources/blocks/base64.h"
#include "sources/blocks/block_layout.h"
#include "sources/blocks/dnsmasq_conf.h"
#include "sources/blocks/host_reports.h"
#include "sources/blocks/isc_dhcp_layout.h"
#include "sources/blocks/ldif_layout.h"
#include "sources/blocks/openwrt_layout.h"
#include "sources/blocks/pair_line.h"
#include "sources/blocks/routeros_export.h"
#include "sources/blocks/routeros_print.h"
#include "sources/text/text_encoding.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/layout_records.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Cells = std::map<std::string, std::string>;
using Make = std::unique_ptr<TableLayout> (*)(std::string_view);

struct Record {
  int line;
  Cells cells;  // the record's cells, all of them
};

struct Shape {
  const char* what;
  std::string text;
  Make make;
  std::vector<Record> records;
  RecordKind kind;
  std::string_view words;
  std::vector<std::string> loaded;  // each machine as the window lists it, "name|MAC" (UTF-8)
  std::string label;                // and the source label (UTF-8)
  std::string around = {};          // the hosts a café's file holds beside the shape's, for the load
};

// ipconfig /all of three PCs, one after the other, as a café collects them.
const char kIpconfigEnglish[] =
    "\r\nWindows IP Configuration\r\n\r\n"
    "   Host Name . . . . . . . . . . . . : A01\r\n"
    "   Primary Dns Suffix  . . . . . . . :\r\n"
    "   Node Type . . . . . . . . . . . . : Hybrid\r\n\r\n"
    "Ethernet adapter Ethernet:\r\n\r\n"
    "   Connection-specific DNS Suffix  . :\r\n"
    "   Description . . . . . . . . . . . : Realtek PCIe GbE Family Controller\r\n"
    "   Physical Address. . . . . . . . . : 00-E0-4C-21-CE-B6\r\n"
    "   DHCP Enabled. . . . . . . . . . . : Yes\r\n"
    "   IPv4 Address. . . . . . . . . . . : 192.168.1.101(Preferred)\r\n"
    "   Subnet Mask . . . . . . . . . . . : 255.255.255.0\r\n"
    "   Default Gateway . . . . . . . . . : 192.168.1.1\r\n"
    "   DNS Servers . . . . . . . . . . . : 192.168.1.1\r\n"
    "                                       8.8.8.8\r\n"
    "   NetBIOS over Tcpip. . . . . . . . : Disabled\r\n\r\n"
    "Wireless LAN adapter Wi-Fi:\r\n\r\n"
    "   Media State . . . . . . . . . . . : Media disconnected\r\n"
    "   Description . . . . . . . . . . . : Intel(R) Wireless-AC 9560 160MHz\r\n"
    "   Physical Address. . . . . . . . . : 1C-C1-0C-C3-25-B5\r\n\r\n"
    "Ethernet adapter Bluetooth Network Connection:\r\n\r\n"
    "   Media State . . . . . . . . . . . : Media disconnected\r\n"
    "   Description . . . . . . . . . . . : Bluetooth Device (Personal Area Network)\r\n"
    "   Physical Address. . . . . . . . . : 1C-C1-0C-C3-25-B4\r\n"
    "\r\nWindows IP Configuration\r\n\r\n"
    "   Host Name . . . . . . . . . . . . : A02\r\n\r\n"
    "Ethernet adapter VMware Network Adapter VMnet8:\r\n\r\n"
    "   Description . . . . . . . . . . . : VMware Virtual Ethernet Adapter for VMnet8\r\n"
    "   Physical Address. . . . . . . . . : 00-50-56-C0-00-08\r\n"
    "   IPv4 Address. . . . . . . . . . . : 192.168.80.1(Preferred)\r\n\r\n"
    "Ethernet adapter Local Area Connection:\r\n\r\n"
    "   Description . . . . . . . . . . . : Intel(R) PRO/1000 MT Network Connection\r\n"
    "   Physical Address. . . . . . . . . : 00-0C-29-37-3B-4E\r\n"
    "   Autoconfiguration IPv4 Address. . : 169.254.12.7(Preferred)\r\n"
    "   IPv4 Address. . . . . . . . . . . : 192.168.1.102(Preferred)\r\n\r\n"
    "Tunnel adapter isatap.{E24F3EA8-436E-3B26-8BB9-CED33928744B}:\r\n\r\n"
    "   Media State . . . . . . . . . . . : Media disconnected\r\n"
    "   Description . . . . . . . . . . . : Microsoft ISATAP Adapter\r\n"
    "   Physical Address. . . . . . . . . : 00-00-00-00-00-00-00-E0\r\n"
    "\r\nWindows IP Configuration\r\n\r\n"
    "   Host Name . . . . . . . . . . . . : A03\r\n\r\n"
    "Ethernet adapter Local Area Connection:\r\n\r\n"
    "   Description . . . . . . . . . . . : Intel(R) PRO/1000 MT Network Connection\r\n"
    "   Physical Address. . . . . . . . . : 00-0C-29-25-B6-4D\r\n"
    "   IP Address. . . . . . . . . . . . : 192.168.1.103\r\n";

const char kIpconfigChinese[] =
    "\r\nWindows IP 配置\r\n\r\n"
    "   主机名  . . . . . . . . . . . . . : B01\r\n"
    "   节点类型  . . . . . . . . . . . . : 混合\r\n\r\n"
    "无线局域网适配器 WLAN:\r\n\r\n"
    "   描述. . . . . . . . . . . . . . . : Intel(R) Wi-Fi 6 AX201 160MHz\r\n"
    "   物理地址. . . . . . . . . . . . . : 5C-E4-2A-11-22-31\r\n"
    "   IPv4 地址 . . . . . . . . . . . . : 192.168.0.111(首选)\r\n\r\n"
    "以太网适配器 以太网:\r\n\r\n"
    "   描述. . . . . . . . . . . . . . . : Realtek PCIe GbE Family Controller\r\n"
    "   物理地址. . . . . . . . . . . . . : 00-E0-4C-68-01-01\r\n"
    "   IPv4 地址 . . . . . . . . . . . . : 192.168.0.11(首选)\r\n"
    "   默认网关. . . . . . . . . . . . . : 192.168.0.1\r\n\r\n"
    "以太网适配器 蓝牙网络连接:\r\n\r\n"
    "   媒体状态  . . . . . . . . . . . . : 媒体已断开连接\r\n"
    "   物理地址. . . . . . . . . . . . . : 1C-C1-0C-C3-25-B4\r\n"
    "\r\nWindows IP 配置\r\n\r\n"
    "   主机名  . . . . . . . . . . . . . : B02\r\n\r\n"
    "以太网适配器 以太网:\r\n\r\n"
    "   媒体状态  . . . . . . . . . . . . : 媒体已断开连接\r\n"
    "   描述. . . . . . . . . . . . . . . : Realtek PCIe GbE Family Controller\r\n"
    "   物理地址. . . . . . . . . . . . . : 00-E0-4C-68-01-02\r\n\r\n"
    "无线局域网适配器 WLAN:\r\n\r\n"
    "   描述. . . . . . . . . . . . . . . : Intel(R) Wi-Fi 6 AX201 160MHz\r\n"
    "   物理地址. . . . . . . . . . . . . : 5C-E4-2A-11-22-33\r\n"
    "   IPv4 地址 . . . . . . . . . . . . : 192.168.0.12(首选)\r\n"
    "\r\nWindows IP 配置\r\n\r\n"
    "   主机名  . . . . . . . . . . . . . : B03\r\n\r\n"
    "以太网适配器 以太网:\r\n\r\n"
    "   媒体状态  . . . . . . . . . . . . : 媒体已断开连接\r\n"
    "   物理地址. . . . . . . . . . . . . : 00-E0-4C-68-01-03\r\n"
    "\r\nWindows IP 配置\r\n\r\n"
    "   主机名  . . . . . . . . . . . . . : B03\r\n\r\n"
    "以太网适配器 以太网:\r\n\r\n"
    "   物理地址. . . . . . . . . . . . . : 00-E0-4C-68-01-04\r\n"
    "   IPv4 地址 . . . . . . . . . . . . : 192.168.0.14(首选)\r\n";

class StopAtFirst final : public RecordVisitor {
 public:
  void cell(int, std::string_view) override {}
  bool endRecord(int) override { return false; }
};

class Collect final : public RecordVisitor {
 public:
  void cell(int, std::string_view) override {}
  bool endRecord(int) override { return true; }
};

std::vector<Shape> Shapes() {
  return {
      {"ipconfig /all of three PCs: the adapter with an IPv4 address, wired before virtual",
       kIpconfigEnglish,
       MakeBlocksLayout,
       {{4, {{"Host Name", "A01"}, {"Physical Address", "00-E0-4C-21-CE-B6"}}},
        {35, {{"Host Name", "A02"}, {"Physical Address", "00-0C-29-37-3B-4E"}}},
        {58, {{"Host Name", "A03"}, {"Physical Address", "00-0C-29-25-B6-4D"}}}},
       RecordKind::List,
       "分段记录",
       {"A01|00-E0-4C-21-CE-B6", "A02|00-0C-29-37-3B-4E", "A03|00-0C-29-25-B6-4D"},
       "来源：分段记录，机器名取自 Host Name，MAC地址取自 Physical Addre…，读入 3 台"},
      {"ipconfig /all in Chinese: wired before Wi-Fi, a laptop on Wi-Fi, a PC whose cable is out, a clone of its name",
       kIpconfigChinese,
       MakeBlocksLayout,
       {{4, {{"主机名", "B01"}, {"物理地址", "00-E0-4C-68-01-01"}}},
        {27, {{"主机名", "B02"}, {"物理地址", "5C-E4-2A-11-22-33"}}},
        {43, {{"主机名", "B03"}, {"物理地址", "00-E0-4C-68-01-03"}}},
        {52, {{"主机名", "B03"}, {"物理地址", "00-E0-4C-68-01-04"}}}},
       RecordKind::List,
       "分段记录",
       {"B01|00-E0-4C-68-01-01", "B02|5C-E4-2A-11-22-33", "B03|00-E0-4C-68-01-03", "B03|00-E0-4C-68-01-04"},
       "来源：分段记录，机器名取自 主机名，MAC地址取自 物理地址，读入 12 台",
       test::NumberedHosts("\r\nWindows IP 配置\r\n\r\n   主机名  . . . . . . . . . . . . . : BNN\r\n\r\n以太网适配器 以太网:\r\n\r\n"
             "   物理地址. . . . . . . . . . . . . : 00-E0-4C-68-02-NN\r\n"
             "   IPv4 地址 . . . . . . . . . . . . : 192.168.0.NN(首选)\r\n",
             8)},
      {"getmac /v /fo list: one PC that does not say its name, its second wired card unplugged",
       "\r\nConnection Name:  Wi-Fi\r\nNetwork Adapter:  Intel(R) Wireless-AC 9560 160MHz\r\n"
       "Physical Address: 1C-C1-0C-C3-25-B5\r\nTransport Name:   Media disconnected\r\n\r\n"
       "Connection Name:  Ethernet 2\r\nNetwork Adapter:  Intel(R) I211 Gigabit Network Connection\r\n"
       "Physical Address: 00-1B-21-0A-0B-0C\r\nTransport Name:   Media disconnected\r\n\r\n"
       "Connection Name:  Ethernet\r\nNetwork Adapter:  Realtek PCIe GbE Family Controller\r\n"
       "Physical Address: 00-E0-4C-21-CE-B6\r\nTransport Name:   \\Device\\Tcpip_{5E0B2A0A-1C2D-4E5F-8A9B-0C1D2E3F4A5B}\r\n\r\n"
       "Connection Name:  Bluetooth Network Connection\r\nNetwork Adapter:  Bluetooth Device (Personal Area Network)\r\n"
       "Physical Address: N/A\r\nTransport Name:   Hardware not present\r\n",
       MakeBlocksLayout,
       {{12, {{"Physical Address", "00-E0-4C-21-CE-B6"}}}},
       RecordKind::List,
       "分段记录",
       {"|00-E0-4C-21-CE-B6"},
       "来源：分段记录，没有机器名列，MAC地址取自 Physical Addre…，读入 1 台"},
      {"getmac /v /fo list of three PCs put one after another: each wired card in use",
       "\r\nConnection Name:  Ethernet\r\nNetwork Adapter:  Realtek PCIe GbE Family Controller\r\n"
       "Physical Address: 00-E0-4C-2B-6B-43\r\nTransport Name:   \\Device\\Tcpip_{94E7248C-A938-CE89-6678-AD475B68A167}\r\n\r\n"
       "Connection Name:  Wi-Fi\r\nNetwork Adapter:  Intel(R) Wi-Fi 6 AX201 160MHz\r\n"
       "Physical Address: 98-2C-BC-7D-EA-07\r\nTransport Name:   Media disconnected\r\n\r\n"
       "Connection Name:  Ethernet\r\nNetwork Adapter:  Realtek PCIe GbE Family Controller\r\n"
       "Physical Address: 00-E0-4C-AA-36-50\r\nTransport Name:   \\Device\\Tcpip_{4669321B-8C9E-62AF-8429-3FD9B02AAD69}\r\n\r\n"
       "Connection Name:  Ethernet\r\nNetwork Adapter:  Realtek PCIe GbE Family Controller\r\n"
       "Physical Address: 00-E0-4C-D3-25-E0\r\nTransport Name:   Media disconnected\r\n\r\n"
       "Connection Name:  Bluetooth Network Connection\r\nNetwork Adapter:  Bluetooth Device (Personal Area Network)\r\n"
       "Physical Address: 98-2C-BC-7D-EA-08\r\nTransport Name:   Media disconnected\r\n",
       MakeBlocksLayout,
       {{2, {{"Physical Address", "00-E0-4C-2B-6B-43"}}}, {12, {{"Physical Address", "00-E0-4C-AA-36-50"}}}},
       RecordKind::List,
       "分段记录",
       {"|00-E0-4C-2B-6B-43", "|00-E0-4C-AA-36-50"},
       "来源：分段记录，没有机器名列，MAC地址取自 Physical Addre…，读入 2 台"},
      {"Get-NetAdapter | Format-List: Wi-Fi up, a Hyper-V switch, the wired card",
       "\r\n\r\nName                       : Wi-Fi\r\nInterfaceDescription       : Intel(R) Wi-Fi 6 AX201 160MHz\r\n"
       "InterfaceIndex             : 24\r\nMacAddress                 : 5C-E4-2A-11-22-33\r\n"
       "MediaType                  : Native 802.11\r\nInterfaceOperationalStatus : Up\r\n"
       "MediaConnectionState       : Connected\r\nConnectorPresent           : True\r\n\r\n"
       "Name                       : vEthernet (Default Switch)\r\n"
       "InterfaceDescription       : Hyper-V Virtual Ethernet Adapter\r\nMacAddress                 : 00-15-5D-01-02-03\r\n"
       "MediaType                  : 802.3\r\nInterfaceOperationalStatus : Up\r\nConnectorPresent           : False\r\n\r\n"
       "Name                       : Ethernet\r\nInterfaceDescription       : Realtek PCIe GbE Family Controller\r\n"
       "MacAddress                 : 00-E0-4C-21-CE-B6\r\nMediaType                  : 802.3\r\n"
       "InterfaceOperationalStatus : Up\r\nMediaConnectionState       : Connected\r\nConnectorPresent           : True\r\n",
       MakeBlocksLayout,
       {{19, {{"MacAddress", "00-E0-4C-21-CE-B6"}}}},
       RecordKind::List,
       "分段记录",
       {"|00-E0-4C-21-CE-B6"},
       "来源：分段记录，没有机器名列，MAC地址取自 MacAddress，读入 1 台"},
      {"wmic /node:… nic get … /format:list of two PCs, lines ending CR CR LF",
       "\r\r\n\r\r\nMACAddress=\r\r\nName=WAN Miniport (IP)\r\r\nNetConnectionID=\r\r\nSystemName=C01\r\r\n"
       "\r\r\n\r\r\nMACAddress=00:50:56:C0:00:08\r\r\nName=VMware Virtual Ethernet Adapter for VMnet8\r\r\n"
       "NetConnectionID=VMware Network Adapter VMnet8\r\r\nSystemName=C01\r\r\n"
       "\r\r\n\r\r\nMACAddress=00:E0:4C:21:CE:B6\r\r\nName=Realtek PCIe GbE Family Controller\r\r\n"
       "NetConnectionID=以太网\r\r\nSystemName=C01\r\r\n"
       "\r\r\n\r\r\nMACAddress=00:E0:4C:21:CE:B7\r\r\nName=Realtek PCIe GbE Family Controller\r\r\n"
       "NetConnectionID=以太网\r\r\nSystemName=C02\r\r\n",
       MakeBlocksLayout,
       {{3, {{"SystemName", "C01"}, {"MACAddress", "00:E0:4C:21:CE:B6"}}},
        {21, {{"SystemName", "C02"}, {"MACAddress", "00:E0:4C:21:CE:B7"}}}},
       RecordKind::List,
       "分段记录",
       {"C01|00-E0-4C-21-CE-B6", "C02|00-E0-4C-21-CE-B7"},
       "来源：分段记录，机器名取自 SystemName，MAC地址取自 MACAddress，读入 2 台"},
      {"wmic nic get MACAddress,Name /format:list: a card and VirtualBox's network, of one PC",
       "\r\r\n\r\r\nMACAddress=0A:00:27:00:00:0E\r\r\nName=VirtualBox Host-Only Network\r\r\n"
       "\r\r\n\r\r\nMACAddress=00:E0:4C:21:CE:D1\r\r\nName=Realtek PCIe GbE Family Controller\r\r\n",
       MakeBlocksLayout,
       {{7, {{"MACAddress", "00:E0:4C:21:CE:D1"}}}},
       RecordKind::List,
       "分段记录",
       {"|00-E0-4C-21-CE-D1"},
       "来源：分段记录，没有机器名列，MAC地址取自 MACAddress，读入 1 台"},
      {"wmic /node:… nicconfig get … /format:list: the address a network gave, wired before Wi-Fi",
       "\r\r\n\r\r\nDescription=Realtek PCIe GbE Family Controller\r\r\nDNSHostName=C03\r\r\n"
       "IPAddress={\"169.254.31.7\",\"fe80::1c2b:3a4d:5e6f:7081\"}\r\r\nMACAddress=00:E0:4C:21:CE:C3\r\r\n"
       "\r\r\n\r\r\nDescription=Intel(R) Wi-Fi 6 AX201 160MHz\r\r\nDNSHostName=C03\r\r\n"
       "IPAddress={\"192.168.1.133\"}\r\r\nMACAddress=5C:E4:2A:11:22:C3\r\r\n"
       "\r\r\n\r\r\nDescription=Intel(R) Wi-Fi 6 AX201 160MHz\r\r\nDNSHostName=C04\r\r\n"
       "IPAddress={\"192.168.1.144\"}\r\r\nMACAddress=5C:E4:2A:11:22:C4\r\r\n"
       "\r\r\n\r\r\nDescription=Realtek PCIe GbE Family Controller\r\r\nDNSHostName=C04\r\r\n"
       "IPAddress={\"192.168.1.104\"}\r\r\nMACAddress=00:E0:4C:21:CE:C4\r\r\n",
       MakeBlocksLayout,
       {{3, {{"DNSHostName", "C03"}, {"MACAddress", "5C:E4:2A:11:22:C3"}}},
        {15, {{"DNSHostName", "C04"}, {"MACAddress", "00:E0:4C:21:CE:C4"}}}},
       RecordKind::List,
       "分段记录",
       {"C03|5C-E4-2A-11-22-C3", "C04|00-E0-4C-21-CE-C4"},
       "来源：分段记录，机器名取自 DNSHostName，MAC地址取自 MACAddress，读入 2 台"},
      {"Get-DhcpServerv4Reservation | Format-List | Where-Object { $_ }: blocks without blank lines between",
       "Name        : A01.cafe.local\r\nIPAddress   : 192.168.1.101\r\nClientId    : 00-e0-4c-21-ce-b6\r\n"
       "Description : 一楼 01\r\nName        : A02.cafe.local\r\nIPAddress   : 192.168.1.102\r\n"
       "ClientId    : 00-e0-4c-21-ce-b7\r\nDescription :\r\n",
       MakeBlocksLayout,
       {{1, {{"Name", "A01.cafe.local"}, {"IPAddress", "192.168.1.101"}, {"ClientId", "00-e0-4c-21-ce-b6"},
             {"Description", "一楼 01"}}},
        {5, {{"Name", "A02.cafe.local"}, {"IPAddress", "192.168.1.102"}, {"ClientId", "00-e0-4c-21-ce-b7"}}}},
       RecordKind::List,
       "分段记录",
       {"A01.cafe.local|00-E0-4C-21-CE-B6", "A02.cafe.local|00-E0-4C-21-CE-B7"},
       "来源：分段记录，机器名取自 Name，MAC地址取自 ClientId，读入 2 台"},
      {"RouterOS lease print terse: a comment with blanks, unquoted",
       " 0   address=192.168.88.11 mac-address=00:E0:4C:21:CE:B6 server=dhcp1 status=bound host-name=DESKTOP-1\n"
       " 1 D address=192.168.88.12 mac-address=00:E0:4C:21:CE:B7 server=dhcp1 status=bound last-seen=2m ago "
       "comment=前台 收银 host-name=DESKTOP-2\n",
       MakeRouterOsPrintLayout,
       {{1, {{"address", "192.168.88.11"}, {"mac-address", "00:E0:4C:21:CE:B6"}, {"server", "dhcp1"},
             {"status", "bound"}, {"comment/host-name", "DESKTOP-1"}}},
        {2, {{"address", "192.168.88.12"}, {"mac-address", "00:E0:4C:21:CE:B7"}, {"server", "dhcp1"},
             {"status", "bound"}, {"last-seen", "2m ago"}, {"comment/host-name", "前台 收银"}}}},
       RecordKind::Events,
       "MikroTik 租约列表",
       {"DESKTOP-1|00-E0-4C-21-CE-B6", "前台 收银|00-E0-4C-21-CE-B7"},
       "来源：MikroTik 租约列表，机器名取自 comment/host-n…，MAC地址取自 mac-address，读入 2 台"},
      {"RouterOS lease print detail: wrapped entries, comments after the number and before the entry",
       "[admin@MikroTik] /ip dhcp-server lease> print detail\r\n"
       "Flags: X - disabled, R - radius, D - dynamic, B - blocked \r\n"
       " 0   ;;; A01\r\n     address=192.168.88.11 mac-address=00:E0:4C:21:CE:B6 client-id=\"1:0:e0:4c:21:ce:b6\" \r\n"
       "     server=dhcp1 status=bound host-name=\"DESKTOP-1\" \r\n\r\n"
       " 1 D address=192.168.88.12 mac-address=00:E0:4C:21:CE:B7 address-lists=\"\" server=dhcp1 \r\n"
       "     status=bound host-name=\"DESKTOP-2\" \r\n\r\n"
       ";;; 二楼\r\n 2 X address=192.168.88.13 mac-address=00:E0:4C:21:CE:B8 server=dhcp1\r\n",
       MakeRouterOsPrintLayout,
       {{3, {{"address", "192.168.88.11"}, {"mac-address", "00:E0:4C:21:CE:B6"}, {"client-id", "1:0:e0:4c:21:ce:b6"},
             {"server", "dhcp1"}, {"status", "bound"}, {"comment/host-name", "A01"}}},
        {7, {{"address", "192.168.88.12"}, {"mac-address", "00:E0:4C:21:CE:B7"}, {"server", "dhcp1"},
             {"status", "bound"}, {"comment/host-name", "DESKTOP-2"}}},
        {11, {{"address", "192.168.88.13"}, {"mac-address", "00:E0:4C:21:CE:B8"}, {"server", "dhcp1"},
              {"comment/host-name", "二楼"}}}},
       RecordKind::Events,
       "MikroTik 租约列表",
       {"A01|00-E0-4C-21-CE-B6", "DESKTOP-2|00-E0-4C-21-CE-B7", "二楼|00-E0-4C-21-CE-B8"},
       "来源：MikroTik 租约列表，机器名取自 comment/host-n…，MAC地址取自 mac-address，读入 3 台"},
      {"RouterOS arp print detail",
       "Flags: X - disabled, I - invalid, H - DHCP, D - dynamic, P - published, C - complete \n"
       " 0 HDC address=192.168.88.11 mac-address=00:E0:4C:21:CE:B6 interface=bridge published=no \n"
       " 1 HDC address=192.168.88.12 mac-address=00:E0:4C:21:CE:B7 interface=bridge published=no \n"
       " 2  DC address=192.168.88.13 mac-address=00:E0:4C:21:CE:B8 interface=bridge published=no \n",
       MakeRouterOsPrintLayout,
       {{2, {{"address", "192.168.88.11"}, {"mac-address", "00:E0:4C:21:CE:B6"}, {"interface", "bridge"},
             {"published", "no"}}},
        {3, {{"address", "192.168.88.12"}, {"mac-address", "00:E0:4C:21:CE:B7"}, {"interface", "bridge"},
             {"published", "no"}}},
        {4, {{"address", "192.168.88.13"}, {"mac-address", "00:E0:4C:21:CE:B8"}, {"interface", "bridge"},
             {"published", "no"}}}},
       RecordKind::Events,
       "ARP 表",
       {"|00-E0-4C-21-CE-B6", "|00-E0-4C-21-CE-B7", "|00-E0-4C-21-CE-B8"},
       "来源：ARP 表，没有机器名列，MAC地址取自 mac-address，读入 3 台"},
      {"LDIF from ldifde: computers with folding and base64, one without its MAC, a user",
       "version: 1\n\n# computers of the café\ndn: CN=A01,OU=Cafe Computers,DC=cafe,DC=local\nchangetype: add\n"
       "objectClass: top\nobjectClass: computer\ncn: A01\nobjectGUID:: 8Kx6hFz0lU6yCmR2nX3l1A==\n"
       "sAMAccountName: A01$\ndNSHostName: A01.cafe.lo\n cal\nnetworkAddress: 00:e0:4c:21:ce:b6\n\n"
       "dn: CN=A02,OU=Cafe Computers,DC=cafe,DC=local\nobjectClass: computer\ncn: A02\n"
       "description:: 5LqM5qW8IDAy\nsAMAccountName: A02$\nnetworkAddress: 00:e0:4c:21:ce:b7\n"
       "networkAddress: 192.168.1.102\nthumbnailPhoto:< file:///tmp/a02.jpg\n\n"
       "dn: CN=Zhang San,OU=Staff,DC=cafe,DC=local\nobjectClass: user\ncn: Zhang San\nsAMAccountName: zhangsan\n\n"
       "dn: CN=A03,OU=Cafe Computers,DC=cafe,DC=local\nobjectClass: computer\ncn: A03\nsAMAccountName: A03$\n"
       "networkAddress: 00:e0:4c:21:ce:b8\n\n"
       "dn: CN=A04,OU=Cafe Computers,DC=cafe,DC=local\nobjectClass: computer\ncn: A04\nsAMAccountName: A04$\n",
       MakeLdifLayout,
       {{4, {{"objectClass", "top"}, {"cn", "A01"}, {"sAMAccountName", "A01"}, {"dNSHostName", "A01.cafe.local"},
             {"networkAddress", "00:e0:4c:21:ce:b6"}}},
        {15, {{"objectClass", "computer"}, {"cn", "A02"}, {"description", "二楼 02"}, {"sAMAccountName", "A02"},
              {"networkAddress", "00:e0:4c:21:ce:b7"}}},
        {29, {{"objectClass", "computer"}, {"cn", "A03"}, {"sAMAccountName", "A03"},
              {"networkAddress", "00:e0:4c:21:ce:b8"}}},
        {35, {{"objectClass", "computer"}, {"cn", "A04"}, {"sAMAccountName", "A04"}}}},
       RecordKind::List,
       "LDIF 目录导出",
       {"A01|00-E0-4C-21-CE-B6", "A02|00-E0-4C-21-CE-B7", "A03|00-E0-4C-21-CE-B8"},
       "来源：LDIF 目录导出，机器名取自 cn，MAC地址取自 networkAddress，读入 3 台，跳过 1 行（第 35 行）"},
      {"LDIF of OpenLDAP's ieee802Device entries: RFC 2307 MACs without leading zeros",
       "dn: cn=A11,ou=Hosts,dc=cafe,dc=local\nobjectClass: device\nobjectClass: ieee802Device\ncn: A11\n"
       "macAddress: 0:e0:4c:21:ce:b8\ndescription:: 5LiJ5qW85pS26ZO25Y+w\n\n"
       "dn: cn=A12,ou=Hosts,dc=cafe,dc=local\nobjectClass: device\nobjectClass: ieee802Device\ncn: A12\n"
       "macAddress: 0:e0:4c:21:ce:b9\n",
       MakeLdifLayout,
       {{1, {{"objectClass", "device"}, {"cn", "A11"}, {"macAddress", "0:e0:4c:21:ce:b8"}, {"description", "三楼收银台"}}},
        {8, {{"objectClass", "device"}, {"cn", "A12"}, {"macAddress", "0:e0:4c:21:ce:b9"}}}},
       RecordKind::List,
       "LDIF 目录导出",
       {"A11|00-E0-4C-21-CE-B8", "A12|00-E0-4C-21-CE-B9"},
       "来源：LDIF 目录导出，机器名取自 cn，MAC地址取自 macAddress，读入 2 台"},
      {"dnsmasq.conf: hosts in any order of fields, comments out",
       "# Configuration file for dnsmasq.\ndomain-needed\nbogus-priv\ninterface=br-lan\n"
       "dhcp-range=192.168.1.100,192.168.1.199,12h\n"
       "# Always give the host with Ethernet address 11:22:33:44:55:66 the name fred\n"
       "#dhcp-host=11:22:33:44:55:66,fred\n"
       "dhcp-host=00:e0:4c:21:ce:b6,A01,192.168.1.101\n"
       "dhcp-host=00:e0:4c:21:ce:b7,192.168.1.102,infinite,A02 # the second\n"
       "dhcp-host=00:e0:4c:21:ce:b8,00:e0:4c:21:ce:b9,set:vip,A03,192.168.1.103,45m\n"
       "dhcp-host=id:01:00:e0:4c:21:ce:ba,A04\n"
       "dhcp-host=00:e0:4c:21:ce:bb,ignore\n"
       "dhcp-host=00:e0:4c:21:ce:bd,192.168.1.105 # was A05\n"
       "  # dhcp-host=00:e0:4c:21:ce:bc,B01\n",
       MakeDnsmasqConfLayout,
       {{8, {{"mac", "00:e0:4c:21:ce:b6"}, {"ip", "192.168.1.101"}, {"name", "A01"}}},
        {9, {{"mac", "00:e0:4c:21:ce:b7"}, {"ip", "192.168.1.102"}, {"name", "A02"}}},
        {10, {{"mac", "00:e0:4c:21:ce:b8"}, {"ip", "192.168.1.103"}, {"name", "A03"}}},
        {10, {{"mac", "00:e0:4c:21:ce:b9"}, {"ip", "192.168.1.103"}, {"name", "A03"}}},
        {11, {{"client-id", "01:00:e0:4c:21:ce:ba"}, {"name", "A04"}}},
        {12, {{"mac", "00:e0:4c:21:ce:bb"}}},
        {13, {{"mac", "00:e0:4c:21:ce:bd"}, {"ip", "192.168.1.105"}}}},
       RecordKind::List,
       "dnsmasq 配置文件",
       {"A01|00-E0-4C-21-CE-B6", "A02|00-E0-4C-21-CE-B7", "A03|00-E0-4C-21-CE-B8", "A03|00-E0-4C-21-CE-B9",
        "A04|00-E0-4C-21-CE-BA", "|00-E0-4C-21-CE-BB", "|00-E0-4C-21-CE-BD"},
       "来源：dnsmasq 配置文件，机器名取自 name，MAC地址取自 mac，读入 15 台",
       test::NumberedHosts("dhcp-host=00:e0:4c:21:cf:NN,ANN\n", 8)},
      {"RouterOS export: escapes, a continued line, another menu's commands",
       "# jan/02/2025 10:00:00 by RouterOS 6.49\n/ip dhcp-server network\nadd address=192.168.88.0/24\n"
       "/ip dhcp-server lease\nadd address=192.168.88.11 comment=\"\\D2\\BB\\C2\\A5 01\" host-name=DESKTOP-1 "
       "mac-address=\\\n    00:1A:2B:3C:4D:01 server=dhcp1\nadd address=192.168.88.12 mac-address=00:1A:2B:3C:4D:02 "
       "host-name=PC02\n",
       MakeRouterOsExportLayout,
       {{5, {{"address", "192.168.88.11"}, {"mac-address", "00:1A:2B:3C:4D:01"}, {"server", "dhcp1"},
             {"comment/host-name", "一楼 01"}}},
        {7, {{"address", "192.168.88.12"}, {"mac-address", "00:1A:2B:3C:4D:02"}, {"comment/host-name", "PC02"}}}},
       RecordKind::List,
       "MikroTik 租约导出",
       {"一楼 01|00-1A-2B-3C-4D-01", "PC02|00-1A-2B-3C-4D-02"},
       "来源：MikroTik 租约导出，机器名取自 comment/host-n…，MAC地址取自 mac-address，读入 2 台"},
      {"OpenWrt /etc/config/dhcp: a host of three MACs",
       "config dnsmasq\n\toption domainneeded '1'\n\nconfig host\n\toption name 'A01'\n"
       "\toption mac '00:1a:2b:3c:4d:01 00:1a:2b:3c:4d:02'\n\tlist mac \"00:1a:2b:3c:4d:03\"\n\toption ip '192.168.1.11'\n",
       MakeOpenWrtConfigLayout,
       {{6, {{"name", "A01"}, {"ip", "192.168.1.11"}, {"mac", "00:1a:2b:3c:4d:01"}}},
        {6, {{"name", "A01"}, {"ip", "192.168.1.11"}, {"mac", "00:1a:2b:3c:4d:02"}}},
        {7, {{"name", "A01"}, {"ip", "192.168.1.11"}, {"mac", "00:1a:2b:3c:4d:03"}}}},
       RecordKind::List,
       "OpenWrt DHCP 配置",
       {"A01|00-1A-2B-3C-4D-01", "A01|00-1A-2B-3C-4D-02", "A01|00-1A-2B-3C-4D-03", "A11|00-1A-2B-3C-5D-11"},
       "来源：OpenWrt DHCP 配置，机器名取自 name，MAC地址取自 mac，读入 20 台",
       test::NumberedHosts("config host\n\toption name 'ANN'\n\toption mac '00:1a:2b:3c:5d:NN'\n", 17)},
      {"uci show dhcp: sections named and unnamed",
       "dhcp.@dnsmasq[0]=dnsmasq\ndhcp.@host[0]=host\ndhcp.@host[0].name='A01'\n"
       "dhcp.@host[0].mac='00:1a:2b:3c:4d:01'\ndhcp.cfg01fe=host\ndhcp.cfg01fe.mac='00:1a:2b:3c:4d:02'\n"
       "dhcp.cfg01fe.name='B'\\''s'\n",
       MakeUciShowLayout,
       {{4, {{"name", "A01"}, {"mac", "00:1a:2b:3c:4d:01"}}}, {6, {{"name", "B's"}, {"mac", "00:1a:2b:3c:4d:02"}}}},
       RecordKind::List,
       "OpenWrt DHCP 配置",
       {"A01|00-1A-2B-3C-4D-01", "B's|00-1A-2B-3C-4D-02"},
       "来源：OpenWrt DHCP 配置，机器名取自 name，MAC地址取自 mac，读入 2 台"},
      {"dhcpd.leases: every lease a sighting, its binding state told",
       "# The format of this file is documented in the dhcpd.leases(5) manual page.\n"
       "lease 192.168.1.11 {\n  starts 4 2024/06/06 10:00:00;\n  binding state free;\n"
       "  hardware ethernet 00:1a:2b:3c:4d:01;\n  client-hostname \"OLD\";\n}\n"
       "lease 192.168.1.12 {\n  binding state active;\n  next binding state free;\n  hardware ethernet 0:1a:2b:3c:4d:2;\n"
       "  set vendor-class-identifier = \"MSFT 5.0\";\n  client-hostname \"\\344\\270\\200\\346\\245\\274\";\n}\n"
       "lease 192.168.1.13 {\n  binding state backup;\n}\n",
       MakeIscLeasesLayout,
       {{2, {{"lease", "192.168.1.11"}, {"starts", "4 2024/06/06 10:00:00"}, {"binding state", "free"},
             {"hardware ethernet", "00:1a:2b:3c:4d:01"}, {"client-hostname", "OLD"}}},
        {8, {{"lease", "192.168.1.12"}, {"binding state", "active"}, {"next binding state", "free"},
             {"hardware ethernet", "00:1a:2b:3c:4d:02"}, {"set vendor-class-identifier", "MSFT 5.0"},
             {"client-hostname", "一楼"}}}},
       RecordKind::Events,
       "ISC DHCP 租约文件",
       {"一楼|00-1A-2B-3C-4D-02"},
       "来源：ISC DHCP 租约文件，机器名取自 client-hostnam…，MAC地址取自 hardware ether…，读入 1 台，跳过 1 行（第 2 行）"},
      {"dhcpd.conf: hosts inside a subnet",
       "default-lease-time 600;\nsubnet 192.168.1.0 netmask 255.255.255.0 {\n"
       "  host A01 { hardware ethernet 00:1a:2b:3c:4d:01; fixed-address 192.168.1.11; }\n"
       "  host B02\n  {\n    hardware ethernet 00:1A:2B:3C:4D:02;  # B02's\n    option host-name \"b02\";\n  }\n}\n",
       MakeIscConfigLayout,
       {{3, {{"host", "A01"}, {"hardware ethernet", "00:1a:2b:3c:4d:01"}, {"fixed-address", "192.168.1.11"}}},
        {4, {{"host", "B02"}, {"hardware ethernet", "00:1A:2B:3C:4D:02"}, {"option host-name", "b02"}}}},
       RecordKind::List,
       "ISC DHCP 配置文件",
       {"A01|00-1A-2B-3C-4D-01", "B02|00-1A-2B-3C-4D-02"},
       "来源：ISC DHCP 配置文件，机器名取自 host，MAC地址取自 hardware ether…，读入 2 台"},
      {"nmap -sn, normal output: a host by its DNS name, one by its address alone, the scanner itself",
       "Starting Nmap 7.93 ( https://nmap.org ) at 2025-07-07 10:21 CST\n"
       "Nmap scan report for a01.lan (192.168.1.101)\nHost is up (0.00675s latency).\n"
       "MAC Address: 00:E0:4C:C8:91:58 (Realtek Semiconductor)\n"
       "Nmap scan report for 192.168.1.103\nHost is up (0.00521s latency).\nMAC Address: 00:E0:4C:62:5E:1E (Realtek Semiconductor)\n"
       "Nmap scan report for 192.168.1.2\nHost is up.\n"
       "Nmap done: 256 IP addresses (3 hosts up) scanned in 2.11 seconds\n",
       MakeNmapReportLayout,
       {{2, {{"host", "a01.lan"}, {"MAC Address", "00:E0:4C:C8:91:58"}}},
        {5, {{"host", "192.168.1.103"}, {"MAC Address", "00:E0:4C:62:5E:1E"}}}},
       RecordKind::Events,
       "nmap 扫描结果",
       {"a01.lan|00-E0-4C-C8-91-58", "|00-E0-4C-62-5E-1E"},
       "来源：nmap 扫描结果，机器名取自 host，MAC地址取自 MAC Address，读入 2 台"},
      {"nbtstat -A of three addresses, in Chinese: the <00> UNIQUE name, not the workgroup's; a host not found",
       "\r\nC:\\>nbtstat -A 192.168.1.101\r\n\r\n以太网:\r\n节点 IP 址址: [192.168.1.2] 范围 ID: []\r\n\r\n"
       "           NetBIOS 远程计算机名称表\r\n\r\n       名称               类型         状态\r\n"
       "    ---------------------------------------------\r\n"
       "    WORKGROUP      <00>  组          已注册\r\n    A01            <00>  唯一        已注册\r\n"
       "    A01            <20>  唯一        已注册\r\n\r\n    MAC 地址 = 00-E0-4C-A8-32-92\r\n\r\n"
       "C:\\>nbtstat -A 192.168.1.102\r\n\r\n以太网:\r\n节点 IP 址址: [192.168.1.2] 范围 ID: []\r\n    找不到主机。\r\n\r\n"
       "C:\\>nbtstat -A 192.168.1.103\r\n\r\n           NetBIOS 远程计算机名称表\r\n\r\n"
       "    A03            <00>  唯一        已注册\r\n\r\n    MAC 地址 = 00-E0-4C-14-C0-97\r\n",
       MakeNbtstatLayout,
       {{7, {{"Name", "A01"}, {"MAC Address", "00-E0-4C-A8-32-92"}}},
        {25, {{"Name", "A03"}, {"MAC Address", "00-E0-4C-14-C0-97"}}}},
       RecordKind::Events,
       "nbtstat 名称表",
       {"A01|00-E0-4C-A8-32-92", "A03|00-E0-4C-14-C0-97"},
       "来源：nbtstat 名称表，机器名取自 Name，MAC地址取自 MAC Address，读入 2 台"},
  };
}

// Each real shape, read into records.
TEST(BlockLayouts, EachShapeGivesItsRecords) {
  for (const Shape& shape : Shapes()) {
    SCOPED_TRACE(shape.what);
    const std::unique_ptr<TableLayout> layout = shape.make(shape.text);
    const test::LayoutRecords first = test::RecordsOf(*layout);
    EXPECT_EQ(first.how, LayoutEnd::How::Done);
    ASSERT_EQ(first.records.size(), shape.records.size());
    for (std::size_t i = 0; i < shape.records.size(); ++i) {
      EXPECT_EQ(first.records[i].line, shape.records[i].line) << "record " << i;
      EXPECT_EQ(first.records[i].cells, shape.records[i].cells) << "record " << i;
    }
    EXPECT_EQ(layout->kind(), shape.kind);
    EXPECT_EQ(layout->wordsUtf8(), shape.words);
    EXPECT_EQ(test::RecordsOf(*layout).records, first.records) << "the second walk";
    StopAtFirst stop;
    EXPECT_EQ(layout->forEachRecord(stop).how, LayoutEnd::How::Stopped);
  }
}

// Each real shape loaded as the window loads a file: the machines, their
// names and the label.
TEST(BlockLayouts, EachShapeLoadsWithItsLabel) {
  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
  for (const Shape& shape : Shapes()) {
    SCOPED_TRACE(shape.what);
    test::WriteBytes(dir / "machines.txt", shape.text + shape.around);
    window.typePath(test::PathOf(dir / "machines.txt"));
    EXPECT_EQ(LoadDatabase(connection, list, window).outcome, LoadOutcome::Loaded);
    std::vector<std::string> loaded;
    for (int row = 0; row < list.count() && loaded.size() < shape.loaded.size(); ++row)
      loaded.push_back(GbkToUtf8(list.cellText(row, kMachineNameColumn)) + "|" +
                       std::string(list.cellText(row, kMacColumn)));
    EXPECT_EQ(loaded, shape.loaded);
    EXPECT_EQ(window.source, G(shape.label));
  }
}

// The claims of the layouts, asked in their order: the first that claims a
// sample is its layout; lists of any other shape are none of theirs.
TEST(BlockLayouts, ClaimedByTheirOwnShapeAlone) {
  const struct {
    const char* name;
    bool (*claims)(std::string_view);
  } order[] = {
      {"LDIF", LooksLikeLdif},
      {"ISC leases", LooksLikeIscLeases},
      {"ISC config", LooksLikeIscConfig},
      {"RouterOS export", LooksLikeRouterOsExport},
      {"OpenWrt config", LooksLikeOpenWrtConfig},
      {"uci show", LooksLikeUciShow},
      {"dnsmasq.conf", LooksLikeDnsmasqConf},
      {"RouterOS print", LooksLikeRouterOsPrint},
      {"blocks", LooksLikeBlocks},
  };
  const struct {
    const char* what;
    std::string sample;
    std::string_view claimant;  // empty: none
  } cases[] = {
      {"ipconfig /all", kIpconfigEnglish, "blocks"},
      {"ipconfig /all in Chinese", kIpconfigChinese, "blocks"},
      {"one PC's ipconfig with one adapter", std::string(kIpconfigChinese).substr(0, 320), "blocks"},
      {"RouterOS terse", " 0 D address=192.168.88.11 mac-address=00:E0:4C:21:CE:B6 host-name=A01\n", "RouterOS print"},
      {"RouterOS interfaces with a prompt",
       "[admin@MikroTik] > /interface print terse\n 0 R name=ether1 mac-address=00:E0:4C:21:CE:B6\n", "RouterOS print"},
      {"dnsmasq.conf whose hosts are all commented out", "domain-needed\n#dhcp-host=00:e0:4c:21:ce:b6,A01\n",
       "dnsmasq.conf"},
      {"LDIF without a version line", "# export\ndn: cn=A01,dc=cafe\ncn: A01\n", "LDIF"},
      {"a café's CSV", "机器名,IP地址,MAC地址\r\nPC01,192.168.1.11,00-1a-2b-3c-4d-01\r\nPC02,192.168.1.12,00-1a-2b-3c-4d-02\r\n",
       ""},
      {"a TSV of names and MACs", "A01\t00:1a:2b:3c:4d:01\nA02\t00:1a:2b:3c:4d:02\nA03\t00:1a:2b:3c:4d:03\n", ""},
      {"a TSV whose names repeat", "PC\t00:1a:2b:3c:4d:01\nPC\t00:1a:2b:3c:4d:02\nPC\t00:1a:2b:3c:4d:03\n", ""},
      {"our own export", "00-1A-2B-3C-4D-01 A01\r\n00-1A-2B-3C-4D-02 A02\r\n", ""},
      {"dnsmasq's lease file", "1751520000 00:1a:2b:3c:4d:01 192.168.1.11 A01 *\n0 00:1a:2b:3c:4d:02 192.168.1.12 * *\n",
       ""},
      {"arp -a", "\r\nInterface: 10.0.0.5 --- 0x4\r\n  Internet Address      Physical Address      Type\r\n"
                 "  10.0.0.2              00-1a-2b-3c-4d-02     dynamic\r\n",
       ""},
      {"systeminfo: a name, no MAC", "Host Name:                 A01\nOS Name:                   Microsoft Windows 10\n"
                                     "Network Card(s):           1 NIC(s) Installed.\n",
       ""},
      {"one block of settings", "[server]\nmac=00:1a:2b:3c:4d:01\nname=A01\nport=80\n", ""},
      {"a log of key=value lines after the date",
       "2024-06-01 10:00:00 lease mac=00:1a:2b:3c:4d:01 ip=192.168.1.11\n"
       "2024-06-01 10:00:05 lease mac=00:1a:2b:3c:4d:02 ip=192.168.1.12\n",
       ""},
      {"JSON", "[{\"mac\": \"00:1a:2b:3c:4d:01\", \"name\": \"A01\"},\n {\"mac\": \"00:1a:2b:3c:4d:02\"}]\n", ""},
      {"dhcpd.conf with options alone in its first bytes", "ddns-update-style none;\ndefault-lease-time 600;\n",
       "ISC config"},
      {"a whole /export, its leases further on", "# 2025-07-03 by RouterOS 7.15\n/interface bridge\nadd name=bridge\n",
       "RouterOS export"},
      {"UTF-16 without a mark", std::string("c\0o\0n\0f\0i\0g\0 \0h\0o\0s\0t\0\n\0o\0p\0t\0i\0o\0n\0 \0x\0 \0y\0", 44),
       "OpenWrt config"},
      {"semicolons and braces in a CSV", "host;A01;{\n# 注释\n#;MAC-ADDRESS;ADDRESS\n", ""},
      {"RouterOS's lease table as printed", " #   ADDRESS        MAC-ADDRESS       HOST-NAME  SERVER  STATUS\n"
                                           " 1 D 192.168.88.12  00:1A:2B:3C:4D:02 PC02       dhcp1   bound\n",
       ""},
  };
  for (const auto& c : cases) {
    const std::string sample = DecodeToUtf8(c.sample);
    std::string_view claimant;
    for (const auto& layout : order)
      if (layout.claims(sample)) {
        claimant = layout.name;
        break;
      }
    EXPECT_EQ(claimant, c.claimant) << c.what;
  }
}

// What no file may pass: the bounds of one record and of the keys, and the
// nesting of dhcpd's declarations, each refused with its bound; records
// each within the bound pass, however large together.
TEST(BlockLayouts, EachBoundRefusesWithItsWords) {
  const std::string longValue(kMaxRecordBytes, 'x');
  std::string allKeys, manyAttributes = "dn: cn=A01\nmacAddress: 00:1a:2b:3c:4d:01\n";
  for (std::uint64_t i = 0; i < kMaxRecordCells; ++i) {
    allKeys += "k" + std::to_string(i) + "=v\n";
    manyAttributes += "a" + std::to_string(i) + ": v\n";
  }
  const auto nested = [](std::uint64_t depth) {
    std::string groups;
    for (std::uint64_t i = 1; i < depth; ++i) groups += "group {\n";
    return groups + "host A01 { hardware ethernet 00:1a:2b:3c:4d:01; }\n";
  };
  const std::string mac = "m: 00:1a:2b:3c:4d:01\n";  // 17 bytes of value
  const struct {
    const char* what;
    std::string text;
    Make make;
    std::optional<Bound> bound;  // none: every record within the bounds
    std::size_t records = 0;
  } cases[] = {
      {"a block's line", "mac: 00:1a:2b:3c:4d:01\nname: " + longValue + "\n", MakeBlocksLayout, Bound::RecordBytes},
      {"a block's lines together, a byte past the bound", mac + "a: " + longValue.substr(16) + "\n", MakeBlocksLayout,
       Bound::RecordBytes},
      {"a block's lines together, the bound's bytes", mac + "a: " + longValue.substr(17) + "\n", MakeBlocksLayout,
       std::nullopt, 1},
      {"a block's keys, one past the bound", allKeys + "one=more\n", MakeBlocksLayout, Bound::RecordCells},
      {"a block's keys, as many as the bound", allKeys, MakeBlocksLayout, std::nullopt, 1},
      {"an LDIF entry's attributes", manyAttributes, MakeLdifLayout, Bound::RecordCells},
      {"an LDIF line folded long", "dn: cn=A01\ncn: a\n " + longValue + "\n", MakeLdifLayout, Bound::RecordBytes},
      {"a RouterOS entry's lines", " 0 address=1\n     comment=" + longValue + "\n", MakeRouterOsPrintLayout,
       Bound::RecordBytes},
      {"a RouterOS command continued", "/ip dhcp-server lease\nadd comment=\\\n" + longValue + "\n",
       MakeRouterOsExportLayout, Bound::RecordBytes},
      {"an ISC string", "host A01 { hardware ethernet 00:1a:2b:3c:4d:01; option host-name \"" + longValue + "\"; }",
       MakeIscConfigLayout, Bound::RecordBytes},
      {"ISC declarations nested one past the bound", nested(kMaxDepth + 1), MakeIscConfigLayout, Bound::Depth},
      {"ISC declarations nested as deep as the bound", nested(kMaxDepth), MakeIscConfigLayout, std::nullopt, 1},
      {"an OpenWrt line", "config host\n\toption name '" + longValue + "'\n", MakeOpenWrtConfigLayout,
       Bound::RecordBytes},
      {"a dnsmasq line", "dhcp-host=00:1a:2b:3c:4d:01," + longValue + "\n", MakeDnsmasqConfLayout, Bound::RecordBytes},
      {"RouterOS entries of half the bound each",
       " 0 comment=" + longValue.substr(kMaxRecordBytes / 2) + "\n 1 comment=" + longValue.substr(kMaxRecordBytes / 2) + "\n",
       MakeRouterOsPrintLayout, std::nullopt, 2},
      {"blocks of half the bound each", "a: " + longValue.substr(kMaxRecordBytes / 2) + "\n\na: " +
                                           longValue.substr(kMaxRecordBytes / 2) + "\n",
       MakeBlocksLayout, std::nullopt, 2},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<TableLayout> layout = c.make(c.text);
    const test::LayoutRecords records = test::RecordsOf(*layout);
    EXPECT_EQ(records.how, c.bound ? LayoutEnd::How::TooLarge : LayoutEnd::How::Done) << c.what;
    EXPECT_EQ(records.records.size(), c.records) << c.what;
    Collect none;
    if (c.bound) {
      EXPECT_EQ(layout->forEachRecord(none).bound, *c.bound) << c.what;
    }
    EXPECT_LE(layout->columnNames().size(), kMaxRecordCells) << c.what;
  }
}

// Each way a line writes a key and its value, as the programs print them.
TEST(BlockLayouts, EachWayOfWritingAPair) {
  const struct {
    std::string_view line;
    PairForm form;
    std::optional<std::pair<std::string_view, std::string_view>> pair;
  } cases[] = {
      {"   Connection-specific DNS Suffix  . : cafe.local", PairForm::Colon,
       std::pair{"Connection-specific DNS Suffix", "cafe.local"}},
      {"   主机名  . . . . . . . . . . . . . : B01", PairForm::Colon, std::pair{"主机名", "B01"}},
      {"   Primary Dns Suffix  . . . . . . . :", PairForm::Colon, std::pair{"Primary Dns Suffix", ""}},
      {"LinkSpeed(Gbps)            : 1", PairForm::Colon, std::pair{"LinkSpeed(Gbps)", "1"}},
      {"Physical Address: 00-E0-4C-21-CE-B6", PairForm::Colon, std::pair{"Physical Address", "00-E0-4C-21-CE-B6"}},
      {"No.: 5", PairForm::Colon, std::pair{"No.", "5"}},
      {"10:00:00 a time, no key", PairForm::Colon, std::nullopt},
      {"MACAddress=00:E0:4C:21:CE:B6", PairForm::Equals, std::pair{"MACAddress", "00:E0:4C:21:CE:B6"}},
      {"Name=\"A 01\"", PairForm::Equals, std::pair{"Name", "A 01"}},
      {"0 D name=ether1", PairForm::Equals, std::nullopt},
      {"hwaddr 00:1a:2b:3c:4d:5e", PairForm::Blank, std::pair{"hwaddr", "00:1a:2b:3c:4d:5e"}},
      {"00:1a:2b:3c:4d:5e A01", PairForm::Blank, std::nullopt},
  };
  for (const auto& c : cases) {
    Pair pair;
    const bool read = ReadPair(c.line, c.form, pair);
    EXPECT_EQ(read, c.pair.has_value()) << c.line;
    if (read && c.pair) {
      EXPECT_EQ(std::pair(pair.key, pair.value), *c.pair) << c.line;
    }
  }
}

// RFC 4648's test vectors, and what is no base64.
TEST(BlockLayouts, Base64DecodesRfc4648) {
  const struct {
    std::string_view text;
    std::optional<std::string> bytes;
  } cases[] = {
      {"", ""},          {"Zg==", "f"},       {"Zm8=", "fo"},        {"Zm9v", "foo"},        {"Zm9vYg==", "foob"},
      {"Zm9vYmE=", "fooba"}, {"Zm9v YmFy", "foobar"}, {"Zg=", std::nullopt}, {"Z===", std::nullopt},
      {"Zm9", std::nullopt}, {"Zg==Zg==", std::nullopt}, {"Zm9v!", std::nullopt}, {"Zm-v", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeBase64(c.text), c.bytes) << c.text;
}

}  // namespace
}  // namespace venbrook
