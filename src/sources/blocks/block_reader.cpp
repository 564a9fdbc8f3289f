#include "sources/blocks/block_reader.h"

#include "model/blanks.h"
#include "sources/columns/machine_words.h"
#include "sources/read_bounds.h"

namespace venbrook {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsAsciiWord(std::string_view text, std::string_view lowerWord) {
  for (std::size_t at = 0; at + lowerWord.size() <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < lowerWord.size() && LowerAscii(text[at + i]) == lowerWord[i]) ++i;
    if (i == lowerWord.size()) return true;
  }
  return false;
}

}  // namespace

bool ReadAdapterHeading(std::string_view line, std::string_view& heading) {
  line = TrimBlanks(line);
  if (!line.ends_with(':')) return false;
  const std::string_view words = line.substr(0, line.size() - 1);
  if (words.empty() || IsBlank(words.back()) || words.find(". .") != std::string_view::npos) return false;
  if (!ContainsAsciiWord(words, "adapter") && words.find("适配器") == std::string_view::npos) return false;
  heading = words;
  return true;
}

bool IsMachineMarker(std::string_view line) { return TrimBlanks(line).starts_with("Windows IP"); }

bool BlockReader::nextLine(std::string_view& line) {
  if (holding_) {
    line = held_;
    number_ = heldNumber_;
    holding_ = false;
    return true;
  }
  if (!lines_.next(line)) return false;
  number_ = lines_.number();
  return true;
}

bool BlockReader::next(Block& block) {
  block.heading = {};
  block.newMachine = false;
  block.line = 0;
  block.pairs.clear();
  std::string_view line, heading;
  Pair pair;
  while (nextLine(line)) {
    if (line.size() > kMaxRecordBytes) {
      tooLong_ = true;
      return false;
    }
    const bool filled = !block.pairs.empty();
    const auto holdForNext = [&] {
      held_ = line;
      heldNumber_ = number_;
      holding_ = true;
      return true;
    };
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty()) {
      if (filled) return true;
      continue;
    }
    if (IsCommentLine(trimmed)) continue;
    const bool indented = IsBlank(line[0]);
    if (!indented && IsMachineMarker(trimmed)) {
      if (filled) return holdForNext();
      block.newMachine = true;
      continue;
    }
    if (!indented && ReadAdapterHeading(trimmed, heading)) {
      if (filled) return holdForNext();
      block.heading = heading;
      block.line = number_;
      continue;
    }
    if (ReadPair(line, form_, pair)) {
      if (filled && pair.key == block.pairs.front().key) return holdForNext();
      if (block.line == 0) block.line = number_;
      block.pairs.push_back({pair.key, pair.value, number_});
      continue;
    }
    if (!indented && filled) return true;  // a line that is no pair closes the block
  }
  return !block.pairs.empty();
}

}  // namespace venbrook
