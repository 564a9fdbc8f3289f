#include "sources/columns/machine_words.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/mac_address.h"

namespace venbrook {
namespace {

using Words = std::initializer_list<std::string_view>;

bool IsAsciiLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The header's ASCII words, lower-cased: split at every other character and
// where a lower-case letter meets an upper-case one ("ComputerName": computer,
// name; "MACAddress": macaddress).
std::vector<std::string> AsciiWords(std::string_view header) {
  std::vector<std::string> words;
  std::string word;
  char previous = '\0';
  for (const char c : header) {
    const bool split = !IsAsciiLetterOrDigit(c) || (previous >= 'a' && previous <= 'z' && c >= 'A' && c <= 'Z');
    if (split && !word.empty()) words.push_back(std::move(word)), word.clear();
    if (IsAsciiLetterOrDigit(c)) word += LowerAscii(c);
    previous = c;
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// The header without blanks and separators, ASCII lower-cased: what is
// compared whole with the words for a machine's name.
std::string Squeezed(std::string_view header) {
  std::string squeezed;
  for (const char c : header)
    if (c != ' ' && c != '\t' && c != '_' && c != '-' && c != '.' && c != '(' && c != ')') squeezed += LowerAscii(c);
  return squeezed;
}

bool Contains(std::string_view text, Words words) {
  return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return text.find(w) != std::string_view::npos; });
}
bool AnyWordIs(const std::vector<std::string>& words, Words wanted) {
  return std::any_of(words.begin(), words.end(), [&](const std::string& w) {
    return std::find(wanted.begin(), wanted.end(), w) != wanted.end();
  });
}
bool AnyWordStartsWith(const std::vector<std::string>& words, Words starts) {
  return std::any_of(words.begin(), words.end(), [&](const std::string& w) {
    return std::any_of(starts.begin(), starts.end(), [&](std::string_view s) { return w.starts_with(s); });
  });
}

bool NamesMac(std::string_view header, const std::vector<std::string>& words) {
  // "mac", "macaddress", "mac_addr", "MAC地址"; "machine" is another word.
  const bool macWord = std::any_of(words.begin(), words.end(), [](const std::string& w) {
    return w.starts_with("mac") && !w.starts_with("machin");
  });
  return macWord || AnyWordStartsWith(words, {"hardware", "hwaddr", "physical"}) ||
         Contains(header, {"物理地址", "网卡", "硬件地址"});
}

bool NamesAddress(std::string_view header, const std::vector<std::string>& words) {
  return AnyWordStartsWith(words, {"ip", "internet"}) || AnyWordIs(words, {"address", "addr"}) ||
         Contains(header, {"地址"});
}

bool NamesClientId(std::string_view header) {
  const std::string squeezed = Squeezed(header);
  return squeezed == "clientid" || squeezed == "clientidentifier" || squeezed == "uid" ||
         squeezed == "dhcpclientidentifier" || Contains(header, {"客户端标识"});
}

bool NamesRemark(std::string_view header, const std::vector<std::string>& words) {
  return AnyWordIs(words, {"remark", "remarks", "note", "notes", "comment", "comments", "description", "desc", "descr"}) ||
         Contains(header, {"备注", "说明", "描述"});
}

bool NamesNoName(std::string_view header, const std::vector<std::string>& words) {
  return AnyWordIs(words, {"zone", "area", "group", "no", "index", "idx", "id", "seq", "num", "number", "time", "date",
                           "expires", "expiry", "expire", "ends", "starts", "lease", "status", "state", "type", "user",
                           "username", "domain", "interface", "iface", "port", "ports", "vlan", "vendor",
                           "manufacturer", "gateway", "mask", "age", "flags", "model", "os", "transport", "protocol",
                           "server", "speed"}) ||
         Contains(header, {"区", "分组", "序号", "时间", "日期", "到期", "状态", "类型", "用户", "域", "接口", "端口", "网关",
                           "掩码", "厂商", "制造商", "型号", "系统"});
}

bool IsNameWord(std::string_view header) {
  const std::string squeezed = Squeezed(header);
  for (std::string_view word : {"机器名", "机器名称", "计算机名", "计算机名称", "主机名", "主机名称", "终端名",
                                "终端名称", "客户机名", "客户机名称", "设备名", "设备名称", "座位名", "机器编号",
                                "名称", "名字", "hostname", "computername", "machinename", "pcname", "devicename",
                                "clientname", "name", "host", "computer", "machine", "node", "cn", "commonname"})
    if (squeezed == word) return true;
  return false;
}

bool HoldsNameWord(std::string_view header, const std::vector<std::string>& words) {
  return AnyWordStartsWith(words, {"name", "machine", "computer", "host", "pc", "seat", "client", "device", "node"}) ||
         Contains(header, {"名", "机器", "计算机", "主机", "终端", "座位", "编号", "客户机"});
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::string LowerAsciiText(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

bool IsIpv6Address(std::string_view value) {
  int colons = 0;
  for (const char c : value) {
    if (c == ':') ++colons;
    else if (!IsHexDigit(c) && c != '.') return false;
  }
  return colons >= 2 && (value.find("::") != std::string_view::npos || colons == 7);
}

bool StartsWithAny(std::string_view lower, Words starts) {
  return std::any_of(starts.begin(), starts.end(), [&](std::string_view s) { return lower.starts_with(s); });
}

// Letters (and '-'), digits, then one "/digits" or more and perhaps a unit
// ".digits": Gi1/0/1, GE0/0/1, Ethernet1/1, ge-0/0/1.0. A machine's name
// never holds a slash between digits.
bool IsSlottedPort(std::string_view lower) {
  std::size_t at = 0;
  while (at < lower.size() && (IsAsciiLetter(lower[at]) || lower[at] == '-' || lower[at] == ' ')) ++at;
  if (at == 0 || at == lower.size() || !IsDigit(lower[at])) return false;
  int slashes = 0;
  while (at < lower.size()) {
    if (IsDigit(lower[at])) {
      ++at;
    } else if (lower[at] == '/' && at + 1 < lower.size() && IsDigit(lower[at + 1])) {
      ++slashes, ++at;
    } else if (lower[at] == '.' && slashes > 0 && at + 1 < lower.size() && IsDigit(lower[at + 1])) {
      ++at;
    } else {
      return false;
    }
  }
  return slashes > 0;
}

// A known word of an interface's kind followed by its number, or a system's
// own interface names.
bool IsNumberedInterface(std::string_view lower) {
  static constexpr std::string_view kKinds[] = {"vlanif", "vlan-interface", "vlan", "port-channel", "bridge-aggregation",
                                                "eth-trunk", "ether", "eth", "wlan", "bond", "bridge", "br", "ens", "eno",
                                                "vmbr", "virbr", "docker", "tun", "tap", "ppp", "wg", "lo"};
  for (const std::string_view kind : kKinds) {
    if (!lower.starts_with(kind)) continue;
    std::string_view rest = lower.substr(kind.size());
    if (rest.starts_with(' ') || rest.starts_with('-')) rest.remove_prefix(1);
    if (kind == "bridge" || kind == "lo") return rest.empty() || IsAllDigits(rest);
    if (kind == "br" && !rest.empty() && lower[2] == '-') return true;  // OpenWrt's br-lan
    return IsAllDigits(rest);
  }
  // enp3s0, wlp2s0, enx00e04c680001: a bus's place in the name.
  return (lower.starts_with("enp") || lower.starts_with("wlp")) && lower.size() > 4 && IsDigit(lower[3]) &&
         lower.find('s') != std::string_view::npos;
}

}  // namespace

HeaderRole ClassifyHeader(std::string_view header) {
  const std::vector<std::string> words = AsciiWords(header);
  if (NamesMac(header, words)) return HeaderRole::Mac;
  if (NamesClientId(header)) return HeaderRole::ClientId;
  if (NamesAddress(header, words)) return HeaderRole::Address;
  if (NamesRemark(header, words)) return HeaderRole::Remark;
  if (NamesNoName(header, words)) return HeaderRole::NotName;
  if (IsNameWord(header)) return HeaderRole::Name;
  if (HoldsNameWord(header, words)) return HeaderRole::NameLike;
  return HeaderRole::None;
}

bool IsAllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool IsMacText(std::string_view value) { return MacNumber(value) >= 0; }

bool IsIpv4Address(std::string_view value) {
  int parts = 0;
  std::size_t at = 0;
  for (;;) {
    std::size_t digits = 0;
    int number = 0;
    while (at < value.size() && IsDigit(value[at]) && digits < 4) {
      number = number * 10 + (value[at] - '0');
      ++at, ++digits;
    }
    if (digits == 0 || digits > 3 || number > 255) return false;
    if (++parts == 4) return at == value.size();
    if (at >= value.size() || value[at] != '.') return false;
    ++at;
  }
}

bool IsDateOrTime(std::string_view value) {
  // Groups of one to four digits joined by date and time marks, a date's
  // mark or a time's colon among them; never a MAC nor an IPv4 address.
  static constexpr std::string_view kChineseMarks[] = {"年", "月", "日", "时", "分", "秒"};
  bool dateOrTimeMark = false, digitsSeen = false;
  int groups = 0;
  std::size_t digitsInGroup = 0;
  for (std::size_t at = 0; at < value.size();) {
    const char c = value[at];
    if (IsDigit(c)) {
      if (digitsInGroup == 0) ++groups;
      if (++digitsInGroup > 4) return false;
      digitsSeen = true;
      ++at;
      continue;
    }
    digitsInGroup = 0;
    if (c == '-' || c == '/' || c == ':') {
      dateOrTimeMark = true;
      ++at;
    } else if (c == '.' || c == ' ' || c == 'T') {
      ++at;
    } else {
      const auto mark = std::find_if(std::begin(kChineseMarks), std::end(kChineseMarks),
                                     [&](std::string_view m) { return value.substr(at, m.size()) == m; });
      if (mark == std::end(kChineseMarks)) return false;
      dateOrTimeMark = true;
      at += mark->size();
    }
  }
  if (!digitsSeen || groups < 2 || IsMacText(value) || IsIpv4Address(value)) return false;
  // 2024.06.01: dots alone make a date only with a year in front.
  return dateOrTimeMark || (groups == 3 && value.find('.') == 4);
}

}  // namespace venbrook

namespace venbrook {
namespace {

// A value lower-cased once (ASCII letters), for every word list to look at.
// Values longer than this are no placeholder, state, interface or adapter.
constexpr std::size_t kLongestWord = 64;

class Lowered {
 public:
  explicit Lowered(std::string_view value) : size_(std::min(value.size(), kLongestWord)) {
    for (std::size_t at = 0; at < size_; ++at) text_[at] = LowerAscii(value[at]);
  }
  std::string_view view() const { return {text_, size_}; }

 private:
  char text_[kLongestWord];
  std::size_t size_;
};

bool IsOneOf(std::string_view lower, Words words) {
  return std::find(words.begin(), words.end(), lower) != words.end();
}

// An IPv4 address with a remark after it, as ipconfig writes one:
// "192.168.0.11(首选)", "192.168.0.11(Preferred)".
bool IsIpv4WithRemark(std::string_view value) {
  const std::size_t bracket = value.find('(');
  return bracket != std::string_view::npos && bracket > 0 && value.back() == ')' &&
         IsIpv4Address(TrimBlanks(value.substr(0, bracket)));
}

// A word that stands where a tool had no value to show.
bool IsGapWord(std::string_view lower) {
  return !lower.empty() && lower.size() <= 13 && !IsDigit(lower.front()) &&
         IsOneOf(lower, {"*", "-", "--", "?", "n/a", "[n/a]", "(n/a)", "[n/s]", "unknown", "<unknown>", "(unknown)",
                         "<incomplete>", "(incomplete)", "incomplete", "none", "(none)", "<none>", "null", "(null)",
                         "bad_address", "无", "未知"});
}

bool IsPlaceholder(std::string_view value, std::string_view lower) {
  if (IsGapWord(lower)) return true;
  if (IsDigit(value.front())) return IsIpv4Address(value) || IsIpv4WithRemark(value);
  if (value.find(':') != std::string_view::npos && IsIpv6Address(value)) return true;
  // An address in brackets, as arp prints it beside a name it could not resolve.
  if (value.size() > 2 && value.front() == '(' && value.back() == ')' && IsIpv4Address(value.substr(1, value.size() - 2)))
    return true;
  // A DHCP client's vendor class, which some servers show where the host
  // sent no name.
  return StartsWithAny(lower, {"pxeclient", "msft 5", "msft5", "msft 98", "udhcp ", "udhcp-", "dhcpcd-", "android-dhcp-"});
}

void ReadStateWords(std::string_view lower, ValueWords& words) {
  if (lower.size() > 20) return;
  if (IsOneOf(lower, {"expired", "expire", "declined", "decline", "conflict", "conflicting", "released", "release",
                      "free", "abandoned", "deleted", "delete", "denied", "nak", "nack", "bad_address", "过期", "已过期",
                      "冲突", "释放", "已释放", "拒绝", "已删除"})) {
    words.state = words.stateOver = true;
    return;
  }
  words.state = IsOneOf(lower, {"active", "bound", "assign", "assigned", "renew", "renewed", "reserved", "reservation",
                                "activereservation", "inactivereservation", "offered", "static", "dynamic", "reachable",
                                "stale", "delay", "probe", "permanent", "complete", "up", "online", "busy", "waiting",
                                "authorized", "动态", "静态", "在线", "活动", "已分配", "已绑定", "绑定", "有效", "保留"});
}

void ReadAdapterWords(std::string_view lower, ValueWords& words) {
  words.spareAdapter = Contains(lower, {"wi-fi", "wifi", "wireless", "wlan", "802.11", "bluetooth", "virtual", "vmware",
                                        "hyper-v", "vethernet", "virtualbox", "tap-windows", "tap-win", "tunnel", "teredo", "isatap",
                                        "6to4", "loopback", "wan miniport", "vpn", "蓝牙", "无线", "虚拟", "隧道", "环回"});
  words.adapter = words.spareAdapter ||
                  Contains(lower, {"ethernet", "controller", "adapter", "network connection", "gbe", "realtek", "intel(r)",
                                   "broadcom", "qualcomm", "atheros", "marvell", "以太网", "本地连接", "网络连接", "网卡"});
}

bool IsDnsNameOf(std::string_view value) {
  if (value.find('.') == std::string_view::npos || value.ends_with('.') || IsIpv4Address(value)) return false;
  std::size_t labelStart = 0;
  for (std::size_t at = 0; at <= value.size(); ++at) {
    if (at < value.size() && value[at] != '.') {
      const char c = value[at];
      if (!IsAsciiLetter(c) && !IsDigit(c) && c != '-' && c != '_') return false;
      continue;
    }
    if (at == labelStart) return false;  // an empty label
    if (at == value.size())
      return std::all_of(value.begin() + static_cast<std::ptrdiff_t>(labelStart), value.end(), IsAsciiLetter);
    labelStart = at + 1;
  }
  return false;
}

bool IsDirectoryNameOf(std::string_view value, std::string_view lower) {
  if (value.size() < 4 || value[2] != '=' || value.find(',') == std::string_view::npos) return false;
  const std::string_view kind = lower.substr(0, 2);
  return kind == "cn" || kind == "ou" || kind == "dc";
}

}  // namespace

ValueWords ReadValueWords(std::string_view value) {
  ValueWords words;
  value = TrimBlanks(value);
  if (value.empty()) return words;
  const Lowered lowered(value);
  const std::string_view lower = lowered.view();
  words.directoryName = IsDirectoryNameOf(value, lower);
  if (value.size() > kLongestWord) return words;
  words.gap = IsGapWord(lower);
  words.noName = words.gap || IsPlaceholder(value, lower);
  if (words.noName) return words;
  // Every word below begins with a letter or has one, Latin or Chinese: a
  // number, a date or a time has none, and is not asked for sixty of them.
  const bool lettered = std::any_of(lower.begin(), lower.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
  });
  if (!lettered) return words;
  words.interfaceName = IsSlottedPort(lower) || IsNumberedInterface(lower);
  ReadStateWords(lower, words);
  ReadAdapterWords(lower, words);
  words.dnsName = IsDnsNameOf(value);
  words.boolean = IsOneOf(lower, {"yes", "no", "true", "false", "是", "否"});
  return words;
}

// Each question alone, asking no more of the value than it needs: these
// run once a row, where the judge asks them all once a column's value.
bool IsNoName(std::string_view value) {
  value = TrimBlanks(value);
  return !value.empty() && value.size() <= kLongestWord && IsPlaceholder(value, Lowered(value).view());
}

bool IsInterfaceName(std::string_view value) {
  value = TrimBlanks(value);
  if (value.empty() || value.size() > kLongestWord) return false;
  const Lowered lowered(value);
  return IsSlottedPort(lowered.view()) || IsNumberedInterface(lowered.view());
}

bool IsStateWord(std::string_view value, bool& over) {
  value = TrimBlanks(value);
  ValueWords words;
  if (!value.empty()) ReadStateWords(Lowered(value).view(), words);
  over = words.stateOver;
  return words.state;
}

bool IsDnsName(std::string_view value) { return IsDnsNameOf(TrimBlanks(value)); }

bool IsAdapterName(std::string_view value, bool& notMachine) {
  value = TrimBlanks(value);
  ValueWords words;
  if (!value.empty() && value.size() <= kLongestWord) ReadAdapterWords(Lowered(value).view(), words);
  notMachine = words.spareAdapter;
  return words.adapter;
}

}  // namespace venbrook

namespace venbrook {

bool HoldsIpv4(std::string_view value) {
  value = TrimBlanks(value);
  if (value.starts_with('{')) value = value.substr(1, value.find_first_of(";,}") - 1);
  return !value.empty() && IsDigit(value.front()) && (IsIpv4Address(value) || IsIpv4WithRemark(value));
}

bool SaysDisconnected(std::string_view value) {
  const std::string lower = LowerAsciiText(TrimBlanks(value));
  return lower == "disconnected" || lower == "media disconnected" || lower == "not present" || lower == "disabled" ||
         lower == "媒体已断开" || lower == "已断开" || lower == "断开" || lower == "已禁用";
}

bool IsDirectoryName(std::string_view value) { return ReadValueWords(value).directoryName; }

bool HeaderNamesTime(std::string_view header) {
  const std::vector<std::string> words = AsciiWords(header);
  return AnyWordIs(words, {"time", "date", "expire", "expires", "expiry", "ends", "starts", "lifetime", "timestamp",
                           "seen", "cltt", "tstp"}) ||
         Contains(header, {"时间", "日期", "到期"});
}

}  // namespace venbrook
