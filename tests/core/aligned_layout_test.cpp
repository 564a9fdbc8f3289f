#include "sources/aligned/aligned_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/load_database.h"
#include "model/text_codec.h"
#include "sources/aligned/ip_neighbours.h"
#include "sources/aligned/line_kinds.h"
#include "sources/aligned/shown_line.h"
#include "sources/aligned/table_columns.h"
#include "support/fake_window.h"
#include "support/layout_records.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Texts = std::vector<std::string>;

// A record as "line: column=value | …", its columns in name order.
Texts Rendered(const test::LayoutRecords& read) {
  Texts rendered;
  for (const test::LayoutRecord& record : read.records) {
    std::string text = std::to_string(record.line) + ":";
    for (const auto& [column, value] : record.cells) text += " " + column + "=" + value + " |";
    rendered.push_back(text);
  }
  return rendered;
}

struct Shape {
  const char* what;
  std::string text;
  std::string_view words;
  RecordKind kind;
  Texts columns;
  Texts records;
  Texts machines;     // loaded as the window loads the file: "name=MAC"
  std::string label;  // the source label then
  std::unique_ptr<TableLayout> (*make)(std::string_view) = MakeAlignedLayout;
};

constexpr RecordKind kEvents = RecordKind::Events, kList = RecordKind::List;

// Each shape as the command prints it (from its maker's documentation),
// with what comes around it in a copy from the terminal: its records, then
// the machines and the label when the window loads it.
TEST(AlignedLayout, EachShapeReadsAndLoads) {
  const std::vector<Shape> shapes = {
      {"Cisco IOS show mac address-table: a title, a rule with gaps, --More-- rubbed out, the total",
       "Switch#show mac address-table\n          Mac Address Table\n-------------------------------------------\n\n"
       "Vlan    Mac Address       Type        Ports\n----    -----------       --------    -----\n"
       " All    0100.0ccc.cccc    STATIC      CPU\n   1    001a.2b3c.4d01    DYNAMIC     Gi1/0/24\n"
       " --More-- \b\b\b\b\b\b\b\b\b\b          \b\b\b\b\b\b\b\b\b\b  10    001a.2b3c.4d02    DYNAMIC     Fa0/1\n"
       "Total Mac Addresses for this criterion: 3\nSwitch#\n",
       "对齐的表格", kEvents, {"Vlan", "Mac Address", "Type", "Ports"},
       {"7: Mac Address=0100.0ccc.cccc | Ports=CPU | Type=STATIC | Vlan=All |",
        "8: Mac Address=001a.2b3c.4d01 | Ports=Gi1/0/24 | Type=DYNAMIC | Vlan=1 |",
        "9: Mac Address=001a.2b3c.4d02 | Ports=Fa0/1 | Type=DYNAMIC | Vlan=10 |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：对齐的表格，没有机器名列，MAC地址取自 Mac Address，读入 2 台，跳过 1 行（第 7 行）"},
      {"Cisco IOS show ip arp: an age written to the right under \"Age (min)\", the pager's prompt alone, an "
       "incomplete entry",
       "Router#show ip arp\nProtocol  Address          Age (min)  Hardware Addr   Type   Interface\n"
       "Internet  192.168.1.11           21   001a.2b3c.4d01  ARPA   FastEthernet0/0\n"
       "Internet  192.168.1.12            -   001a.2b3c.4d02  ARPA   FastEthernet0/0\n --More-- \n"
       "Internet  192.168.1.13            0   Incomplete      ARPA\nRouter#\n",
       "ARP 表", kEvents, {"Protocol", "Address", "Age (min)", "Hardware Addr", "Type", "Interface"},
       {"3: Address=192.168.1.11 | Age (min)=21 | Hardware Addr=001a.2b3c.4d01 | Interface=FastEthernet0/0 | "
        "Protocol=Internet | Type=ARPA |",
        "4: Address=192.168.1.12 | Age (min)=- | Hardware Addr=001a.2b3c.4d02 | Interface=FastEthernet0/0 | "
        "Protocol=Internet | Type=ARPA |",
        "6: Address=192.168.1.13 | Age (min)=0 | Hardware Addr=Incomplete | Protocol=Internet | Type=ARPA |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：ARP 表，没有机器名列，MAC地址取自 Hardware Addr，读入 2 台，跳过 1 行（第 6 行）"},
      {"Cisco IOS show ip dhcp binding: a heading of three lines, a client id going on over lines",
       "Router#show ip dhcp binding\nBindings from all pools not associated with VRF:\n"
       "IP address          Client-ID/              Lease expiration        Type\n"
       "                    Hardware address/\n                    User name\n"
       "192.168.1.11        0100.1a2b.3c4d.01       Mar 02 2025 06:00 AM    Automatic\n"
       "192.168.1.12        0063.6973.636f.2d30.    Mar 01 2025 12:00 PM    Automatic\n"
       "                    3030.302e.6162.6364.\n                    2e65.6667.68\n"
       "192.168.1.13        0100.1a2b.3c4d.03       Infinite                Manual\n",
       "对齐的表格", kEvents, {"IP address", "Client-ID/Hardware address/User name", "Lease expiration", "Type"},
       {"6: Client-ID/Hardware address/User name=0100.1a2b.3c4d.01 | IP address=192.168.1.11 | "
        "Lease expiration=Mar 02 2025 06:00 AM | Type=Automatic |",
        "7: Client-ID/Hardware address/User name=0063.6973.636f.2d30. 3030.302e.6162.6364. 2e65.6667.68 | "
        "IP address=192.168.1.12 | Lease expiration=Mar 01 2025 12:00 PM | Type=Automatic |",
        "10: Client-ID/Hardware address/User name=0100.1a2b.3c4d.03 | IP address=192.168.1.13 | "
        "Lease expiration=Infinite | Type=Manual |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-03"},
       "来源：对齐的表格，没有机器名列，MAC地址取自 Client-ID/Hard…，读入 2 台，跳过 1 行（第 7 行）"},
      {"Huawei display arp: two heading lines, VLANs on a second line, the pager drawn out, rules and total",
       "<HUAWEI> display arp\nIP ADDRESS      MAC ADDRESS     EXPIRE(M) TYPE        INTERFACE   VPN-INSTANCE\n"
       "                                          VLAN/CEVLAN PVC\n"
       "------------------------------------------------------------------------------\n"
       "192.168.1.1     00e0-fc12-3456            I -         Vlanif10\n"
       "192.168.1.11    001a-2b3c-4d01  20        D-0         GE0/0/1\n                                          10/-\n"
       "  ---- More ----\x1b[42D                                          \x1b[42D"
       "192.168.1.12    001a-2b3c-4d02  19        D-0         GE0/0/2\n                                          10/-\n"
       "------------------------------------------------------------------------------\n"
       "Total:3         Dynamic:2       Static:0     Interface:1\n",
       "ARP 表", kEvents, {"IP ADDRESS", "MAC ADDRESS", "EXPIRE(M)", "TYPE VLAN/CEVLAN", "INTERFACE PVC", "VPN-INSTANCE"},
       {"5: INTERFACE PVC=Vlanif10 | IP ADDRESS=192.168.1.1 | MAC ADDRESS=00e0-fc12-3456 | TYPE VLAN/CEVLAN=I - |",
        "6: EXPIRE(M)=20 | INTERFACE PVC=GE0/0/1 | IP ADDRESS=192.168.1.11 | MAC ADDRESS=001a-2b3c-4d01 | "
        "TYPE VLAN/CEVLAN=D-0 10/- |",
        "8: EXPIRE(M)=19 | INTERFACE PVC=GE0/0/2 | IP ADDRESS=192.168.1.12 | MAC ADDRESS=001a-2b3c-4d02 | "
        "TYPE VLAN/CEVLAN=D-0 10/- |"},
       {"=00-E0-FC-12-34-56", "=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：ARP 表，没有机器名列，MAC地址取自 MAC ADDRESS，读入 3 台"},
      {"Huawei display mac-address: one blank between MAC and VLAN, the pager's prompt alone on a line",
       "<HUAWEI> display mac-address\n-------------------------------------------------------------------------------\n"
       "MAC Address    VLAN/VSI                          Learned-From        Type\n"
       "-------------------------------------------------------------------------------\n"
       "001a-2b3c-4d01 10/-                              GE1/0/3             dynamic\n  ---- More ----\n"
       "001a-2b3c-4d02 10/-                              Eth-Trunk2          dynamic\n"
       "-------------------------------------------------------------------------------\nTotal items displayed = 2\n",
       "对齐的表格", kEvents, {"MAC Address", "VLAN/VSI", "Learned-From", "Type"},
       {"5: Learned-From=GE1/0/3 | MAC Address=001a-2b3c-4d01 | Type=dynamic | VLAN/VSI=10/- |",
        "7: Learned-From=Eth-Trunk2 | MAC Address=001a-2b3c-4d02 | Type=dynamic | VLAN/VSI=10/- |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：对齐的表格，没有机器名列，MAC地址取自 MAC Address，读入 2 台"},
      {"H3C display arp: a legend above the heading, \"VLAN/VSI name\" one blank from \"Interface\"",
       "<H3C>display arp\n  Type: S-Static   D-Dynamic   O-Openflow   R-Rule   M-Multiport  I-Invalid\n"
       "IP address      MAC address    VLAN/VSI name Interface                Aging Type\n"
       "172.18.5.93     023b-3818-1fdf 50            GE1/0/1                  757   D\n"
       "172.18.5.111    22fb-4aa6-ccfe 50            GE1/0/1                  1177  D\n",
       "ARP 表", kEvents, {"IP address", "MAC address", "VLAN/VSI name", "Interface", "Aging", "Type"},
       {"4: Aging=757 | IP address=172.18.5.93 | Interface=GE1/0/1 | MAC address=023b-3818-1fdf | Type=D | "
        "VLAN/VSI name=50 |",
        "5: Aging=1177 | IP address=172.18.5.111 | Interface=GE1/0/1 | MAC address=22fb-4aa6-ccfe | Type=D | "
        "VLAN/VSI name=50 |"},
       {"=02-3B-38-18-1F-DF", "=22-FB-4A-A6-CC-FE"},
       "来源：ARP 表，没有机器名列，MAC地址取自 MAC address，读入 2 台"},
      {"Juniper show arp no-resolve: the MAC first, one blank before the address",
       "user@host> show arp no-resolve\nMAC Address       Address         Interface     Flags\n"
       "00:1a:2b:3c:4d:01 10.0.0.1        ge-0/0/0.0    none\n00:1a:2b:3c:4d:02 10.0.0.3        fxp0.0        none\n"
       "Total entries: 2\n",
       "ARP 表", kEvents, {"MAC Address", "Address", "Interface", "Flags"},
       {"3: Address=10.0.0.1 | Flags=none | Interface=ge-0/0/0.0 | MAC Address=00:1a:2b:3c:4d:01 |",
        "4: Address=10.0.0.3 | Flags=none | Interface=fxp0.0 | MAC Address=00:1a:2b:3c:4d:02 |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：ARP 表，没有机器名列，MAC地址取自 MAC Address，读入 2 台"},
      {"Windows arp -a: a table an interface, sharing their columns; an entry without its address",
       "\r\nInterface: 192.168.1.5 --- 0xb\r\n  Internet Address      Physical Address      Type\r\n"
       "  192.168.1.1           00-1a-2b-3c-4d-01     dynamic\r\n  192.168.1.255         ff-ff-ff-ff-ff-ff     static\r\n"
       "\r\nInterface: 10.0.0.5 --- 0x4\r\n  Internet Address      Physical Address      Type\r\n"
       "  10.0.0.2              00-1a-2b-3c-4d-02     dynamic\r\n  10.0.0.9              dynamic\r\n",
       "ARP 表", kEvents, {"Internet Address", "Physical Address", "Type"},
       {"4: Internet Address=192.168.1.1 | Physical Address=00-1a-2b-3c-4d-01 | Type=dynamic |",
        "5: Internet Address=192.168.1.255 | Physical Address=ff-ff-ff-ff-ff-ff | Type=static |",
        "9: Internet Address=10.0.0.2 | Physical Address=00-1a-2b-3c-4d-02 | Type=dynamic |",
        "10: Internet Address=10.0.0.9 | Physical Address=dynamic |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：ARP 表，没有机器名列，MAC地址取自 Physical Addre…，读入 2 台，跳过 2 行（第 5、10 行）"},
      {"Windows arp -a in Chinese: two columns a character",
       "\r\n接口: 192.168.1.5 --- 0xb\r\n  Internet 地址         物理地址              类型\r\n"
       "  192.168.1.1           00-1a-2b-3c-4d-01     动态\r\n  192.168.1.255         ff-ff-ff-ff-ff-ff     静态\r\n",
       "ARP 表", kEvents, {"Internet 地址", "物理地址", "类型"},
       {"4: Internet 地址=192.168.1.1 | 物理地址=00-1a-2b-3c-4d-01 | 类型=动态 |",
        "5: Internet 地址=192.168.1.255 | 物理地址=ff-ff-ff-ff-ff-ff | 类型=静态 |"},
       {"=00-1A-2B-3C-4D-01"},
       "来源：ARP 表，没有机器名列，MAC地址取自 物理地址，读入 1 台，跳过 1 行（第 5 行）"},
      {"netsh interface ipv4 show neighbors in Chinese",
       "\r\n接口 11: 以太网\r\n\r\n\r\nInternet 地址                                 物理地址           类型\r\n"
       "--------------------------------------------  -----------------  -----------\r\n"
       "192.168.1.1                                   00-1a-2b-3c-4d-01  可访问\r\n"
       "192.168.1.255                                 ff-ff-ff-ff-ff-ff  永久\r\n",
       "对齐的表格", kEvents, {"Internet 地址", "物理地址", "类型"},
       {"7: Internet 地址=192.168.1.1 | 物理地址=00-1a-2b-3c-4d-01 | 类型=可访问 |",
        "8: Internet 地址=192.168.1.255 | 物理地址=ff-ff-ff-ff-ff-ff | 类型=永久 |"},
       {"=00-1A-2B-3C-4D-01"},
       "来源：对齐的表格，没有机器名列，MAC地址取自 物理地址，读入 1 台，跳过 1 行（第 8 行）"},
      {"netsh dhcp server scope show clients 1: columns parted by \" - \", a blank line under the rule, a BAD_ADDRESS",
       "\r\nType : N - NONE, D - DHCP B - BOOTP, U - UNSPECIFIED, R - RESERVATION IP\r\n"
       "============================================================================================\r\n"
       "IP Address      - Subnet Mask    - Unique ID           - Lease Expires        -Type -Name   \r\n"
       "============================================================================================\r\n\r\n"
       "192.168.1.101   - 255.255.255.0  - 00-e0-4c-a7-63-64   - NEVER EXPIRES         -R-  A01\r\n"
       "192.168.1.177   - 255.255.255.0  -b1-01-a8-c0         - 7/8/2025 10:02:11 AM  -D-  BAD_ADDRESS\r\n"
       "192.168.1.109   - 255.255.255.0  - 00-e0-4c-3a-a5-40   - 7/8/2025 9:47:16 AM   -D-  A09\r\n\r\n"
       "No of Clients(version 4): 3 in the Scope : 192.168.1.0.\r\n",
       "对齐的表格", kEvents, {"IP Address", "Subnet Mask", "Unique ID", "Lease Expires", "Type", "Name"},
       {"7: IP Address=192.168.1.101 | Lease Expires=NEVER EXPIRES | Name=A01 | Subnet Mask=255.255.255.0 | Type=R- | "
        "Unique ID=00-e0-4c-a7-63-64 |",
        // Its one hyphen that parts columns has no blank after it: the line is left as it is.
        "8: IP Address=192.168.1.177 | Lease Expires=7/8/2025 10:02:11 AM | Name=BAD_ADDRESS | "
        "Subnet Mask=- 255.255.255.0 | Type=-D- | Unique ID=-b1-01-a8-c0         - |",
        "9: IP Address=192.168.1.109 | Lease Expires=7/8/2025 9:47:16 AM | Name=A09 | Subnet Mask=255.255.255.0 | "
        "Type=D- | Unique ID=00-e0-4c-3a-a5-40 |"},
       {"A01=00-E0-4C-A7-63-64", "A09=00-E0-4C-3A-A5-40"},
       "来源：对齐的表格，机器名取自 Name，MAC地址取自 Unique ID，读入 2 台，跳过 1 行（第 8 行）"},
      {"getmac /v: values cut at the rule's width, one blank between columns, several adapters",
       "\r\nConnection Name Network Adapter Physical Address    Transport Name\r\n"
       "=============== =============== =================== ==========================================================\r\n"
       "Ethernet        Intel(R) Ethern 00-1A-2B-3C-4D-01   \\Device\\Tcpip_{2D8A1B4C-5E6F-4A7B-8C9D-0E1F2A3B4C5D}\r\n"
       "Wi-Fi           Intel(R) Dual B 00-1A-2B-3C-4D-02   Media disconnected\r\n"
       "Bluetooth Netwo Bluetooth Devic 00-1A-2B-3C-4D-03   Media disconnected\r\n",
       "对齐的表格", kList, {"Connection Name", "Network Adapter", "Physical Address", "Transport Name"},
       {"4: Connection Name=Ethernet | Network Adapter=Intel(R) Ethern | Physical Address=00-1A-2B-3C-4D-01 | "
        "Transport Name=\\Device\\Tcpip_{2D8A1B4C-5E6F-4A7B-8C9D-0E1F2A3B4C5D} |",
        "5: Connection Name=Wi-Fi | Network Adapter=Intel(R) Dual B | Physical Address=00-1A-2B-3C-4D-02 | "
        "Transport Name=Media disconnected |",
        "6: Connection Name=Bluetooth Netwo | Network Adapter=Bluetooth Devic | Physical Address=00-1A-2B-3C-4D-03 | "
        "Transport Name=Media disconnected |"},
       {"=00-1A-2B-3C-4D-01"},
       "来源：对齐的表格，没有机器名列，MAC地址取自 Physical Addre…，读入 1 台，跳过 2 行（第 5、6 行）"},
      {"Get-NetNeighbor | Format-Table",
       "\r\nifIndex IPAddress                                          LinkLayerAddress      State       PolicyStore\r\n"
       "------- ---------                                          ----------------      -----       -----------\r\n"
       "12      192.168.1.11                                       00-1A-2B-3C-4D-01     Reachable   ActiveStore\r\n"
       "12      192.168.1.20                                       00-00-00-00-00-00     Unreachable ActiveStore\r\n",
       "ARP 表", kEvents, {"ifIndex", "IPAddress", "LinkLayerAddress", "State", "PolicyStore"},
       {"4: IPAddress=192.168.1.11 | LinkLayerAddress=00-1A-2B-3C-4D-01 | PolicyStore=ActiveStore | State=Reachable | "
        "ifIndex=12 |",
        "5: IPAddress=192.168.1.20 | LinkLayerAddress=00-00-00-00-00-00 | PolicyStore=ActiveStore | State=Unreachable | "
        "ifIndex=12 |"},
       {"=00-1A-2B-3C-4D-01"},
       "来源：ARP 表，没有机器名列，MAC地址取自 LinkLayerAddre…，读入 1 台，跳过 1 行（第 5 行）"},
      {"Get-NetAdapter | Format-Table: numbers to the right, values cut short with ..., an adapter without a MAC",
       "\r\nName                      InterfaceDescription                    ifIndex Status       MacAddress             LinkSpeed\r\n"
       "----                      --------------------                    ------- ------       ----------             ---------\r\n"
       "Ethernet 2                Cisco AnyConnect Secure Mobility Cli...      25 Not Present  00-1A-2B-3C-4D-01         0 bps\r\n"
       "WLAN                      Intel(R) Dual Band Wireless-AC 8265          22 Up           00-1A-2B-3C-4D-02     866.7 Mbps\r\n"
       "vEthernet (Default Swi... Hyper-V Virtual Ethernet Adapter             64 Up           00-1A-2B-3C-4D-03       10 Gbps\r\n"
       "LAN-Verbindung 2          Wintun Userspace Tunnel                       4 Up                                 100 Gbps\r\n",
       "对齐的表格", kList, {"Name", "InterfaceDescription", "ifIndex", "Status", "MacAddress", "LinkSpeed"},
       {"4: LinkSpeed=0 bps | MacAddress=00-1A-2B-3C-4D-01 | Name=Ethernet 2 | Status=Not Present | ifIndex=25 |",
        "5: InterfaceDescription=Intel(R) Dual Band Wireless-AC 8265 | LinkSpeed=866.7 Mbps | "
        "MacAddress=00-1A-2B-3C-4D-02 | Name=WLAN | Status=Up | ifIndex=22 |",
        "6: InterfaceDescription=Hyper-V Virtual Ethernet Adapter | LinkSpeed=10 Gbps | MacAddress=00-1A-2B-3C-4D-03 | "
        "Status=Up | ifIndex=64 |",
        "7: InterfaceDescription=Wintun Userspace Tunnel | LinkSpeed=100 Gbps | Name=LAN-Verbindung 2 | Status=Up | "
        "ifIndex=4 |"},
       // A virtual adapter, a VPN's, Wi-Fi without an address: none is a machine.
       {},
       "未载入：copy.txt 里没有找到机器列表"},
      {"Linux arp -n: an empty Mask column, an incomplete entry",
       "$ arp -n\nAddress                  HWtype  HWaddress           Flags Mask            Iface\n"
       "192.168.1.1              ether   00:1a:2b:3c:4d:01   C                     eth0\n"
       "192.168.1.12                     (incomplete)                              eth0\n"
       "192.168.1.13             ether   00:1a:2b:3c:4d:03   CM                    eth0\n",
       "ARP 表", kEvents, {"Address", "HWtype", "HWaddress", "Flags Mask", "Iface"},
       {"3: Address=192.168.1.1 | Flags Mask=C | HWaddress=00:1a:2b:3c:4d:01 | HWtype=ether | Iface=eth0 |",
        "4: Address=192.168.1.12 | HWaddress=(incomplete) | Iface=eth0 |",
        "5: Address=192.168.1.13 | Flags Mask=CM | HWaddress=00:1a:2b:3c:4d:03 | HWtype=ether | Iface=eth0 |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-03"},
       "来源：ARP 表，没有机器名列，MAC地址取自 HWaddress，读入 2 台，跳过 1 行（第 4 行）"},
      {"Linux /proc/net/arp",
       "IP address       HW type     Flags       HW address            Mask     Device\n"
       "192.168.1.12     0x1         0x2         00:1a:2b:3c:4d:02     *        br-lan\n",
       "ARP 表", kEvents, {"IP address", "HW type", "Flags", "HW address", "Mask", "Device"},
       {"2: Device=br-lan | Flags=0x2 | HW address=00:1a:2b:3c:4d:02 | HW type=0x1 | IP address=192.168.1.12 | Mask=* |"},
       {"=00-1A-2B-3C-4D-02"},
       "来源：ARP 表，没有机器名列，MAC地址取自 HW address，读入 1 台"},
      {"Linux ip neigh: a neighbour a line, IPv6 passed over, a failed one",
       "192.168.1.13 dev br-lan lladdr 00:1a:2b:3c:4d:03 REACHABLE\nfe80::1 dev br-lan lladdr 00:1a:2b:3c:4d:03 router STALE\n"
       "192.168.1.14 dev br-lan  FAILED\n",
       "ARP 表", kEvents, {"dst", "dev", "lladdr", "used", "probes", "state"},
       {"1: dev=br-lan | dst=192.168.1.13 | lladdr=00:1a:2b:3c:4d:03 | state=REACHABLE |",
        "3: dev=br-lan | dst=192.168.1.14 | state=FAILED |"},
       {"=00-1A-2B-3C-4D-03"},
       "来源：ARP 表，没有机器名列，MAC地址取自 lladdr，读入 1 台，跳过 1 行（第 3 行）",
       MakeIpNeighboursLayout},
      {"MikroTik /ip arp print: the number and the flags of each entry apart",
       "[admin@MikroTik] > /ip arp print\n"
       "Flags: X - disabled, I - invalid, H - DHCP, D - dynamic, P - published, C - complete\n"
       " #    ADDRESS         MAC-ADDRESS       INTERFACE\n 0 DC 192.168.88.11   00:1A:2B:3C:4D:01 bridge\n"
       " 1 DC 192.168.88.12   00:1A:2B:3C:4D:02 bridge\n",
       "ARP 表", kEvents, {"#", "ADDRESS", "MAC-ADDRESS", "INTERFACE", "Flags"},
       {"4: #=0 | ADDRESS=192.168.88.11 | Flags=DC | INTERFACE=bridge | MAC-ADDRESS=00:1A:2B:3C:4D:01 |",
        "5: #=1 | ADDRESS=192.168.88.12 | Flags=DC | INTERFACE=bridge | MAC-ADDRESS=00:1A:2B:3C:4D:02 |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：ARP 表，没有机器名列，MAC地址取自 MAC-ADDRESS，读入 2 台"},
      {"MikroTik /ip dhcp-server lease print: a comment names the entry after it, on its own line or after the number",
       "[admin@MikroTik] /ip dhcp-server lease> print\nFlags: X - disabled, R - radius, D - dynamic, B - blocked\n"
       " #   ADDRESS        MAC-ADDRESS       HOST-NAME  SERVER  STATUS\n"
       " 0   ;;; A01\n     192.168.88.11  00:1A:2B:3C:4D:01 DESKTOP-1  dhcp1   bound\n"
       " 1 D 192.168.88.12  00:1A:2B:3C:4D:02 PC02       dhcp1   bound\n"
       ";;; 三楼\n 2 D 192.168.88.13  00:1A:2B:3C:4D:03            dhcp1   bound\n",
       "MikroTik 租约列表", kEvents, {"#", "ADDRESS", "MAC-ADDRESS", "HOST-NAME", "SERVER", "STATUS", "Flags"},
       {"5: ADDRESS=192.168.88.11 | HOST-NAME=A01 | MAC-ADDRESS=00:1A:2B:3C:4D:01 | SERVER=dhcp1 | STATUS=bound |",
        "6: #=1 | ADDRESS=192.168.88.12 | Flags=D | HOST-NAME=PC02 | MAC-ADDRESS=00:1A:2B:3C:4D:02 | SERVER=dhcp1 | "
        "STATUS=bound |",
        "8: #=2 | ADDRESS=192.168.88.13 | Flags=D | HOST-NAME=三楼 | MAC-ADDRESS=00:1A:2B:3C:4D:03 | SERVER=dhcp1 | "
        "STATUS=bound |"},
       {"A01=00-1A-2B-3C-4D-01", "PC02=00-1A-2B-3C-4D-02", "三楼=00-1A-2B-3C-4D-03"},
       "来源：MikroTik 租约列表，机器名取自 HOST-NAME，MAC地址取自 MAC-ADDRESS，读入 3 台"},
      {"nbtscan: a scanner's table, a host that answered with an error",
       "Doing NBT name scan for addresses from 192.168.1.0/24\n\n"
       "IP address       NetBIOS Name     Server    User             MAC address      \n"
       "------------------------------------------------------------------------------\n"
       "192.168.1.11     A01              <server>  <unknown>        00:1a:2b:3c:4d:01\n"
       "192.168.1.12     A02                        <unknown>        00:1a:2b:3c:4d:02\n"
       "192.168.1.13     Sendto failed: Connection refused\n",
       "对齐的表格", kEvents, {"IP address", "NetBIOS Name", "Server", "User", "MAC address"},
       {"5: IP address=192.168.1.11 | MAC address=00:1a:2b:3c:4d:01 | NetBIOS Name=A01 | Server=<server> | "
        "User=<unknown> |",
        "6: IP address=192.168.1.12 | MAC address=00:1a:2b:3c:4d:02 | NetBIOS Name=A02 | User=<unknown> |",
        "7: IP address=192.168.1.13 | NetBIOS Name=Sendto | Server=failed: Connection | User=refused |"},
       {"A01=00-1A-2B-3C-4D-01", "A02=00-1A-2B-3C-4D-02"},
       "来源：对齐的表格，机器名取自 NetBIOS Name，MAC地址取自 MAC address，读入 2 台，跳过 1 行（第 7 行）"},
      {"two switches' outputs one after the other, each with its prompt: one set of columns",
       "SW1#show mac address-table dynamic\nVlan    Mac Address       Type        Ports\n"
       "----    -----------       --------    -----\n   1    001a.2b3c.4d01    DYNAMIC     Gi1/0/1\n"
       "SW2#show mac address-table dynamic\nVlan    Mac Address       Type        Ports\n"
       "----    -----------       --------    -----\n  20    001a.2b3c.4d02    DYNAMIC     Gi1/0/2\n",
       "对齐的表格", kEvents, {"Vlan", "Mac Address", "Type", "Ports"},
       {"4: Mac Address=001a.2b3c.4d01 | Ports=Gi1/0/1 | Type=DYNAMIC | Vlan=1 |",
        "8: Mac Address=001a.2b3c.4d02 | Ports=Gi1/0/2 | Type=DYNAMIC | Vlan=20 |"},
       {"=00-1A-2B-3C-4D-01", "=00-1A-2B-3C-4D-02"},
       "来源：对齐的表格，没有机器名列，MAC地址取自 Mac Address，读入 2 台"},
      {"a café's own list aligned with blanks: an empty remark, a blank line inside, a machine without its name, a "
       "MAC after the table",
       "机器名    IP地址          MAC地址              备注\nA01       192.168.1.11    00-1A-2B-3C-4D-01    一楼\n"
       "A02       192.168.1.12    00-1A-2B-3C-4D-02\n\nA03       192.168.1.13    00-1A-2B-3C-4D-03    二楼\n"
       "          192.168.1.14    00-1A-2B-3C-4D-04\n\n交换机的管理地址是 00-1A-2B-3C-4D-FF\n",
       "对齐的表格", kList, {"机器名", "IP地址", "MAC地址", "备注"},
       {"2: IP地址=192.168.1.11 | MAC地址=00-1A-2B-3C-4D-01 | 备注=一楼 | 机器名=A01 |",
        "3: IP地址=192.168.1.12 | MAC地址=00-1A-2B-3C-4D-02 | 机器名=A02 |",
        "5: IP地址=192.168.1.13 | MAC地址=00-1A-2B-3C-4D-03 | 备注=二楼 | 机器名=A03 |",
        "6: IP地址=192.168.1.14 | MAC地址=00-1A-2B-3C-4D-04 |", "8:"},
       {"A01=00-1A-2B-3C-4D-01", "A02=00-1A-2B-3C-4D-02", "A03=00-1A-2B-3C-4D-03", "=00-1A-2B-3C-4D-04"},
       "来源：对齐的表格，机器名取自 机器名，MAC地址取自 MAC地址，读入 4 台，跳过 1 行（第 8 行）"},
  };
  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.what);
    // As the window loads the file: GBK where a Chinese Windows wrote it.
    const bool chinese = std::any_of(shape.text.begin(), shape.text.end(), [](char c) { return c & 0x80; });
    test::WriteBytes(dir / "copy.txt", chinese ? Gbk(shape.text) : shape.text);
    window.typePath(test::PathOf(dir / "copy.txt"));
    list.clear();  // a file without a list leaves the list as it was
    LoadDatabase(connection, list, window);
    Texts machines;
    for (int i = 0; i < list.count(); ++i)
      machines.push_back(GbkToUtf8(list.cellText(i, kMachineNameColumn)) + "=" + std::string(list.cellText(i, kMacColumn)));
    EXPECT_EQ(machines, shape.machines);
    EXPECT_EQ(GbkToUtf8(window.source), shape.label);

    const std::unique_ptr<TableLayout> layout = shape.make(shape.text);
    const test::LayoutRecords first = test::RecordsOf(*layout), second = test::RecordsOf(*layout);
    EXPECT_EQ(first.how, LayoutEnd::How::Done);
    EXPECT_EQ(Rendered(first), shape.records);
    EXPECT_EQ(second.records, first.records);
    EXPECT_EQ(layout->columnNames(), shape.columns);
    EXPECT_EQ(layout->wordsUtf8(), shape.words);
    EXPECT_EQ(layout->kind(), shape.kind);
    EXPECT_EQ(ClaimsAlignedTable(shape.text), shape.make == MakeAlignedLayout);
    EXPECT_EQ(ClaimsIpNeighbours(shape.text), shape.make == MakeIpNeighboursLayout);
  }
}

// Corners no real shape shows, each a record of at most one cell a column.
TEST(AlignedLayout, OddCorners) {
  const struct {
    const char* what;
    std::string text;
    Texts columns, records;  // records by name: of two alike, the last shows
    std::unique_ptr<TableLayout> (*make)(std::string_view) = MakeAlignedLayout;
  } corners[] = {
      {"a heading naming two columns alike: both kept, apart",
       "Address   Address        MAC\n10.0.0.1  192.168.1.11   00:1a:2b:3c:4d:01\n", {"Address", "Address", "MAC"},
       {"2: Address=192.168.1.11 | MAC=00:1a:2b:3c:4d:01 |"}},
      {"a neighbour's key given twice keeps its first value", "192.168.1.13 dev br-lan lladdr 00:1a:2b:3c:4d:03 dev x\n",
       {"dst", "dev", "lladdr", "used", "probes", "state"},
       {"1: dev=br-lan | dst=192.168.1.13 | lladdr=00:1a:2b:3c:4d:03 |"}, MakeIpNeighboursLayout},
  };
  for (const auto& corner : corners) {
    const std::unique_ptr<TableLayout> layout = corner.make(corner.text);
    EXPECT_EQ(Rendered(test::RecordsOf(*layout)), corner.records) << corner.what;
    EXPECT_EQ(layout->columnNames(), corner.columns) << corner.what;
  }
}

// Lists of other shapes stay with their readers: a list parted by commas,
// semicolons or tabs is the delimited reader's, blocks of keys are not a
// table, lines without a heading are no table.
TEST(AlignedLayout, ClaimsOnlyTables) {
  const struct {
    const char* what;
    std::string text;
  } lists[] = {
      {"a spreadsheet's CSV", "机器名,IP地址,MAC地址\r\nPC01,192.168.1.11,00-1a-2b-3c-4d-01\r\n"},
      {"a CSV with blanks after its commas", "Name, IP, MAC\nPC01, 192.168.1.11, 00-1a-2b-3c-4d-01\n"},
      {"a TSV list, its columns aligned by the tabs",
       "IP Address\tMAC Address\tHostname\n192.168.1.11\t00:1a:2b:3c:4d:01\tA01\n192.168.1.12\t00:1a:2b:3c:4d:02\tA02\n"},
      {"our own export", "00-1A-2B-3C-4D-5E A01\r\n"},
      {"leases without a heading", "192.168.1.23  00:1a:2b:3c:4d:02  PC23\n192.168.1.24  00:1a:2b:3c:4d:01  PC24\n"},
      {"words one blank apart under a heading one blank apart",
       "Name IP MAC\nPC01 192.168.1.11 00-1a-2b-3c-4d-01\nPC02 192.168.1.12 00-1a-2b-3c-4d-02\n"},
      {"blocks of keys and values aligned: two columns, the MAC one row of several",
       "hostname   PC01\nip         192.168.1.11\nmac        00:11:22:33:44:01\n\nhostname   PC02\n"
       "ip         192.168.1.12\nmac        00:11:22:33:44:02\n"},
      {"ipconfig /all", "Ethernet adapter Ethernet:\n\n   Physical Address. . . . . . . . . : 00-1A-2B-3C-4D-01\n"},
      {"a dnsmasq lease", "1751520000 00:1a:2b:3c:4d:01 192.168.1.11 A01 01:00:1a:2b:3c:4d:01\n"},
  };
  for (const auto& list : lists) {
    EXPECT_FALSE(ClaimsAlignedTable(list.text)) << list.what;
    EXPECT_FALSE(ClaimsIpNeighbours(list.text)) << list.what;
  }
}

// What a pager and a terminal leave in a copy, drawn as the terminal drew it.
TEST(AlignedLayout, PagerAndEscapesDrawnOut) {
  const struct {
    const char* what;
    std::string line, shown;
    bool controls;
  } lines[] = {
      {"a plain line", "  10    001a.2b3c.4d02", "  10    001a.2b3c.4d02", false},
      {"Huawei's prompt, moved back over and blanked",
       "  ---- More ----\x1b[42D                                          \x1b[42D  10    001a.2b3c.4d02",
       "  10    001a.2b3c.4d02                    ", true},
      {"H3C's shorter one", "  ---- More ----\x1b[16D                \x1b[16DGE1/0/1", "GE1/0/1         ", true},
      {"Cisco's rubbed out with backspaces", " --More-- \b\b\b\b\b\b\b\b\b\b          \b\b\b\b\b\b\b\b\b\b   1    001a",
       "   1    001a", true},
      {"a prompt whose escapes were dropped", "  ---- More ----                                          A01  B02",
       "A01  B02", true},
      {"a prompt alone", "  ---- More ----", "", true},
      {"less's and more's", "--More--(40%)   1    001a", "1    001a", true},
      {"RouterOS's", "-- [Q quit|D dump|down] 7 D 10.0.0.1", "7 D 10.0.0.1", true},
      {"colours, a title and erasing to the end", "\x1b[1;32mA01\x1b[0m \x1b]0;title\aB02\x1b[KXYZ\x1b[3D\x1b[K",
       "A01 B02", true},
      {"a move past the line's end stays within it", "A\x1b[999999999999CB", "A" + std::string(16, ' ') + "B", true},
      {"dashes that are no prompt", "----    -----------", "----    -----------", false},
  };
  ShownLine shown;
  std::vector<Word> words;
  for (const auto& line : lines) {
    EXPECT_EQ(shown.shown(line.line, words), line.shown) << line.what;
    EXPECT_EQ(shown.heldControls(), line.controls) << line.what;
  }
}

// Lines of the shapes above, each told by its words: what begins and ends
// a table.
TEST(AlignedLayout, LinesToldByTheirWords) {
  enum Kind { kData, kRule, kPrompt, kTotals, kHeading, kInterface, kComment };
  const struct {
    std::string line;
    Kind kind;
  } lines[] = {
      {"----    -----------       --------    -----", kRule},
      {"---  ---", kRule},
      {"=============== ===============", kRule},
      {"+------+-------+", kRule},
      {"-- 10.0.0.1", kData},
      {"Router#show ip arp", kPrompt},
      {"<HUAWEI> display arp", kPrompt},
      {"[H3C]display arp", kPrompt},
      {"[~HUAWEI]", kPrompt},
      {"[admin@MikroTik] /ip arp> print", kPrompt},
      {"PS C:\\> Get-NetNeighbor", kPrompt},
      {"C:\\>arp -a", kPrompt},
      {"Total entries: 2", kTotals},
      {"TOTAL:3         Dynamic:2", kTotals},
      {"共计 20 条", kTotals},
      {"Vlan    Mac Address       Type        Ports", kHeading},
      {" #   ADDRESS        MAC-ADDRESS       HOST-NAME", kHeading},
      {"  Internet 地址         物理地址              类型", kHeading},
      {"  Type: S-Static   D-Dynamic", kData},
      {"IP,MAC,Name", kData},
      {"Interface: 192.168.1.5 --- 0xb", kInterface},
      {"接口: 192.168.1.5 --- 0xb", kInterface},
      {" 0   ;;; A01", kComment},
      {";;; 三楼", kComment},
      {" 1 D 192.168.88.12  00:1A:2B:3C:4D:02", kData},
  };
  std::vector<Word> words;
  for (const auto& line : lines) {
    SplitWords(line.line, words);
    std::string_view comment;
    const Kind kind = IsRule(line.line, words)                     ? kRule
                      : IsPrompt(line.line, words)                 ? kPrompt
                      : IsTotals(line.line, words)                 ? kTotals
                      : IsWindowsInterface(line.line, words)       ? kInterface
                      : IsRouterOsComment(line.line, words, comment) ? kComment
                      : IsHeadingLike(line.line, words)            ? kHeading
                                                                   : kData;
    EXPECT_EQ(kind, line.kind) << line.line;
  }

  // Screen columns: a Chinese character two, a tab to the next multiple of eight.
  SplitWords("一楼01\t00-1A  x", words);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].right, 6u);
  EXPECT_EQ(words[1].left, 8u);
  EXPECT_EQ(words[2].left, 15u);
}

// Where the columns lie: the data's runs, parted by two blanks, or by one
// where a heading's word or a rule's dash begins within the right run.
TEST(AlignedLayout, ColumnsFromRunsAndHeading) {
  const struct {
    const char* what;
    std::string heading, rule;
    std::vector<std::string> data;
    Texts names;
  } tables[] = {
      {"two blanks part columns the heading does not name", "Name", "", {"A01  00-1A-2B-3C-4D-01"}, {"Name", ""}},
      {"one blank parts no columns of itself", "Lease expiration", "", {"Mar 01 2002 12:00 AM"}, {"Lease expiration"}},
      {"a heading's word one column into the run still parts it", " #   ADDRESS       MAC-ADDRESS",
       "", {" 0 192.168.88.11 00:1A:2B:3C:4D:01"}, {"#", "ADDRESS", "MAC-ADDRESS"}},
      {"runs under one dash are one column", "Connection Name Physical Address", "=============== =================",
       {"Local Area Conn 00-1A-2B-3C-4D-01"}, {"Connection Name", "Physical Address"}},
      {"a heading's word over no data is a column of its own", "Address          Mask   Iface", "",
       {"192.168.1.1             eth0"}, {"Address", "Mask", "Iface"}},
  };
  for (const auto& table : tables) {
    std::vector<Span> runs;
    std::vector<std::vector<Word>> dataWords(table.data.size());
    for (std::size_t i = 0; i < table.data.size(); ++i) {
      SplitWords(table.data[i], dataWords[i]);
      AddToRuns(dataWords[i], runs);
    }
    std::vector<Word> headingWords, ruleWords;
    SplitWords(table.heading, headingWords);
    SplitWords(table.rule, ruleWords);
    TableColumns columns;
    ASSERT_TRUE(columns.build(runs, {{table.heading, &headingWords}}, ruleWords, 100)) << table.what;
    Texts names;
    for (std::size_t column = 0; column < columns.size(); ++column) names.push_back(columns.name(column));
    EXPECT_EQ(names, table.names) << table.what;
  }
}

class Collect final : public RecordVisitor {
 public:
  explicit Collect(int stopAfter = -1) : stopAfter_(stopAfter) {}
  void cell(int, std::string_view) override {}
  bool endRecord(int) override { return ++records != stopAfter_; }
  int records = 0;

 private:
  int stopAfter_;
};

// Nothing a file holds makes the layout hold more than its bounds.
TEST(AlignedLayout, BoundsAndStops) {
  const std::string heading = "IP address      MAC address\n";
  const std::string row = "192.168.1.11    00-1A-2B-3C-4D-01\n";

  Collect stopped(2);
  EXPECT_EQ(MakeAlignedLayout(heading + row + row + row)->forEachRecord(stopped).how, LayoutEnd::How::Stopped);
  EXPECT_EQ(stopped.records, 2);

  const std::string longLine = heading + row + std::string(kMaxRecordBytes + 1, 'x') + "\n" + row;
  Collect untilLong;
  EXPECT_EQ(MakeAlignedLayout(longLine)->forEachRecord(untilLong).how, LayoutEnd::How::TooLarge);
  EXPECT_EQ(MakeAlignedLayout(longLine)->forEachRecord(untilLong).bound, Bound::RecordBytes);

  // A heading of more columns than a record may hold, each over a value.
  std::string wideHeading, wideRow;
  for (std::uint64_t column = 0; column <= kMaxRecordCells; ++column) {
    wideHeading += "h  ";
    wideRow += column == 0 ? "00-1A-2B-3C-4D-01  " : "v  ";
  }
  wideHeading.replace(0, 3, std::string(17, 'M') + "  ");
  Collect wide;
  const LayoutEnd end = MakeAlignedLayout(wideHeading + "\n" + wideRow + "\n")->forEachRecord(wide);
  EXPECT_EQ(end.how, LayoutEnd::How::TooLarge);
  EXPECT_EQ(end.bound, Bound::RecordCells);
  EXPECT_EQ(wide.records, 0);

  // A record going on over lines stops at a megabyte, whatever its lines.
  std::string continued = "IP address          Client-ID\n192.168.1.11        0100.1a2b.3c4d.01\n";
  while (continued.size() <= 2 * kMaxRecordBytes) continued += "                    3030.302e.6162.6364.\n";
  Collect longRecord;
  EXPECT_EQ(MakeAlignedLayout(continued)->forEachRecord(longRecord).bound, Bound::RecordBytes);
}

}  // namespace
}  // namespace venbrook
