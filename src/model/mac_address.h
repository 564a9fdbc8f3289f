#pragma once
// The one rule of what a MAC address is, for every list whatever its source:
// the check of a loaded list, the column judge of other files, the readers
// of routers' files.
//
// A MAC is one of these shapes, hexadecimal digits in either case:
//   six pairs joined by '-', ':', '.' or a space, the same joiner throughout
//     (00-1A-2B-3C-4D-5E, 00:1a:2b:3c:4d:5e, 00 1A 2B 3C 4D 5E);
//   six bytes joined by ':' whose leading zeros are left out, as BSD's and
//     macOS's arp print them (0:e0:4c:1:2:3);
//   three groups of four joined by '.' or '-' (001a.2b3c.4d5e, 001a-2b3c-4d5e);
//   two groups of six joined by '-', as HP's switches print them (00e04c-123456);
//   twelve digits in a row (001A2B3C4D5E).
// Blanks around it are no part of it. Nothing else: not an IPv4 address (192.168.100.101 has twelve digits once
// its dots are gone), not a date or a time, not digits grouped otherwise; not an address of another length
// (a vendor's prefix alone, an eight-byte tunnel address, a DUID, a GUID).
//
// A DHCP client identifier of type 1 (01:00:e0:4c:…, 0100.e04c.6810.01) carries a MAC after its type byte;
// it is read as that MAC only where a column is known to hold client identifiers (ParseClientId).
#include <cstdint>
#include <string>
#include <string_view>

namespace venbrook {

enum class MacShape : std::uint8_t { None, Pairs, Quads, Halves, Bare };

struct MacAddress {
  std::int64_t number = -1;  // the 48 bits; -1 when the text is no MAC
  MacShape shape = MacShape::None;
  bool hasHexLetter = false;  // a digit a-f or A-F: what tells a bare MAC from a number

  bool valid() const { return number >= 0; }
};

MacAddress ParseMac(std::string_view text);

// The MAC a DHCP client identifier of type 1 (Ethernet) carries: the type
// byte 01 and six bytes, as pairs joined by ':' or '-', in Cisco's and
// H3C's groups of four (0100.e04c.6810.01, 0100-e04c-6810-01) or as
// fourteen digits in a row. Invalid for
// any other text, a MAC alone included.
MacAddress ParseClientId(std::string_view text);

// The MAC's 48 bits, or -1 when the text is no MAC (the empty text
// included). Equal MACs give equal numbers, whatever their shape and case.
inline std::int64_t MacNumber(std::string_view text) { return ParseMac(text).number; }

// An address a machine's network card has: not broadcast (FF-FF-FF-FF-FF-FF),
// not multicast (the first byte odd), not all zeros.
constexpr bool IsMachineAddress(std::int64_t number) {
  return number > 0 && ((number >> 40) & 1) == 0;
}

// The form every other source's MAC is shown and exported in:
// "00-1A-2B-3C-4D-5E", upper case, joined by '-'.
std::string CanonicalMacText(std::int64_t number);
// The same written over `out`, which keeps its room: no allocation per row.
void WriteCanonicalMac(std::int64_t number, std::string& out);

}  // namespace venbrook
