#pragma once
// MikroTik RouterOS's DHCP server leases, as an operator takes them off the
// router.
//
// The export (/export, or /ip dhcp-server lease export): a menu line
// "/ip dhcp-server lease" (or "/ip/dhcp-server/lease"), then one command a
// line, "add address=… mac-address=… comment=… server=…"; a line ending in
// '\' goes on in the next. Values hold no blank unless quoted; "\"", "\\"
// and "\E4" (a byte in hex) are escapes. A whole /export holds other menus
// too: only the lease menu's commands are read.

#include <string_view>

#include "sources/router/router_text.h"

namespace venbrook {

// A line of the lease menu, or the first line of an /export ("# … by RouterOS").
bool LooksLikeMikrotikExport(std::string_view sample);

void ReadMikrotikExport(std::string_view text, RouterRows& rows);

}  // namespace venbrook
