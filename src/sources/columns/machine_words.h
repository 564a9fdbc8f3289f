#pragma once
// What tells a machine list's columns apart, wherever the list comes from:
// the words that name a machine's name column or its MAC column, and the
// values that are MACs or IPv4 addresses. Names and values are UTF-8 here.
#include <string_view>

namespace venbrook {

// Holds one of the words that name a machine's name column: name, machine,
// computer, host, pc, seat (ASCII letter case ignored), 机器, 计算机, 主机,
// 终端, 座位, 名.
bool NamesMachineName(std::string_view columnName);

// Holds "mac" (ASCII letter case ignored) or 物理地址.
bool NamesMac(std::string_view columnName);

// 12 hexadecimal digits once '-', ':', '.' and blanks are taken out.
bool IsMacText(std::string_view value);

// Four dot-separated decimal numbers of one to three digits, each 0 to 255.
bool IsIpv4Address(std::string_view value);

}  // namespace venbrook
