#pragma once
// What a column's header and its values say of it, wherever the list comes
// from. Headers and values are UTF-8 here.
#include <cstdint>
#include <string_view>

namespace venbrook {

// What a header names, from the most telling word it holds.
enum class HeaderRole : std::uint8_t {
  None,      // nothing this program knows
  Mac,       // mac, 物理地址, 网卡, hardware, 硬件地址
  Address,   // an IP address: ip, internet, 地址 (but a MAC's)
  NotName,   // never a machine's name: a zone or group, a row number, a remark, a time or
             // date, a status or type, a user, a domain, an interface or port
  NameLike,  // holds 名 or name, machine, computer, host, pc, seat, 机器, 计算机, 主机, 终端, 座位, 编号
  Name,      // is one of the words for a machine's name: 机器名, 计算机名, hostname, name, 名称 …
};

HeaderRole ClassifyHeader(std::string_view header);

// The text without the spaces and tabs around it.
std::string_view TrimBlanks(std::string_view text);

// One decimal digit or more, and nothing else.
bool IsAllDigits(std::string_view text);

// A MAC by the one rule (model/mac_address.h).
bool IsMacText(std::string_view value);

// Four dot-separated decimal numbers of one to three digits, each 0 to 255.
bool IsIpv4Address(std::string_view value);

// A date, a time or both, as spreadsheets and logs write them:
// 2024-06-01, 2024/6/1, 2024.06.01, 10:00, 10:00:00, 2024-06-01 10:00,
// 2024-06-01T10:00:00, 2024年6月1日.
bool IsDateOrTime(std::string_view value);

}  // namespace venbrook
