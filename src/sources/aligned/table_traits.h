#pragma once
// What a table laid out with blanks is, by its heading: the words the
// source label calls it by, and whether its records are sightings or a
// list. Told once, by a file's first table.
//
// | table                                                 | words            | records |
// |-------------------------------------------------------|------------------|---------|
// | RouterOS's print with an INTERFACE column (/ip arp)   | ARP 表           | events  |
// | RouterOS's other prints (/ip dhcp-server lease)       | MikroTik 租约列表 | events  |
// | an IP address, a MAC and an interface column, or      | ARP 表           | events  |
// |   Windows's "Interface: … --- 0x4", or an ARP command |                  |         |
// | adapters (getmac's, Get-NetAdapter's)                 | 对齐的表格        | list    |
// | a column of when or where a MAC was seen: age, lease, | 对齐的表格        | events  |
// |   type, state, interface, port, VLAN, flags, server   |                  |         |
// |   (MAC tables, DHCP bindings, scans)                  |                  |         |
// | any other: a list of configured hosts                 | 对齐的表格        | list    |
#include <string_view>

#include "sources/aligned/table_walk.h"

namespace venbrook {

struct TableTraits {
  std::string_view wordsUtf8 = "对齐的表格";
  RecordKind kind = RecordKind::Events;
};

TableTraits TraitsOf(const AlignedTable& table);

}  // namespace venbrook
