#pragma once
// dnsmasq's lease file (dhcp-leasefile; /tmp/dhcp.leases on OpenWrt), one
// lease a line, five fields between blanks:
//   expiry MAC IP hostname client-id
// the expiry in seconds (0 for never), the MAC as colon-separated hex bytes
// with the ARP hardware type and '-' before them for anything but Ethernet,
// '*' for no hostname and no client-id. DHCPv6 leases (an IAID where the MAC
// is, an IPv6 address) and the server's "duid" line belong to the file but
// name no machine.
#include <string_view>

#include "sources/router/router_text.h"

namespace venbrook {

// Every line of the sample is a lease or the duid line, and one at least is
// an IPv4 lease.
bool LooksLikeDnsmasqLeases(std::string_view sample);
void ReadDnsmasqLeases(std::string_view text, RouterRows& rows);

}  // namespace venbrook
