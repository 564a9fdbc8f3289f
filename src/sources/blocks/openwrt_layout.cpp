#include "sources/blocks/openwrt_layout.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/blanks.h"
#include "sources/blocks/record_cells.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

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

bool IsStatement(std::string_view keyword) {
  return keyword == "config" || keyword == "option" || keyword == "list" || keyword == "package";
}

// A host section: its options but its MACs, and each MAC with its line.
struct Host {
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<std::pair<std::string, int>> macs;

  void add(std::string_view key, std::string_view value, int line) {
    if (key != "mac") {
      options.emplace_back(key, value);
      return;
    }
    std::vector<std::string_view> words;
    SplitWords(value, words);
    for (const std::string_view mac : words) macs.emplace_back(mac, line);
  }
};

// One record a MAC, each with the host's options.
LayoutEnd HandOver(const Host& host, KeyedColumns& keys, RecordCells& cells, RecordVisitor& visitor) {
  const auto add = [&](std::string_view key, std::string_view value) {
    const int column = BoundedColumnOf(keys, key);
    if (column < 0) return LayoutEnd::Past(Bound::RecordCells);
    if (!cells.add(column, value)) return LayoutEnd::Past(Bound::RecordBytes);
    return LayoutEnd{};
  };
  for (const auto& [mac, line] : host.macs) {
    for (const auto& [key, value] : host.options)
      if (const LayoutEnd end = add(key, value); end.how != LayoutEnd::How::Done) return end;
    if (const LayoutEnd end = add("mac", mac); end.how != LayoutEnd::How::Done) return end;
    if (!cells.handTo(visitor, line)) return {LayoutEnd::How::Stopped};
  }
  return {};
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

LayoutEnd OpenWrtLayout::forEachRecord(RecordVisitor& visitor) {
  return form_ == UciText::Config ? readConfig(visitor) : readShow(visitor);
}

LayoutEnd OpenWrtLayout::readConfig(RecordVisitor& visitor) {
  TextLines lines(text_);
  std::string_view line;
  std::string keyword, key, value;
  RecordCells cells;
  Host host;
  bool inHost = false;
  while (lines.next(line)) {
    if (line.size() > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
    std::size_t at = 0;
    if (!NextWord(line, at, keyword)) continue;
    if (keyword == "config") {
      if (inHost)
        if (const LayoutEnd end = HandOver(host, keys_, cells, visitor); end.how != LayoutEnd::How::Done) return end;
      host = Host();
      inHost = NextWord(line, at, key) && key == "host";
    } else if ((keyword == "option" || keyword == "list") && inHost && NextWord(line, at, key) &&
               NextWord(line, at, value)) {
      host.add(key, value, lines.number());
    }
  }
  if (inHost) return HandOver(host, keys_, cells, visitor);
  return {};
}

LayoutEnd OpenWrtLayout::readShow(RecordVisitor& visitor) {
  struct Section {
    bool host = false;
    Host machine;
  };
  std::vector<Section> sections;
  std::unordered_map<std::string_view, std::size_t> index;  // section's name → its place, in the order first met
  TextLines lines(text_);
  std::string_view line;
  std::string word;
  ShowLine show;
  while (lines.next(line)) {
    if (line.size() > kMaxRecordBytes) return LayoutEnd::Past(Bound::RecordBytes);
    if (!ReadShowLine(line, show) || show.config != "dhcp") continue;
    const auto [place, added] = index.try_emplace(show.section, sections.size());
    if (added) sections.push_back({show.section.starts_with("@host["), {}});
    Section& section = sections[place->second];
    std::size_t at = 0;
    if (show.option.empty()) {
      section.host = NextWord(show.value, at, word) && word == "host";
    } else {
      while (NextWord(show.value, at, word)) section.machine.add(show.option, word, lines.number());
    }
  }
  RecordCells cells;
  for (const Section& section : sections)
    if (section.host)
      if (const LayoutEnd end = HandOver(section.machine, keys_, cells, visitor); end.how != LayoutEnd::How::Done)
        return end;
  return {};
}

bool LooksLikeOpenWrtConfig(std::string_view sampleUtf8) {
  TextLines lines(sampleUtf8);
  std::string_view line;
  std::string word;
  bool section = false, option = false;
  while (lines.next(line)) {
    std::size_t at = 0;
    if (!NextWord(line, at, word)) continue;
    if (!IsStatement(word)) return false;
    section |= word == "config";
    option |= word == "option" || word == "list";
  }
  return section && option;
}

bool LooksLikeUciShow(std::string_view sampleUtf8) {
  TextLines lines(sampleUtf8);
  std::string_view line;
  ShowLine show;
  bool dhcp = false;
  while (lines.next(line)) {
    if (TrimBlanks(line).empty()) continue;
    if (!ReadShowLine(line, show)) return false;
    dhcp |= show.config == "dhcp";
  }
  return dhcp;
}

std::unique_ptr<TableLayout> MakeOpenWrtConfigLayout(std::string_view textUtf8) {
  return std::make_unique<OpenWrtLayout>(textUtf8, UciText::Config);
}

std::unique_ptr<TableLayout> MakeUciShowLayout(std::string_view textUtf8) {
  return std::make_unique<OpenWrtLayout>(textUtf8, UciText::Show);
}

}  // namespace venbrook
