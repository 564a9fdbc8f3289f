#pragma once
// The kinds of file a router, a switch or a DHCP server writes that hold a
// café's machines, each named in the source label as an operator knows it.

namespace venbrook {

enum class RouterFileKind {
  DnsmasqLeases,   // dnsmasq's lease file (OpenWrt's /tmp/dhcp.leases)
  MikrotikPrint,   // RouterOS /ip dhcp-server lease print, copied from the terminal
  ArpTable,        // arp -a (Windows), show ip arp (Cisco), ip neigh, /proc/net/arp
};

}  // namespace venbrook
