#pragma once
// What a structured file's values and keys hint at, for finding its table
// and telling what its records are. A hint only: which column holds the
// MACs and which the names is the column judge's to decide.
#include <string_view>

namespace venbrook {

// A value that reads as a MAC by the one rule of what a MAC is, or as a
// DHCP client identifier carrying one (model/mac_address.h): what marks the
// records of a machine list.
bool ReadsAsMac(std::string_view value);

// A key (UTF-8, any case) that names when a record was seen or lasts, or
// what became of it: an expiry, a time, a last or first sighting, a lease's
// valid lifetime or its client's last transaction, a state. Records that
// carry one are sightings of machines (leases, scans, neighbour tables,
// client lists), not a list someone keeps.
bool NamesASighting(std::string_view key);

// A name of a record set (an array's key, an element's name) that says it
// holds leases.
bool NamesLeases(std::string_view name);

}  // namespace venbrook
