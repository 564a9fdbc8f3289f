#include "sources/aligned/table_traits.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace venbrook {
namespace {

constexpr std::string_view kArpWords = "ARP 表";
constexpr std::string_view kRouterOsLeaseWords = "MikroTik 租约列表";

bool IsAsciiLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A column name's ASCII words, lower-cased, split where a lower-case
// letter meets a capital ("LinkLayerAddress": link, layer, address).
std::vector<std::string> Words(std::string_view name) {
  std::vector<std::string> words(1);
  char previous = '\0';
  for (const char c : name) {
    const bool split = !IsAsciiLetterOrDigit(c) || (previous >= 'a' && previous <= 'z' && c >= 'A' && c <= 'Z');
    if (split && !words.back().empty()) words.emplace_back();
    if (IsAsciiLetterOrDigit(c)) words.back() += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    previous = c;
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

bool AnyStartsWith(const std::vector<std::string>& words, std::initializer_list<std::string_view> starts) {
  return std::any_of(words.begin(), words.end(), [&](const std::string& word) {
    return std::any_of(starts.begin(), starts.end(), [&](std::string_view start) { return word.starts_with(start); });
  });
}

bool Holds(std::string_view name, std::initializer_list<std::string_view> parts) {
  return std::any_of(parts.begin(), parts.end(), [&](std::string_view part) { return name.find(part) != std::string_view::npos; });
}

bool NamesMac(std::string_view name, const std::vector<std::string>& words) {
  const bool linkLayer = std::find(words.begin(), words.end(), "link") != words.end() &&
                         std::find(words.begin(), words.end(), "layer") != words.end();
  return linkLayer || Holds(name, {"物理地址", "硬件地址"}) ||
         std::any_of(words.begin(), words.end(), [](const std::string& w) {
           return (w.starts_with("mac") && !w.starts_with("machin")) || w.starts_with("hw") || w.starts_with("hardware") ||
                  w.starts_with("physical");
         });
}

bool NamesIpAddress(std::string_view name, const std::vector<std::string>& words) {
  return (words.size() == 1 && words[0] == "address") || Holds(name, {"IP 地址", "IP地址"}) ||
         AnyStartsWith(words, {"ip", "internet"});
}

bool NamesInterface(std::string_view name, const std::vector<std::string>& words) {
  return Holds(name, {"接口"}) || std::find(words.begin(), words.end(), "if") != words.end() ||
         AnyStartsWith(words, {"interface", "iface", "device", "port"});
}

bool NamesSighting(std::string_view name, const std::vector<std::string>& words) {
  for (const std::string& word : words)
    for (const std::string_view seen : {"age", "aging", "expire", "expires", "expiration", "lease", "type", "hwtype", "status",
                                        "state", "if", "vlan", "flags", "server", "time", "ttl", "seen"})
      if (word == seen) return true;
  return NamesInterface(name, words) || Holds(name, {"类型", "状态", "端口", "时间", "租约", "老化"});
}

bool NamesAdapter(const std::vector<std::string>& words) { return AnyStartsWith(words, {"adapter", "transport"}); }

}  // namespace

TableTraits TraitsOf(const AlignedTable& table) {
  bool mac = false, ip = false, interface = false, sighting = false, adapter = false, routerOsInterface = false;
  for (std::size_t column = 0; column < table.columns.size(); ++column) {
    const std::string& name = table.columns.name(column);
    const std::vector<std::string> words = Words(name);
    const bool names = NamesMac(name, words);
    mac |= names;
    ip |= !names && NamesIpAddress(name, words);
    interface |= NamesInterface(name, words);
    sighting |= NamesSighting(name, words);
    adapter |= NamesAdapter(words) || (std::find(words.begin(), words.end(), "interface") != words.end() &&
                                       std::find(words.begin(), words.end(), "description") != words.end());
    routerOsInterface |= name == "INTERFACE";
  }
  if (table.routerOs) return {routerOsInterface ? kArpWords : kRouterOsLeaseWords, RecordKind::Events};
  if (table.arpCommand || (mac && ip && interface)) return {kArpWords, RecordKind::Events};
  return {TableTraits{}.wordsUtf8, adapter || !sighting ? RecordKind::List : RecordKind::Events};
}

}  // namespace venbrook
