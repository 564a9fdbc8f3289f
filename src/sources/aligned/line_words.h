#pragma once
// A line's words and the screen columns they stand in. Columns are what a
// terminal shows, not bytes: a Chinese character takes two (a GBK file
// decoded to UTF-8 keeps its alignment), a tab reaches the next multiple of
// eight. Words lie between blanks: spaces, tabs, the ideographic space and
// other control characters.
#include <cstdint>
#include <string_view>
#include <vector>

namespace venbrook {

struct Word {
  std::uint32_t begin, end;  // bytes of the line, end excluded
  std::uint32_t left, right;  // screen columns, right excluded
};

// The columns a character takes on a Chinese terminal: two for the wide
// characters of East Asian scripts and full-width forms, one else.
int ScreenWidth(char32_t c);

// The line's words, left to right (the vector's room is kept). True when
// the line may hold what a terminal drew over: an escape, a backspace, or a
// word beginning with two dashes (a pager's prompt); see shown_line.h.
bool SplitWords(std::string_view line, std::vector<Word>& words);

inline std::string_view WordText(std::string_view line, const Word& word) {
  return line.substr(word.begin, word.end - word.begin);
}

}  // namespace venbrook
