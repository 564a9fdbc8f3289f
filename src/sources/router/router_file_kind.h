#pragma once
// The kinds of file a router, a switch or a DHCP server writes that hold a
// café's machines, each named in the source label as an operator knows it.

namespace venbrook {

enum class RouterFileKind {
  DnsmasqLeases,   // dnsmasq's lease file (OpenWrt's /tmp/dhcp.leases)
  IscLeases,       // ISC dhcpd's dhcpd.leases
  IscConfig,       // ISC dhcpd's dhcpd.conf, its host declarations
  MikrotikExport,  // RouterOS /ip dhcp-server lease, exported
  OpenWrtConfig,   // OpenWrt's /etc/config/dhcp, or `uci show dhcp`
};

}  // namespace venbrook
