#include "sources/aligned/line_words.h"

#include "platform/utf8.h"

namespace venbrook {
namespace {

constexpr std::uint32_t kTabStop = 8;

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

int ScreenWidth(char32_t c) { return IsWide(c) ? 2 : 1; }

void SplitWords(std::string_view line, std::vector<Word>& words) {
  words.clear();
  std::uint32_t column = 0;
  bool inWord = false;
  for (std::size_t at = 0; at < line.size();) {
    const auto byte = static_cast<unsigned char>(line[at]);
    char32_t c = byte;
    std::size_t length = 1;
    if (byte >= 0x80) {
      const Utf8Character character = DecodeUtf8(line, at);
      c = character.codePoint;
      length = character.length;
    }
    const bool blank = c <= 0x20 || c == 0x7F || c == 0x3000;
    if (blank && inWord) {
      words.back().end = static_cast<std::uint32_t>(at);
      words.back().right = column;
      inWord = false;
    } else if (!blank && !inWord) {
      words.push_back({static_cast<std::uint32_t>(at), 0, column, 0});
      inWord = true;
    }
    column += c == '\t' ? kTabStop - column % kTabStop : static_cast<std::uint32_t>(ScreenWidth(c));
    at += length;
  }
  if (inWord) {
    words.back().end = static_cast<std::uint32_t>(line.size());
    words.back().right = column;
  }
}

}  // namespace venbrook
