#include "sources/router/openwrt_dhcp.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The next word of a UCI line, its quotes taken out; false at the line's
// end or at a comment.
bool NextWord(std::string_view line, std::size_t& at, std::string& word) {
  while (at < line.size() && IsBlank(line[at])) ++at;
  if (at >= line.size() || line[at] == '#') return false;
  word.clear();
  char quote = '\0';
  for (; at < line.size(); ++at) {
    const char c = line[at];
    if (quote == '\0' && IsBlank(c)) break;
    if (quote == '\0' && (c == '\'' || c == '"')) {
      quote = c;
    } else if (c == quote) {
      quote = '\0';
    } else if (c == '\\' && quote != '\'' && at + 1 < line.size()) {
      word += line[++at];
    } else {
      word += c;
    }
  }
  return true;
}

// A host section: its name and its MACs, each with its line.
struct Host {
  std::string name;
  std::vector<std::pair<std::string, int>> macs;
};

void AddMacs(std::string_view value, int line, Host& host) {
  std::vector<std::string_view> words;
  SplitWords(value, words);
  for (const std::string_view mac : words) host.macs.emplace_back(std::string(mac), line);
}

void AddHost(const Host& host, RouterRows& rows) {
  for (const auto& [mac, line] : host.macs) rows.add(host.name, mac, line);
}

// "dhcp.@host[0].name='A01'": the configuration, the section, the option
// (empty on a section's own line) and the value as written.
struct ShowLine {
  std::string_view config, section, option, value;
};

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool ReadShowLine(std::string_view line, ShowLine& show) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string_view key = line.substr(0, equals);
  show.value = line.substr(equals + 1);
  const std::size_t firstDot = key.find('.');
  if (firstDot == std::string_view::npos) return false;
  show.config = key.substr(0, firstDot);
  std::string_view rest = key.substr(firstDot + 1);
  const std::size_t secondDot = rest.find('.');
  show.section = rest.substr(0, secondDot);
  show.option = secondDot == std::string_view::npos ? std::string_view{} : rest.substr(secondDot + 1);
  if (show.config.empty() || show.section.empty() || (secondDot != std::string_view::npos && show.option.empty()))
    return false;
  for (const std::string_view part : {show.config, show.option})
    for (const char c : part)
      if (!IsNameCharacter(c)) return false;
  for (const char c : show.section)
    if (!IsNameCharacter(c) && c != '@' && c != '[' && c != ']') return false;
  return true;
}

}  // namespace

void ReadOpenWrtConfig(std::string_view text, RouterRows& rows) {
  TextLines lines(text);
  std::string_view line;
  std::string keyword, key, value;
  Host host;
  bool inHost = false;
  while (lines.next(line)) {
    std::size_t at = 0;
    if (!NextWord(line, at, keyword)) continue;
    if (keyword == "config") {
      if (inHost) AddHost(host, rows);
      host = Host();
      inHost = NextWord(line, at, key) && key == "host";
    } else if (keyword == "option" || keyword == "list") {
      if (!inHost || !NextWord(line, at, key) || !NextWord(line, at, value)) continue;
      if (key == "name" && keyword == "option") host.name = value;
      if (key == "mac") AddMacs(value, lines.number(), host);
    } else if (keyword != "package") {
      rows.skip(lines.number());
    }
  }
  if (inHost) AddHost(host, rows);
}

void ReadUciShow(std::string_view text, RouterRows& rows) {
  struct Section {
    bool host = false;
    Host machine;
  };
  std::vector<Section> sections;
  std::unordered_map<std::string, std::size_t> index;  // section key → its place, in the order first seen
  TextLines lines(text);
  std::string_view line;
  std::string word;
  ShowLine show;
  while (lines.next(line)) {
    if (TrimBlanks(line).empty()) continue;
    if (!ReadShowLine(line, show)) {
      rows.skip(lines.number());
      continue;
    }
    if (show.config != "dhcp") continue;
    const auto [place, added] = index.try_emplace(std::string(show.section), sections.size());
    if (added) sections.push_back({show.section.starts_with("@host["), {}});
    Section& section = sections[place->second];
    std::size_t at = 0;
    if (show.option.empty()) {
      section.host = NextWord(show.value, at, word) && word == "host";
    } else if (show.option == "name") {
      if (NextWord(show.value, at, word)) section.machine.name = word;
    } else if (show.option == "mac") {
      while (NextWord(show.value, at, word)) AddMacs(word, lines.number(), section.machine);
    }
  }
  for (const Section& section : sections)
    if (section.host) AddHost(section.machine, rows);
}

}  // namespace venbrook
