#include "sources/columns/machine_words.h"

#include <algorithm>
#include <string>

#include "model/list_findings.h"

namespace venbrook {
namespace {

// UTF-8 bytes of 0x80 and above are never ASCII letters, so lowering the
// ASCII letters alone keeps every other character as it is.
std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool HoldsAnyOf(std::string_view name, std::initializer_list<std::string_view> words) {
  const std::string lower = LowerAscii(name);
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view word) { return lower.find(word) != std::string::npos; });
}

}  // namespace

bool NamesMachineName(std::string_view columnName) {
  return HoldsAnyOf(columnName, {"name", "machine", "computer", "host", "pc", "seat", "机器", "计算机", "主机",
                                 "终端", "座位", "名"});
}

bool NamesMac(std::string_view columnName) { return HoldsAnyOf(columnName, {"mac", "物理地址"}); }

bool IsMacText(std::string_view value) { return MacNumber(value) >= 0; }

bool IsIpv4Address(std::string_view value) {
  int parts = 0;
  std::size_t at = 0;
  for (;;) {
    std::size_t digits = 0;
    int number = 0;
    while (at < value.size() && value[at] >= '0' && value[at] <= '9' && digits < 4) {
      number = number * 10 + (value[at] - '0');
      ++at, ++digits;
    }
    if (digits == 0 || digits > 3 || number > 255) return false;
    if (++parts == 4) return at == value.size();
    if (at >= value.size() || value[at] != '.') return false;
    ++at;
  }
}

}  // namespace venbrook
