#pragma once
#include <cstddef>
#include <string_view>

namespace venbrook {

// How many of the first `written` bytes of `lines` make up whole lines, each
// ended by LF: what may stay in a file after a write stopped part way.
constexpr std::size_t WholeLinesPrefix(std::string_view lines, std::size_t written) {
  const std::size_t lastEnd = lines.substr(0, written).rfind('\n');
  return lastEnd == std::string_view::npos ? 0 : lastEnd + 1;
}

// Bytes written so far over pieces written one after another, and how many
// of them make up whole lines.
struct PiecesWritten {
  std::size_t bytes = 0;
  std::size_t wholeLineBytes = 0;

  constexpr void add(std::string_view piece, std::size_t written) {
    if (const std::size_t lines = WholeLinesPrefix(piece, written); lines > 0) wholeLineBytes = bytes + lines;
    bytes += written;
  }
};

constexpr std::size_t LineCount(std::string_view lines) {
  std::size_t count = 0;
  for (char c : lines) count += c == '\n';
  return count;
}

}  // namespace venbrook
