#pragma once
// ARP tables: which MAC answered for which IPv4 address, as a computer, a
// switch or a router shows them. They name no machine: every row's name is
// empty. Broadcast and multicast entries are rows the sink refuses.
//
// Windows, `arp -a`, in the language of the system:
//   Interface: 192.168.1.5 --- 0xb            接口: 192.168.1.5 --- 0xb
//     Internet Address  Physical Address  Type   Internet 地址  物理地址  类型
//     192.168.1.1       00-1a-2b-3c-4d-5e dynamic  …            …         动态
// Cisco IOS, `show ip arp`:
//   Protocol  Address       Age (min)  Hardware Addr   Type   Interface
//   Internet  192.168.1.11        12   001a.2b3c.4d01  ARPA   Vlan10
// Linux, /proc/net/arp:
//   IP address       HW type     Flags       HW address            Mask     Device
//   192.168.1.11     0x1         0x2         00:1a:2b:3c:4d:01     *        br-lan
// Linux, `ip neigh`: "192.168.1.11 dev br-lan lladdr 00:1a:… REACHABLE"
// (IPv6 neighbours, the same machines again, are passed over).
//
// The lines before a table's first heading (a prompt, the command) and the
// prompts after it are the copy's, not the table's; any other line that is
// no entry is skipped.
#include <string_view>

#include "sources/router/router_text.h"

namespace venbrook {

// A Windows interface line; a Cisco or a /proc/net/arp heading; every line
// a neighbour and one at least with its MAC.
bool LooksLikeWindowsArp(std::string_view sample);
bool LooksLikeCiscoArp(std::string_view sample);
bool LooksLikeProcNetArp(std::string_view sample);
bool LooksLikeIpNeigh(std::string_view sample);

void ReadWindowsArp(std::string_view text, RouterRows& rows);
void ReadCiscoArp(std::string_view text, RouterRows& rows);
void ReadProcNetArp(std::string_view text, RouterRows& rows);
void ReadIpNeigh(std::string_view text, RouterRows& rows);

}  // namespace venbrook
