#include "sources/router/mikrotik.h"

#include <string>
#include <vector>

#include "model/mac_address.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The print's heading: where its HOST-NAME column lies, if it has one.
struct Heading {
  bool found = false;
  std::size_t hostStart = std::string_view::npos, hostEnd = std::string_view::npos;
};

bool ReadHeading(std::string_view line, Heading& heading) {
  std::vector<std::string_view> words;
  SplitWords(line, words);
  if (words.empty() || words[0] != "#") return false;
  bool address = false, mac = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] == "INTERFACE") return false;  // /ip arp print
    address |= words[i] == "ADDRESS";
    mac |= words[i] == "MAC-ADDRESS";
    if (words[i] == "HOST-NAME") {
      heading.hostStart = static_cast<std::size_t>(words[i].data() - line.data());
      if (i + 1 < words.size()) heading.hostEnd = static_cast<std::size_t>(words[i + 1].data() - line.data());
    }
  }
  heading.found = address && mac;
  return heading.found;
}

// The line after the entry's number and its flags (single capital letters).
std::string_view AfterNumberAndFlags(std::string_view line) {
  std::vector<std::string_view> words;
  SplitWords(line, words);
  std::size_t i = 0;
  if (i < words.size() && !words[i].empty() && words[i].find_first_not_of("0123456789") == std::string_view::npos) ++i;
  while (i < words.size() && words[i].size() == 1 && words[i][0] >= 'A' && words[i][0] <= 'Z') ++i;
  return i < words.size() ? line.substr(static_cast<std::size_t>(words[i].data() - line.data())) : std::string_view{};
}

}  // namespace

bool LooksLikeMikrotikPrint(std::string_view sample) {
  TextLines lines(sample);
  std::string_view line;
  Heading heading;
  while (lines.next(line))
    if (ReadHeading(line, heading)) return true;
  return false;
}

void ReadMikrotikPrint(std::string_view text, RouterRows& rows) {
  TextLines lines(text);
  std::string_view line;
  Heading heading;
  std::vector<std::string_view> words;
  std::string comment;
  bool hasComment = false;
  while (lines.next(line)) {
    if (!heading.found) {
      ReadHeading(line, heading);  // what comes before it (the prompt, the flags) is the print's own
      continue;
    }
    if (TrimBlanks(line).empty() || IsPromptLine(line)) continue;
    const std::string_view entry = AfterNumberAndFlags(line);
    if (entry.starts_with(";;;")) {
      comment.assign(TrimBlanks(entry.substr(3)));
      hasComment = true;
      continue;
    }
    SplitWords(entry, words);
    std::string_view mac;
    for (const std::string_view word : words)
      if (ParseMac(word).valid()) {
        mac = word;
        break;
      }
    if (mac.empty()) {
      rows.skip(lines.number());
      hasComment = false;
      continue;
    }
    std::string_view name;
    if (hasComment && !comment.empty()) {
      name = comment;
    } else if (heading.hostStart < line.size() && IsBlank(line[heading.hostStart - 1])) {
      const std::size_t end = heading.hostEnd == std::string_view::npos ? line.size() : heading.hostEnd;
      SplitWords(line.substr(heading.hostStart, end - heading.hostStart), words);
      if (!words.empty()) name = words[0];
    }
    rows.add(name, mac, lines.number());
    hasComment = false;
  }
}

}  // namespace venbrook
