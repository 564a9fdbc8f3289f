#pragma once
// What every reader of a router's or a DHCP server's file shares: the text's
// lines and words, and the rows it finds before they meet the sink. The
// whole file is UTF-8 by then (DecodeToUtf8), whatever it was on disk.
#include <string>
#include <string_view>
#include <vector>

namespace venbrook {

// Lines of text, numbered from 1, ending at CR LF, LF or CR; CR CR LF, as
// wmic writes its lines into a file, is one line's end.
class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}
  bool next(std::string_view& line);
  int number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  int number_ = 0;
};

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

// A machine a reader found: its name (UTF-8, empty when the file names
// none) and its MAC as written, with the line it is told by.
struct RouterRow {
  std::string name;
  std::string mac;
  int line;
};

struct RouterRows {
  void add(std::string_view name, std::string_view mac, int line) {
    rows.push_back({std::string(name), std::string(mac), line});
  }
  // A line that is neither a machine nor the format's own structure.
  void skip(int line) { skipped.push_back(line); }

  std::vector<RouterRow> rows;
  std::vector<int> skipped;
};

}  // namespace venbrook
