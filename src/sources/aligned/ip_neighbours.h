#pragma once
// Linux's `ip neigh`: one neighbour a line, its address first, then words
// in pairs of a key and its value, flags and the entry's state:
//   192.168.1.11 dev br-lan lladdr 00:1a:2b:3c:4d:01 REACHABLE
//   192.168.1.14 dev br-lan  FAILED
//   fe80::1 dev br-lan lladdr 00:1a:2b:3c:4d:01 router STALE
// Each IPv4 neighbour is a record of cells "dst", "dev", "lladdr", "used",
// "probes" and "state" (ip -json's names); a neighbour without lladdr is a
// record without a MAC, counted as skipped. IPv6 neighbours, the same
// machines again, are passed over. ARP table, events.
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

// Every line of the sample is a neighbour ("〈address〉 dev 〈interface〉 …"),
// one at least with its lladdr.
bool ClaimsIpNeighbours(std::string_view sampleUtf8);

std::unique_ptr<TableLayout> MakeIpNeighboursLayout(std::string_view textUtf8);

}  // namespace venbrook
