#pragma once
// MikroTik RouterOS's DHCP server leases, as an operator takes them off the
// router (its export, print terse and print detail are layouts:
// sources/blocks/routeros_export.h, routeros_print.h).
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

// A heading "#  ADDRESS  MAC-ADDRESS …" that is no ARP table's (no INTERFACE).
bool LooksLikeMikrotikPrint(std::string_view sample);

void ReadMikrotikPrint(std::string_view text, RouterRows& rows);

}  // namespace venbrook
