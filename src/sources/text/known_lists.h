#pragma once
// Lists of fields between blanks that a tool writes with a meaning of its
// own: dnsmasq's lease file and arp-scan's output. Each is told by its
// structure, then read by the text list's layout (text_list.h) as a record
// of events, with its own words and its columns' names.
//
// dnsmasq's lease file (dhcp-leasefile; /tmp/dhcp.leases on OpenWrt), one
// lease a line, five fields: expiry MAC IP hostname client-id, the expiry in
// seconds (0 for never), '*' for no hostname and no client-id; DHCPv6 leases
// (an IAID where the MAC is) and the server's "duid" line belong to the file
// but name no machine. The MAC may carry its ARP hardware type in front
// ("06-00:1a:…") for anything but Ethernet.
//
// arp-scan's output: "Interface: eth0, type: EN10MB, MAC: …, IPv4: …",
// "Starting arp-scan 1.10.0 with 256 hosts …", then one answer a line,
// "IP<tab>MAC<tab>vendor", a host that answered twice marked "(DUP: 2)".
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

// Every line of the sample is a lease or the duid line, and one at least is
// an IPv4 lease.
bool LooksLikeDnsmasqLeases(std::string_view sample);
std::unique_ptr<TableLayout> MakeDnsmasqLeasesLayout(std::string_view text);

// arp-scan's first lines.
bool LooksLikeArpScan(std::string_view sample);
std::unique_ptr<TableLayout> MakeArpScanLayout(std::string_view text);

}  // namespace venbrook
