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

bool NamesNoName(std::string_view header, const std::vector<std::string>& words) {
  return AnyWordIs(words, {"zone", "area", "group", "no", "index", "idx", "id", "seq", "num", "number", "remark",
                           "remarks", "note", "notes", "comment", "description", "desc", "time", "date", "expires",
                           "expiry", "expire", "lease", "status", "state", "type", "user", "username", "domain",
                           "interface", "iface", "port", "vlan", "vendor", "gateway", "mask", "age", "flags"}) ||
         Contains(header, {"区", "分组", "序号", "备注", "说明", "时间", "日期", "到期", "状态", "类型", "用户", "域",
                           "接口", "端口", "网关", "掩码", "厂商"});
}

bool IsNameWord(std::string_view header) {
  const std::string squeezed = Squeezed(header);
  for (std::string_view word : {"机器名", "机器名称", "计算机名", "计算机名称", "主机名", "主机名称", "终端名",
                                "终端名称", "客户机名", "客户机名称", "设备名", "设备名称", "座位名", "机器编号",
                                "名称", "名字", "hostname", "computername", "machinename", "pcname", "devicename",
                                "clientname", "name", "host", "computer", "machine"})
    if (squeezed == word) return true;
  return false;
}

bool HoldsNameWord(std::string_view header, const std::vector<std::string>& words) {
  return AnyWordStartsWith(words, {"name", "machine", "computer", "host", "pc", "seat", "client", "device"}) ||
         Contains(header, {"名", "机器", "计算机", "主机", "终端", "座位", "编号", "客户机"});
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

HeaderRole ClassifyHeader(std::string_view header) {
  const std::vector<std::string> words = AsciiWords(header);
  if (NamesMac(header, words)) return HeaderRole::Mac;
  if (NamesAddress(header, words)) return HeaderRole::Address;
  if (NamesNoName(header, words)) return HeaderRole::NotName;
  if (IsNameWord(header)) return HeaderRole::Name;
  if (HoldsNameWord(header, words)) return HeaderRole::NameLike;
  return HeaderRole::None;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
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
