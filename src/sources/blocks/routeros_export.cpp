#include "sources/blocks/routeros_export.h"

#include <string>
#include <vector>

#include "model/blanks.h"
#include "sources/blocks/record_cells.h"
#include "sources/blocks/routeros_pairs.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

// A command with the lines it goes on in joined: the '\' at a line's end
// and the next line's leading blanks are taken out.
class CommandLines {
 public:
  explicit CommandLines(std::string_view text) : lines_(text) {}

  // False at the text's end, or when a command would pass kMaxRecordBytes
  // (then tooLong()), before it is copied.
  bool next(std::string& command, int& firstLine) {
    std::string_view line;
    if (!lines_.next(line)) return false;
    firstLine = lines_.number();
    if (line.size() > kMaxRecordBytes) {
      tooLong_ = true;
      return false;
    }
    command.assign(line);
    while (EndsInContinuation(command) && lines_.next(line)) {
      const std::string_view more = TrimBlanks(line);
      if (command.size() + more.size() > kMaxRecordBytes) {
        tooLong_ = true;
        return false;
      }
      command.pop_back();
      command.append(more);
    }
    return true;
  }
  bool tooLong() const { return tooLong_; }

 private:
  static bool EndsInContinuation(std::string_view text) {
    std::size_t backslashes = 0;
    while (backslashes < text.size() && text[text.size() - 1 - backslashes] == '\\') ++backslashes;
    return backslashes % 2 == 1;
  }

  TextLines lines_;
  bool tooLong_ = false;
};

// A menu path at the start of a line, "/ip dhcp-server lease" or
// "/ip/dhcp-server/lease": its first three words, and the command after
// them in `rest`.
bool IsLeaseMenu(std::string_view line, std::string_view& rest) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (words.size() < 3) {
    while (at < line.size() && (IsBlank(line[at]) || line[at] == '/')) ++at;
    const std::size_t start = at;
    while (at < line.size() && !IsBlank(line[at]) && line[at] != '/' && line[at] != '=') ++at;
    if (at == start || (at < line.size() && line[at] == '=')) break;
    words.push_back(line.substr(start, at - start));
  }
  while (at < line.size() && (IsBlank(line[at]) || line[at] == '/')) ++at;
  rest = TrimBlanks(line.substr(at));
  return words.size() == 3 && words[0] == "ip" && words[1] == "dhcp-server" && words[2] == "lease";
}

}  // namespace

LayoutEnd RouterOsExportLayout::forEachRecord(RecordVisitor& visitor) {
  CommandLines commands(text_);
  RecordCells cells;
  std::string command;
  int line = 0;
  bool inLeases = false;
  while (commands.next(command, line)) {
    std::string_view rest = TrimBlanks(command);
    if (rest.empty() || rest.starts_with('#')) continue;
    if (rest.starts_with('/')) {
      inLeases = IsLeaseMenu(rest, rest);
      if (rest.empty()) continue;
    }
    if (!inLeases) continue;  // another menu's settings: the router's, not the list's
    // The command's word ("add", "set") is no pair; a command of no pair is no record.
    const LayoutEnd end = AddRouterOsPairs(rest, RouterOsValues::EndAtBlank, true, {}, keys_, cells);
    if (end.how != LayoutEnd::How::Done) return end;
    if (!cells.handTo(visitor, line)) return {LayoutEnd::How::Stopped};
  }
  if (commands.tooLong()) return LayoutEnd::Past(Bound::RecordBytes);
  return {};
}

bool LooksLikeRouterOsExport(std::string_view sampleUtf8) {
  TextLines lines(sampleUtf8);
  std::string_view line, rest;
  while (lines.next(line)) {
    line = TrimBlanks(line);
    if (line.starts_with('/') && IsLeaseMenu(line, rest)) return true;
    if (line.starts_with('#') && line.find(" by RouterOS") != std::string_view::npos) return true;
  }
  return false;
}

std::unique_ptr<TableLayout> MakeRouterOsExportLayout(std::string_view textUtf8) {
  return std::make_unique<RouterOsExportLayout>(textUtf8);
}

}  // namespace venbrook
