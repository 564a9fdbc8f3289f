#pragma once
// What a block of a computer's network adapter says of it, and which of a
// machine's adapters is the machine: the one it boots and registers with.
// The words come from what Windows prints: ipconfig /all (headings and
// descriptions), getmac /v, Get-NetAdapter, wmic nic and nicconfig, in
// English and in Chinese.
#include <cstdint>
#include <string_view>
#include <vector>

#include "sources/blocks/block_reader.h"

namespace venbrook {

enum class AdapterKind : std::uint8_t { Wired, Wireless, Bluetooth, Virtual, Tunnel };

struct AdapterFacts {
  AdapterKind kind = AdapterKind::Wired;
  bool hasMac = false;        // a value that is a MAC
  bool disconnected = false;  // "Media disconnected", "Disconnected", "Not Present", "Down"
  int ipv4Pair = -1;          // the pair holding its own IPv4 address, -1 without one
};

AdapterFacts FactsOf(const Block& block);

// The place of the machine's adapter among `adapters`, or -1 when none is
// one: an adapter with an IPv4 address, wired before wireless; else a wired
// one, connected before disconnected. A Bluetooth, virtual or tunnel
// adapter is never the machine, with an address or without (a VMware or
// Tailscale address is not the one a café machine boots with), nor a
// wireless one without an address.
int ChooseAdapter(const std::vector<AdapterFacts>& adapters);
// An adapter that is a machine by itself, where nothing names computers:
// wired and connected, or wireless with an IPv4 address.
bool IsAdapterInUse(const AdapterFacts& adapter);

// A key whose value names the computer the block was printed on: "Host
// Name" (ipconfig, systeminfo), "主机名", "SystemName" (wmic),
// "PSComputerName" (PowerShell remoting), "DNSHostName", "CSName".
bool IsMachineNameKey(std::string_view key);
// A key that only a network adapter's block has: "InterfaceDescription",
// "Network Adapter", "网络适配器", "NetConnectionID", "PhysicalAdapter", …
bool IsAdapterKey(std::string_view key);
// A value that names a network card: "Realtek PCIe GbE Family Controller",
// "WAN Miniport (IP)", "Intel(R) Wireless-AC 9560", "… 网络适配器" (wmic nic
// asked for its Name and MACAddress alone says no more).
bool NamesAnAdapter(std::string_view value);
// A value that is a MAC by the one rule (model/mac_address.h).
bool IsMacValue(std::string_view value);

}  // namespace venbrook
