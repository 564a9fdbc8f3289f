#pragma once
// The words of a line, and the text a value's escaped bytes make: what the
// layouts of routers' and DHCP servers' files share. The whole file is UTF-8
// by then (DecodeToUtf8), whatever it was on disk.
#include <string>
#include <string_view>
#include <vector>

namespace venbrook {

// A terminal's prompt copied with a table, alone or before its command:
// "C:\>arp -a", "Router#show ip arp", "[admin@MikroTik] /ip dhcp-server lease> print".
bool IsPromptLine(std::string_view line);
// The words of a line between runs of spaces and tabs.
void SplitWords(std::string_view line, std::vector<std::string_view>& words);

// A value whose escapes gave bytes of its own (a RouterOS "\E4\B8\80", an
// ISC "\344"): the router keeps the bytes it was sent, UTF-8 from a web
// page, GBK from a program on a Chinese Windows. UTF-8 when the bytes are
// UTF-8 of characters of three or four bytes (Chinese is three); else GBK,
// whose pairs often pass for UTF-8's two-byte characters ("\D2\BB" is 一).
// Returned as UTF-8, control characters as blanks.
std::string EscapedBytesText(std::string_view bytes);

}  // namespace venbrook
