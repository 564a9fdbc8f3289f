#pragma once
// What a line of a command's output is, told by its words: what tells
// where a table begins and ends. The line is as the terminal showed it
// (shown_line.h), its words as line_words.h splits them.
#include <string_view>
#include <vector>

#include "sources/aligned/line_words.h"

namespace venbrook {

// A MAC by the one rule (model/mac_address.h), or a DHCP client identifier
// carrying one (0100.e04c.6810.01): a value a table of machines holds.
bool LooksLikeMac(std::string_view word);
bool HoldsMac(std::string_view line, const std::vector<Word>& words);

// Dashes or equals signs under a heading or closing a table: "----  -----",
// "=====", "+-----+". Every word is one and one at least is three long.
bool IsRule(std::string_view line, const std::vector<Word>& words);

// A terminal's prompt, alone or before its command: "C:\>arp -a",
// "Router#show ip arp", "<HUAWEI> display arp", "[H3C]display arp",
// "[admin@MikroTik] /ip arp> print", "PS C:\> Get-NetNeighbor".
bool IsPrompt(std::string_view line, const std::vector<Word>& words);

// A count under a table: "Total entries: 2", "Total:2  Dynamic:1",
// "Total Mac Addresses for this criterion: 22", "共 20 条".
bool IsTotals(std::string_view line, const std::vector<Word>& words);

// A line that may name columns: words with a letter, none a MAC or an
// IPv4 address, none a key before ':' or '=' ("Flags: X - disabled",
// "Interface: 10.0.0.5 --- 0x4"), none joined by ',' or ';' (a CSV list's
// header), and neither a rule nor a prompt.
bool IsHeadingLike(std::string_view line, const std::vector<Word>& words);

// Windows's "Interface: 192.168.1.5 --- 0xb" above each of `arp -a`'s
// tables, in any language ("接口: 192.168.1.5 --- 0xb").
bool IsWindowsInterface(std::string_view line, const std::vector<Word>& words);

// RouterOS's comment before an entry of a print: ";;; text", after the
// entry's number and flags on older versions (" 0   ;;; A01"). `comment`
// gets the text.
bool IsRouterOsComment(std::string_view line, const std::vector<Word>& words, std::string_view& comment);

}  // namespace venbrook
