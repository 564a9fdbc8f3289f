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
//
// The table of "/ip dhcp-server lease print", copied from a terminal:
//   Flags: X - disabled, R - radius, D - dynamic, B - blocked
//    #   ADDRESS        MAC-ADDRESS        HOST-NAME   SERVER  STATUS
//   ;;; A01
//    0   192.168.88.11  00:1A:2B:3C:4D:01  DESKTOP-1   dhcp1   bound
//    1 D 192.168.88.12  00:1A:2B:3C:4D:02  PC02        dhcp1   bound
// Its first column is the entry's number and flags, never a name; a comment
// is printed on a line of its own before its entry (";;; …", after the
// number on older versions).
//
// The name: a lease's comment, else its host-name. The comment is what the
// operator writes to tell a lease by (a static lease is made for a machine,
// and RouterOS gives it no other field of the operator's); host-name is only
// what the machine itself sent in its last request.
#include <string_view>

#include "sources/router/router_text.h"

namespace venbrook {

// A line of the lease menu, or the first line of an /export ("# … by RouterOS").
bool LooksLikeMikrotikExport(std::string_view sample);
// A heading "#  ADDRESS  MAC-ADDRESS …" that is no ARP table's (no INTERFACE).
bool LooksLikeMikrotikPrint(std::string_view sample);

void ReadMikrotikExport(std::string_view text, RouterRows& rows);
void ReadMikrotikPrint(std::string_view text, RouterRows& rows);

}  // namespace venbrook
