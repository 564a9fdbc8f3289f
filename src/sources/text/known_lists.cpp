#include "sources/text/known_lists.h"

#include <vector>

#include "sources/columns/machine_words.h"
#include "sources/text/text_list.h"

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
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    words.clear();
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t start = line.find_first_not_of(" \t", at);
      if (start == std::string_view::npos) break;
      const std::size_t stop = std::min(line.find_first_of(" \t", start), line.size());
      words.push_back(line.substr(start, stop - start));
      at = stop;
    }
    if (!onLine(line, words)) return;
  }
}

enum class LeaseLine { Machine, Structure, Other };

LeaseLine ClassifyLease(const std::vector<std::string_view>& words) {
  if (words.size() == 2 && words[0] == "duid") return LeaseLine::Structure;
  if (words.size() != 5 || !IsAllDigits(words[0]) || !(words[4] == "*" || IsHexBytes(words[4]))) return LeaseLine::Other;
  std::string_view mac = words[1];
  const std::size_t dash = mac.find('-');
  if (dash != std::string_view::npos && dash <= 2) mac = mac.substr(dash + 1);  // its hardware type
  if (IsIpv4Address(words[2]) && IsHexBytes(mac)) return LeaseLine::Machine;
  const std::string_view iaid = words[1].starts_with('T') ? words[1].substr(1) : words[1];
  if (IsAllDigits(iaid) && words[2].find(':') != std::string_view::npos) return LeaseLine::Structure;  // DHCPv6
  return LeaseLine::Other;
}

bool IsLeaseFileStructure(std::string_view line) {
  bool structure = false;
  ForEachLineWords(line, [&](std::string_view, const std::vector<std::string_view>& words) {
    structure = ClassifyLease(words) == LeaseLine::Structure;
    return false;
  });
  return structure;
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
