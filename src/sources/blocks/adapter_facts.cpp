#include "sources/blocks/adapter_facts.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "model/mac_address.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

using Words = std::initializer_list<std::string_view>;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
  return lowered;
}

// The key as compared with the words: lower case, without blanks and the
// marks that join words ("Host Name", "HostName" and "host-name" alike).
std::string Squeezed(std::string_view key) {
  std::string squeezed;
  for (const char c : key)
    if (c != ' ' && c != '\t' && c != '.' && c != '-' && c != '_' && c != '(' && c != ')') squeezed += LowerAscii(c);
  return squeezed;
}

bool Contains(std::string_view text, Words words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view w) { return text.find(w) != std::string_view::npos; });
}
template <typename Range>
bool IsIn(std::string_view text, const Range& words) {
  return std::find(std::begin(words), std::end(words), text) != std::end(words);
}
bool IsOneOf(std::string_view text, Words words) { return IsIn(text, words); }

// Keys only a network adapter's block has ("Description" is too common a
// word to tell: a DHCP reservation has one too).
constexpr std::string_view kAdapterKeys[] = {"interfacedescription",
                                             "networkadapter",
                                             "网络适配器",
                                             "netconnectionid",
                                             "connectionname",
                                             "连接名",
                                             "adaptertype",
                                             "physicaladapter",
                                             "mediatype",
                                             "physicalmediatype",
                                             "interfacealias",
                                             "transportname",
                                             "传输名称"};

// Keys whose values tell what kind of adapter it is, beyond those above.
bool DescribesAdapter(const std::string& squeezedKey) {
  return IsIn(squeezedKey, kAdapterKeys) ||
         IsOneOf(squeezedKey, {"description", "描述", "name", "caption", "productname", "名称"});
}

// Lower-case words of what the heading and the describing values say.
AdapterKind KindFromWords(std::string_view lowered) {
  if (lowered.starts_with("tunnel adapter") || lowered.starts_with("隧道适配器") ||
      Contains(lowered, {"teredo", "isatap", "6to4", "ip-https", "tunnel", "隧道", "pseudo-interface"}))
    return AdapterKind::Tunnel;
  if (lowered.starts_with("ppp adapter") || lowered.starts_with("unknown adapter") ||
      Contains(lowered, {"virtual", "虚拟", "vmware", "virtualbox", "hyper-v", "vethernet", "tap-windows", "tap-win32",
                         "loopback", "npcap", "miniport", "tailscale", "zerotier", "wireguard", "wintun", "vpn",
                         "kernel debug", "docker"}))
    return AdapterKind::Virtual;
  if (Contains(lowered, {"bluetooth", "蓝牙"})) return AdapterKind::Bluetooth;
  if (lowered.starts_with("wireless lan adapter") || lowered.starts_with("无线局域网适配器") ||
      Contains(lowered, {"wireless", "wi-fi", "wifi", "wlan", "802.11", "无线"}))
    return AdapterKind::Wireless;
  return AdapterKind::Wired;
}

// wmic's PhysicalAdapter=FALSE, Get-NetAdapter's "Virtual : True" or
// "ConnectorPresent : False": the adapter is no card.
bool SaysVirtual(const std::string& squeezedKey, std::string_view loweredValue) {
  return (squeezedKey == "physicaladapter" && loweredValue == "false") ||
         (squeezedKey == "connectorpresent" && loweredValue == "false") ||
         (squeezedKey == "hardwareinterface" && loweredValue == "false") ||
         (squeezedKey == "virtual" && loweredValue == "true");
}

bool SaysDisconnected(const std::string& squeezedKey, std::string_view loweredValue) {
  if (squeezedKey == "netconnectionstatus") return loweredValue == "0" || loweredValue == "7";
  if (squeezedKey == "netenabled") return loweredValue == "false";
  if (!Contains(squeezedKey, {"state", "status", "状态", "transport", "传输"})) return false;
  return Contains(loweredValue, {"disconnected", "not present", "断开", "不存在"}) ||
         IsOneOf(loweredValue, {"down", "disabled", "已禁用"});
}

// The adapter's own address: "IPv4 Address", "IP Address" (Windows XP),
// "IPv4 地址", "IPAddress" (wmic nicconfig), "IPv4Address"; never an
// autoconfiguration address, a gateway's or a server's.
bool NamesOwnIpv4(const std::string& squeezedKey) {
  if (Contains(squeezedKey, {"autoconfiguration", "自动配置", "gateway", "网关", "server", "服务器", "dns"}))
    return false;
  return Contains(squeezedKey, {"ipv4"}) || squeezedKey.starts_with("ipaddress") || squeezedKey == "ip地址";
}

// "192.168.1.101(Preferred)", "192.168.1.101(首选)", {"192.168.1.101","fe80::1"}:
// an address a network gave (not 0.0.0.0, not 169.254.x.x, which Windows
// takes when no DHCP server answered).
bool StartsWithGivenIpv4(std::string_view value) {
  const std::size_t start = value.find_first_not_of("{\" \t");
  if (start == std::string_view::npos) return false;
  const std::size_t end = value.find_first_not_of("0123456789.", start);
  const std::string_view address = value.substr(start, end == std::string_view::npos ? end : end - start);
  return IsIpv4Address(address) && address != "0.0.0.0" && !address.starts_with("169.254.");
}

}  // namespace

bool IsMachineNameKey(std::string_view key) {
  return IsOneOf(Squeezed(key), {"hostname", "主机名", "systemname", "pscomputername", "computername", "计算机名",
                                 "dnshostname", "csname", "machinename"});
}

bool IsAdapterKey(std::string_view key) { return IsIn(Squeezed(key), kAdapterKeys); }

bool IsMacValue(std::string_view value) { return ParseMac(value).valid(); }

bool NamesAnAdapter(std::string_view value) {
  return Contains(Lowered(value), {"adapter", "controller", "miniport", "network connection", "ethernet", "wireless",
                                   "wi-fi", "bluetooth", "适配器", "网卡"});
}

AdapterFacts FactsOf(const Block& block) {
  AdapterFacts facts;
  std::string words = Lowered(block.heading);
  bool virtualFlag = false;
  for (std::size_t i = 0; i < block.pairs.size(); ++i) {
    const BlockPair& pair = block.pairs[i];
    const std::string key = Squeezed(pair.key);
    const std::string value = Lowered(pair.value);
    if (DescribesAdapter(key)) words.append(" ").append(value);
    virtualFlag = virtualFlag || SaysVirtual(key, value);
    facts.disconnected = facts.disconnected || SaysDisconnected(key, value);
    facts.hasMac = facts.hasMac || IsMacValue(pair.value);
    if (facts.ipv4Pair < 0 && NamesOwnIpv4(key) && StartsWithGivenIpv4(pair.value))
      facts.ipv4Pair = static_cast<int>(i);
  }
  facts.kind = KindFromWords(words);
  if (virtualFlag && facts.kind != AdapterKind::Tunnel) facts.kind = AdapterKind::Virtual;
  return facts;
}

int ChooseAdapter(const std::vector<AdapterFacts>& adapters) {
  const auto rank = [](const AdapterFacts& facts) {
    if (!facts.hasMac || (facts.kind != AdapterKind::Wired && facts.kind != AdapterKind::Wireless)) return 0;
    const bool wired = facts.kind == AdapterKind::Wired;
    if (facts.ipv4Pair >= 0) return wired ? 4 : 3;
    if (!wired) return 0;
    return facts.disconnected ? 1 : 2;
  };
  int chosen = -1, best = 0;
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    const int r = rank(adapters[i]);
    if (r > best) best = r, chosen = static_cast<int>(i);
  }
  return chosen;
}

bool IsAdapterInUse(const AdapterFacts& adapter) {
  if (!adapter.hasMac || adapter.disconnected) return false;
  return adapter.kind == AdapterKind::Wired || (adapter.kind == AdapterKind::Wireless && adapter.ipv4Pair >= 0);
}

}  // namespace venbrook
