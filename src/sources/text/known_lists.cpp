#include "sources/text/known_lists.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "model/blanks.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_list.h"
#include "sources/text/text_words.h"

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

// Calls `onLine` with each line's words between blanks; stops when it
// returns false.
template <typename OnLine>
void ForEachLineWords(std::string_view text, OnLine&& onLine) {
  std::vector<std::string_view> words;
  while (!text.empty()) {
    std::size_t end = 0;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    SplitWords(line, words);
    if (!onLine(line, words)) return;
  }
}

enum class LeaseLine { Machine, Structure, Other };

bool IsLeaseLine(std::span<const std::string_view> words) {
  return words.size() == 5 && IsAllDigits(words[0]) && (words[4] == "*" || IsHexBytes(words[4]));
}

// The server's DUID, or a DHCPv6 lease (an IAID where a MAC would be, an
// IPv6 address): no machine. Asked of every line, so the cheapest test first.
bool IsLeaseStructure(std::span<const std::string_view> words) {
  if (words.size() == 2 && words[0] == "duid") return true;
  if (words.size() != 5) return false;
  const std::string_view iaid = words[1].starts_with('T') ? words[1].substr(1) : words[1];
  return IsAllDigits(iaid) && words[2].find(':') != std::string_view::npos && IsLeaseLine(words);
}

LeaseLine ClassifyLease(std::span<const std::string_view> words) {
  if (IsLeaseStructure(words)) return LeaseLine::Structure;
  if (!IsLeaseLine(words)) return LeaseLine::Other;
  std::string_view mac = words[1];
  const std::size_t dash = mac.find('-');
  if (dash != std::string_view::npos && dash <= 2) mac = mac.substr(dash + 1);  // its hardware type
  return IsIpv4Address(words[2]) && IsHexBytes(mac) ? LeaseLine::Machine : LeaseLine::Other;
}

// The second word of a DHCPv6 lease is its IAID, digits after an optional
// T; a machine's is its MAC, told apart within its first three characters.
bool LeaseSecondWordIsIaid(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && IsBlank(line[at])) ++at;
  while (at < line.size() && !IsBlank(line[at])) ++at;
  while (at < line.size() && IsBlank(line[at])) ++at;
  if (at < line.size() && line[at] == 'T') ++at;
  const std::size_t start = at;
  while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
  return at > start && (at == line.size() || IsBlank(line[at]));
}

// Asked of every line of the file: its first six words at most, kept
// without an allocation (a lease line has five).
bool IsLeaseFileStructure(std::string_view line) {
  if (!LeaseSecondWordIsIaid(line) && !TrimBlanks(line).starts_with("duid")) return false;
  std::array<std::string_view, 6> words;
  std::size_t count = 0;
  for (std::size_t at = 0; at < line.size() && count < words.size();) {
    if (IsBlank(line[at]) || line[at] == '\r' || line[at] == '\n') {
      ++at;
      continue;
    }
    const std::size_t start = at;
    while (at < line.size() && !IsBlank(line[at]) && line[at] != '\r' && line[at] != '\n') ++at;
    words[count++] = line.substr(start, at - start);
  }
  return IsLeaseStructure(std::span(words.data(), count));
}

// arp-scan's heading and its summary: everything but the answers, each of
// which begins with the address that answered.
bool IsArpScanStructure(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] < '0' || line[first] > '9' || line.find('\t') == std::string_view::npos;
}

}  // namespace

bool LooksLikeDnsmasqLeases(std::string_view sample) {
  bool machine = false, other = false;
  ForEachLineWords(sample, [&](std::string_view, const std::vector<std::string_view>& words) {
    if (words.empty()) return true;
    const LeaseLine kind = ClassifyLease(words);
    other = kind == LeaseLine::Other;
    machine = machine || kind == LeaseLine::Machine;
    return !other;
  });
  return machine && !other;
}

std::unique_ptr<TableLayout> MakeDnsmasqLeasesLayout(std::string_view text) {
  return MakeTextListLayout(text, {RecordKind::Events, "dnsmasq 租约文件", {"expiry", "MAC", "IP", "hostname", "client-id"}, IsLeaseFileStructure});
}

bool LooksLikeArpScan(std::string_view sample) {
  bool found = false;
  ForEachLineWords(sample, [&](std::string_view line, const std::vector<std::string_view>&) {
    found = line.starts_with("Starting arp-scan ") ||
            (line.starts_with("Interface: ") && line.find(", type: ") != std::string_view::npos &&
             line.find(", MAC: ") != std::string_view::npos);
    return !found;
  });
  return found;
}

std::unique_ptr<TableLayout> MakeArpScanLayout(std::string_view text) {
  return MakeTextListLayout(text, {RecordKind::Events, "arp-scan 扫描结果", {"IP", "MAC", "vendor"}, IsArpScanStructure});
}

}  // namespace venbrook
