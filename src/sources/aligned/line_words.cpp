#include "sources/aligned/line_words.h"

#include <cstring>

#include "platform/utf8.h"

namespace venbrook {
namespace {

constexpr std::uint32_t kTabStop = 8;
constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

int ScreenWidth(char32_t c) { return IsWide(c) ? 2 : 1; }

bool SplitWords(std::string_view line, std::vector<Word>& words) {
  words.clear();
  const std::size_t size = line.size();
  std::uint32_t column = 0;
  bool controls = false;
  for (std::size_t at = 0; at < size;) {
    auto byte = static_cast<unsigned char>(line[at]);
    if (byte == ' ') {  // the blanks that align the columns, most of a table's bytes: eight at a time
      std::uint64_t eight = 0;
      while (at + 8 <= size && (std::memcpy(&eight, line.data() + at, 8), eight == kEightBlanks)) at += 8, column += 8;
      while (at < size && line[at] == ' ') ++at, ++column;
      continue;
    }
    if (byte < 0x20 || byte == 0x7F) {  // a tab or another control: a blank
      controls |= byte == 0x1B || byte == 0x08;
      column += byte == '\t' ? kTabStop - column % kTabStop : 1;
      ++at;
      continue;
    }
    if (byte >= 0x80 && DecodeUtf8(line, at).codePoint == 0x3000) {  // the ideographic space
      at += 3, column += 2;
      continue;
    }
    Word word{static_cast<std::uint32_t>(at), 0, column, 0};
    controls |= byte == '-' && at + 1 < size && line[at + 1] == '-';
    for (;;) {
      while (at < size && (byte = static_cast<unsigned char>(line[at])) > 0x20 && byte < 0x7F) ++at, ++column;
      if (at == size || byte < 0x80) break;
      const Utf8Character character = DecodeUtf8(line, at);
      if (character.codePoint == 0x3000) break;
      at += character.length;
      column += static_cast<std::uint32_t>(ScreenWidth(character.codePoint));
    }
    word.end = static_cast<std::uint32_t>(at);
    word.right = column;
    words.push_back(word);
  }
  return controls;
}

}  // namespace venbrook
