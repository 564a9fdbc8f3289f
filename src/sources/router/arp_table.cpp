#include "sources/router/arp_table.h"

#include <vector>

#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

// "Interface: 192.168.1.5 --- 0xb" in any language: a word ending in ':'
// (or ':' alone), the interface's address, "---" and its number.
bool IsWindowsInterface(std::string_view, const std::vector<std::string_view>& words) {
  const std::size_t n = words.size();
  return n >= 4 && words[n - 2] == "---" && words[n - 1].starts_with("0x") && IsIpv4Address(words[n - 3]) &&
         words[n - 4].ends_with(':');
}

bool IsCiscoHeading(std::string_view line, const std::vector<std::string_view>& words) {
  return !words.empty() && words[0] == "Protocol" && line.find("Hardware Addr") != std::string_view::npos;
}

bool IsProcNetArpHeading(std::string_view line, const std::vector<std::string_view>&) {
  return TrimBlanks(line).starts_with("IP address") && line.find("HW address") != std::string_view::npos;
}

// "〈address〉 dev 〈interface〉 …"
bool IsNeighbour(const std::vector<std::string_view>& words) { return words.size() >= 3 && words[1] == "dev"; }

using HeadingTest = bool (*)(std::string_view line, const std::vector<std::string_view>& words);

bool HasHeading(std::string_view sample, HeadingTest isHeading) {
  TextLines lines(sample);
  std::string_view line;
  std::vector<std::string_view> words;
  while (lines.next(line)) {
    SplitWords(line, words);
    if (isHeading(line, words)) return true;
  }
  return false;
}

// The entries under a heading: the lines before the first heading, and the
// prompts, are the copy's; after it, each line that is neither a heading nor, when the
// heading is a Windows interface's, the line of column names after it, is
// an entry (`macOf` finds its MAC) or skipped.
template <typename MacOf>
void ReadUnderHeadings(std::string_view text, RouterRows& rows, HeadingTest isHeading, bool columnNamesFollow,
                       MacOf macOf) {
  TextLines lines(text);
  std::string_view line;
  std::vector<std::string_view> words;
  bool inTable = false, columnNames = false;
  while (lines.next(line)) {
    SplitWords(line, words);
    if (words.empty()) continue;
    if (isHeading(line, words)) {
      inTable = true;
      columnNames = columnNamesFollow;
    } else if (columnNames) {
      columnNames = false;
    } else if (inTable && !IsPromptLine(line)) {
      const std::string_view mac = macOf(words);
      if (mac.empty()) rows.skip(lines.number());
      else rows.add({}, mac, lines.number());
    }
  }
}

}  // namespace

bool LooksLikeWindowsArp(std::string_view sample) { return HasHeading(sample, IsWindowsInterface); }
bool LooksLikeCiscoArp(std::string_view sample) { return HasHeading(sample, IsCiscoHeading); }
bool LooksLikeProcNetArp(std::string_view sample) { return HasHeading(sample, IsProcNetArpHeading); }

bool LooksLikeIpNeigh(std::string_view sample) {
  TextLines lines(sample);
  std::string_view line;
  std::vector<std::string_view> words;
  bool lladdr = false;
  while (lines.next(line)) {
    SplitWords(line, words);
    if (words.empty()) continue;
    if (!IsNeighbour(words)) return false;
    for (const std::string_view word : words) lladdr |= word == "lladdr";
  }
  return lladdr;
}

void ReadWindowsArp(std::string_view text, RouterRows& rows) {
  ReadUnderHeadings(text, rows, IsWindowsInterface, true, [](const std::vector<std::string_view>& words) {
    return words.size() == 3 && IsIpv4Address(words[0]) ? words[1] : std::string_view{};
  });
}

void ReadCiscoArp(std::string_view text, RouterRows& rows) {
  ReadUnderHeadings(text, rows, IsCiscoHeading, false, [](const std::vector<std::string_view>& words) {
    return words.size() >= 4 && words[0] == "Internet" && IsIpv4Address(words[1]) ? words[3] : std::string_view{};
  });
}

void ReadProcNetArp(std::string_view text, RouterRows& rows) {
  ReadUnderHeadings(text, rows, IsProcNetArpHeading, false, [](const std::vector<std::string_view>& words) {
    return words.size() >= 4 && IsIpv4Address(words[0]) ? words[3] : std::string_view{};
  });
}

void ReadIpNeigh(std::string_view text, RouterRows& rows) {
  TextLines lines(text);
  std::string_view line;
  std::vector<std::string_view> words;
  while (lines.next(line)) {
    SplitWords(line, words);
    if (words.empty() || (IsNeighbour(words) && words[0].find(':') != std::string_view::npos)) continue;
    std::size_t at = 0;
    while (at + 1 < words.size() && words[at] != "lladdr") ++at;
    if (IsNeighbour(words) && at + 1 < words.size() && IsIpv4Address(words[0]))
      rows.add({}, words[at + 1], lines.number());
    else
      rows.skip(lines.number());  // FAILED, INCOMPLETE: no MAC
  }
}

}  // namespace venbrook
