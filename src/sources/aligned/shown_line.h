#pragma once
// A line of a terminal's copy as the terminal showed it. A capture of a
// switch's or router's session keeps what its pager wrote between pages:
// Huawei's and H3C's "  ---- More ----" followed by ESC[42D, 42 blanks and
// ESC[42D before the next line's text, Cisco's " --More-- " rubbed out with
// backspaces, a Linux "--More--(40%)", RouterOS's "-- [Q quit|D dump|down]".
// Drawn as a terminal draws them (a backspace or ESC[nD moves back, ESC[nC
// forward, ESC[K erases to the line's end, other escapes change nothing on
// the line), the prompt is overwritten and the next line's text starts at
// its own column. A pager's prompt left without its escapes (a capture
// that dropped them) is cut away with everything before it and the blanks
// after it: the line's text then starts at its first column. A line whose
// columns are parted by " - " (netsh dhcp's) has its parting hyphens drawn
// as blanks.
#include <string>
#include <string_view>
#include <vector>

#include "sources/aligned/line_words.h"

namespace venbrook {

class ShownLine {
 public:
  // The line as shown, and its words (line_words.h): `line` itself when it
  // holds neither an escape, a backspace nor a pager's prompt (nearly every
  // line, looked at once); else a text kept in this object until the next
  // call.
  std::string_view shown(std::string_view line, std::vector<Word>& words);
  // The last line held a pager's prompt, an escape or a backspace: drawn
  // out it may be blank, and then it was the terminal's, no line of the
  // output at all.
  bool heldControls() const { return heldControls_; }

 private:
  std::string_view draw(std::string_view line);
  std::string_view withoutPartingHyphens(std::string_view text, std::vector<Word>& words);

  std::vector<char32_t> cells_;
  std::string text_;
  std::string parted_;
  bool heldControls_ = false;
};

}  // namespace venbrook
