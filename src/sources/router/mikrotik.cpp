#include "sources/router/mikrotik.h"

#include <string>
#include <vector>

#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A command with the lines it goes on in joined: the '\' at a line's end
// (an odd run of them: "\\" is an escaped backslash) and the next line's
// leading blanks are taken out.
class CommandLines {
 public:
  explicit CommandLines(std::string_view text) : lines_(text) {}

  bool next(std::string& command, int& firstLine) {
    std::string_view line;
    if (!lines_.next(line)) return false;
    firstLine = lines_.number();
    command.assign(line);
    while (EndsInContinuation(command) && lines_.next(line)) {
      command.pop_back();
      command.append(TrimBlanks(line));
    }
    return true;
  }

 private:
  static bool EndsInContinuation(std::string_view text) {
    std::size_t backslashes = 0;
    while (backslashes < text.size() && text[text.size() - 1 - backslashes] == '\\') ++backslashes;
    return backslashes % 2 == 1;
  }

  TextLines lines_;
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

// One value of "key=value": to the next blank, or quoted; escapes give the
// character or byte they name, a control character's escape a blank.
std::string_view ReadValue(std::string_view text, std::size_t& at, std::string& value, bool& escaped) {
  value.clear();
  escaped = false;
  const bool quoted = at < text.size() && text[at] == '"';
  if (quoted) ++at;
  for (; at < text.size(); ++at) {
    char c = text[at];
    if (quoted ? c == '"' : IsBlank(c)) break;
    if (c == '\\' && at + 1 < text.size()) {
      c = text[++at];
      if (at + 1 < text.size() && HexValue(c) >= 0 && HexValue(text[at + 1]) >= 0) {
        c = static_cast<char>(HexValue(c) * 16 + HexValue(text[++at]));
        escaped = true;
      } else if (c == '_' || c == 'n' || c == 'r' || c == 't' || c == 'a' || c == 'b' || c == 'f' || c == 'v') {
        c = ' ';
      }
    }
    value += c;
  }
  if (quoted && at < text.size()) ++at;
  return value;
}

// The values of an "add" command that tell a machine.
struct Lease {
  std::string mac, comment, hostName;
  bool hasMac = false;
};

Lease ReadAddCommand(std::string_view arguments) {
  Lease lease;
  std::string value;
  for (std::size_t at = 0; at < arguments.size();) {
    if (IsBlank(arguments[at])) {
      ++at;
      continue;
    }
    const std::size_t start = at;
    while (at < arguments.size() && !IsBlank(arguments[at]) && arguments[at] != '=') ++at;
    const std::string_view key = arguments.substr(start, at - start);
    if (at >= arguments.size() || arguments[at] != '=') continue;  // a word without a value
    bool escaped = false;
    ReadValue(arguments, ++at, value, escaped);
    std::string text = escaped ? EscapedBytesText(value) : value;
    if (key == "mac-address") {
      lease.mac = std::move(text);
      lease.hasMac = true;
    } else if (key == "comment") {
      lease.comment = std::move(text);
    } else if (key == "host-name") {
      lease.hostName = std::move(text);
    }
  }
  return lease;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
  return text.starts_with(word) && (text.size() == word.size() || IsBlank(text[word.size()]));
}

}  // namespace

bool LooksLikeMikrotikExport(std::string_view sample) {
  TextLines lines(sample);
  std::string_view line, rest;
  while (lines.next(line)) {
    line = TrimBlanks(line);
    if (line.starts_with('/') && IsLeaseMenu(line, rest)) return true;
    if (line.starts_with('#') && line.find(" by RouterOS") != std::string_view::npos) return true;
  }
  return false;
}

void ReadMikrotikExport(std::string_view text, RouterRows& rows) {
  CommandLines commands(text);
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
    if (!StartsWithWord(rest, "add")) {
      rows.skip(line);
      continue;
    }
    const Lease lease = ReadAddCommand(rest.substr(3));
    if (!lease.hasMac) {
      rows.skip(line);
      continue;
    }
    rows.add(lease.comment.empty() ? lease.hostName : lease.comment, lease.mac, line);
  }
}

}  // namespace venbrook
