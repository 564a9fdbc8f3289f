#pragma once
// ISC dhcpd's files, both written in the syntax of dhcpd.conf(5): statements
// end in ';', declarations hold theirs between '{' and '}', '#' starts a
// comment to the line's end, strings are in double quotes ("\344" an octal
// byte). Where a statement breaks its lines does not matter.
//   dhcpd.leases(5): "lease 192.168.1.11 { … hardware ethernet 00:1a:…;
//     client-hostname "A01"; }", appended to as leases change, so the last
//     block of a MAC is its current one: each MAC is read once, from there.
//   dhcpd.conf(5): "host A01 { hardware ethernet 00:1a:…; fixed-address …; }",
//     at the top or inside subnet, shared-network and group declarations.
// A block without a hardware statement names no machine. A host declared in
// a lease file (made through OMAPI) counts as a lease.
#include <string_view>

#include "sources/router/router_text.h"

namespace venbrook {

// Their recognition: sources/blocks/isc_dhcp_layout.h.
void ReadIscLeases(std::string_view text, RouterRows& rows);
void ReadIscConfig(std::string_view text, RouterRows& rows);

}  // namespace venbrook
