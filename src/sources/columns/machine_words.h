#pragma once
// What a column's header and its values say of it, wherever the list comes
// from. Headers and values are UTF-8 here.
#include <cstdint>
#include <string_view>

#include "model/blanks.h"

namespace venbrook {

// What a header names, from the most telling word it holds.
enum class HeaderRole : std::uint8_t {
  None,      // nothing this program knows
  Mac,       // mac, 物理地址, 网卡, hardware, 硬件地址
  ClientId,  // a DHCP client identifier: client id, client-identifier, uid
  Address,   // an IP address: ip, internet, 地址 (but a MAC's)
  Remark,    // a note beside the row: remark, comment, description, 备注, 说明; a name only
             // where no column says so better
  NotName,   // never a machine's name: a zone or group, a row number, a time or date, a
             // status or type, a user, a domain, an interface or port, a vendor, a
             // protocol, the server that leased the address, a link's speed
  NameLike,  // holds 名 or name, machine, computer, host, pc, seat, 机器, 计算机, 主机, 终端, 座位, 编号
  Name,      // is one of the words for a machine's name: 机器名, 计算机名, hostname, name, 名称 …
};

HeaderRole ClassifyHeader(std::string_view header);

// One decimal digit or more, and nothing else.
bool IsAllDigits(std::string_view text);

// A MAC by the one rule (model/mac_address.h).
bool IsMacText(std::string_view value);

// Four dot-separated decimal numbers of one to three digits, each 0 to 255.
bool IsIpv4Address(std::string_view value);

// What a value's words say of it, from one look at it.
struct ValueWords {
  bool noName = false;         // IsNoName
  bool gap = false;            //   a word for no value at all ("*", "N/A", "[n/s]"), not an address
  bool state = false;          // IsStateWord
  bool stateOver = false;      //   one that says the lease is over
  bool interfaceName = false;  // IsInterfaceName
  bool adapter = false;        // IsAdapterName
  bool spareAdapter = false;   //   one a machine does not boot with
  bool dnsName = false;        // IsDnsName
  bool directoryName = false;  // IsDirectoryName
  bool boolean = false;        // yes, no, true, false, 是, 否
};
ValueWords ReadValueWords(std::string_view value);

// A value that stands in a name's place without being one: "*", "-", "N/A",
// "[n/a]", "unknown", "<incomplete>", "?", "(none)", an IPv4 or IPv6
// address (with a remark after it, "192.168.0.11(首选)"), a DHCP client's
// vendor class ("PXEClient:Arch:00000:UNDI:002001",
// "MSFT 5.0", "udhcp 1.30.1"). The row's name is then empty.
bool IsNoName(std::string_view value);

// A network interface as switches, routers and systems name them:
// Gi1/0/1, GigabitEthernet0/0/1, Fa0/1, XGE1/0/1, ge-0/0/1.0, Vlan10,
// Vlanif10, Port-channel1, eth0, enp3s0, br-lan, ether2, wlan0.
bool IsInterfaceName(std::string_view value);

// A lease's or a neighbour's state, as DHCP servers, routers and systems
// write it; `over` says it names no machine in use (expired, declined,
// conflict, released, free, abandoned, deleted).
bool IsStateWord(std::string_view value, bool& over);

// A fully qualified DNS name: labels of letters, digits and '-' joined by
// dots, the last of letters (a01.cafe.lan). A host's short name has no dot.
bool IsDnsName(std::string_view value);

// A network adapter as systems describe it ("Realtek PCIe GbE Family
// Controller", "Intel(R) Wi-Fi 6 AX201", "Bluetooth Device (Personal Area
// Network)", "以太网", "WLAN"); `notMachine` says it is one a machine does
// not boot and register with: wireless, Bluetooth, virtual, a tunnel, a
// loopback.
bool IsAdapterName(std::string_view value, bool& notMachine);

// A value that holds an IPv4 address: the address alone, or first in a
// list as WMI writes it ("{192.168.1.101;fe80::…}").
bool HoldsIpv4(std::string_view value);

// A connection's state that says it carries no traffic: "Media
// disconnected", "Disconnected", "Disabled", "媒体已断开".
bool SaysDisconnected(std::string_view value);

// A directory's name of an object: "CN=WB001,OU=Clients,DC=cafe,DC=local".
bool IsDirectoryName(std::string_view value);

// A header that names a time: when a lease ends, when a row was seen
// (expire, ends, valid_lifetime, timestamp, last seen, 时间, 到期).
bool HeaderNamesTime(std::string_view header);

// A date, a time or both, as spreadsheets and logs write them:
// 2024-06-01, 2024/6/1, 2024.06.01, 10:00, 10:00:00, 2024-06-01 10:00,
// 2024-06-01T10:00:00, 2024年6月1日.
bool IsDateOrTime(std::string_view value);

}  // namespace venbrook
