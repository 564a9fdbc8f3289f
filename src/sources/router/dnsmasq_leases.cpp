#include "sources/router/dnsmasq_leases.h"

#include <vector>

#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// "01:00:1a", bytes of one or two hex digits joined by ':'.
bool IsHexBytes(std::string_view text) {
  std::size_t digits = 0;
  for (const char c : text) {
    if (c == ':') {
      if (digits == 0) return false;
      digits = 0;
    } else if (!IsHex(c) || ++digits > 2) {
      return false;
    }
  }
  return digits > 0;
}

// The link address without its hardware type: "06-00:1a:…" gives "00:1a:…";
// an address of no bytes ("00-") gives the empty text.
bool LinkAddress(std::string_view field, std::string_view& address) {
  const std::size_t dash = field.find('-');
  if (dash != std::string_view::npos) {
    if (dash == 0 || dash > 2 || !IsHex(field[0]) || !IsHex(field[dash - 1])) return false;
    address = field.substr(dash + 1);
    return address.empty() || IsHexBytes(address);
  }
  address = field;
  return IsHexBytes(address);
}

enum class LeaseLine { Machine, Structure, Other };

LeaseLine Classify(const std::vector<std::string_view>& words, std::string_view& mac) {
  if (words.size() == 2 && words[0] == "duid") return LeaseLine::Structure;
  if (words.size() != 5 || !IsAllDigits(words[0]) || !(words[4] == "*" || IsHexBytes(words[4]))) return LeaseLine::Other;
  if (IsIpv4Address(words[2]) && LinkAddress(words[1], mac)) return LeaseLine::Machine;
  const std::string_view iaid = words[1].starts_with('T') ? words[1].substr(1) : words[1];
  if (IsAllDigits(iaid) && words[2].find(':') != std::string_view::npos) return LeaseLine::Structure;  // DHCPv6
  return LeaseLine::Other;
}

}  // namespace

bool LooksLikeDnsmasqLeases(std::string_view sample) {
  TextLines lines(sample);
  std::vector<std::string_view> words;
  std::string_view line, mac;
  bool machine = false;
  while (lines.next(line)) {
    SplitWords(line, words);
    if (words.empty()) continue;
    const LeaseLine kind = Classify(words, mac);
    if (kind == LeaseLine::Other) return false;
    machine |= kind == LeaseLine::Machine;
  }
  return machine;
}

void ReadDnsmasqLeases(std::string_view text, RouterRows& rows) {
  TextLines lines(text);
  std::vector<std::string_view> words;
  std::string_view line, mac;
  while (lines.next(line)) {
    SplitWords(line, words);
    if (words.empty()) continue;
    switch (Classify(words, mac)) {
      case LeaseLine::Machine: rows.add(words[3] == "*" ? std::string_view{} : words[3], mac, lines.number()); break;
      case LeaseLine::Structure: break;
      case LeaseLine::Other: rows.skip(lines.number()); break;
    }
  }
}

}  // namespace venbrook
