#pragma once
// Blanks around a value, passed over a character at a time: a value is
// short, and asking a set of characters per character costs more.
#include <string_view>

namespace venbrook {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
constexpr bool IsBlankOrLineEnd(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

template <typename Passed>
constexpr std::string_view TrimmedOf(std::string_view text, Passed passed) {
  std::size_t first = 0, end = text.size();
  while (first < end && passed(text[first])) ++first;
  while (end > first && passed(text[end - 1])) --end;
  return text.substr(first, end - first);
}

// Without spaces and tabs around it.
constexpr std::string_view TrimBlanks(std::string_view text) { return TrimmedOf(text, IsBlank); }
// Without spaces, tabs and line ends around it.
constexpr std::string_view TrimBlanksAndLineEnds(std::string_view text) { return TrimmedOf(text, IsBlankOrLineEnd); }

}  // namespace venbrook
