#include "sources/blocks/pair_line.h"

#include <algorithm>

#include "model/blanks.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

// No key of a block is longer; a longer "key" is a sentence with a colon.
constexpr std::size_t kMaxKeyBytes = 200;

bool IsKey(std::string_view key) { return !key.empty() && key.size() <= kMaxKeyBytes; }

// "Physical Address. . . . . . ." and "DNS Suffix  ." lose their leader; a
// key's own last dot ("No.") stays.
std::string_view WithoutLeader(std::string_view key) {
  key = TrimBlanks(key);
  std::size_t start = key.size(), dots = 0;
  bool blank = false;
  while (start > 0 && (key[start - 1] == '.' || IsBlank(key[start - 1]))) {
    --start;
    dots += key[start] == '.';
    blank = blank || IsBlank(key[start]);
  }
  if (dots >= 2 || (dots == 1 && blank)) key = TrimBlanks(key.substr(0, start));
  return key;
}

bool StartsLikeAWord(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

bool ReadColonPair(std::string_view line, Pair& pair) {
  for (std::size_t at = line.find(':'); at != std::string_view::npos; at = line.find(':', at + 1)) {
    if (at + 1 < line.size() && !IsBlank(line[at + 1])) continue;
    pair.key = WithoutLeader(line.substr(0, at));
    pair.value = TrimBlanks(line.substr(at + 1));
    return IsKey(pair.key);
  }
  return false;
}

bool ReadEqualsPair(std::string_view line, Pair& pair) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  pair.key = TrimBlanks(line.substr(0, equals));
  if (!IsKey(pair.key) || pair.key.find_first_of(" \t\"',") != std::string_view::npos) return false;
  pair.value = TrimBlanks(line.substr(equals + 1));
  if (pair.value.size() >= 2 && pair.value.front() == '"' && pair.value.back() == '"')
    pair.value = pair.value.substr(1, pair.value.size() - 2);
  return true;
}

bool ReadBlankPair(std::string_view line, Pair& pair) {
  line = TrimBlanks(line);
  const std::size_t blank = line.find_first_of(" \t");
  if (blank == std::string_view::npos || !StartsLikeAWord(line[0])) return false;
  pair.key = line.substr(0, blank);
  pair.value = TrimBlanks(line.substr(blank));
  return IsKey(pair.key) && pair.key.find_first_of(":=,") == std::string_view::npos;
}

bool ReadPair(std::string_view line, PairForm form, Pair& pair) {
  switch (form) {
    case PairForm::Colon:
      return ReadColonPair(line, pair);
    case PairForm::Equals:
      return ReadEqualsPair(line, pair);
    case PairForm::Blank:
      return ReadBlankPair(line, pair);
  }
  return false;
}

bool IsCommentLine(std::string_view line) {
  line = TrimBlanks(line);
  return line.starts_with('#') || line.starts_with(';') || line.starts_with("//");
}

std::string_view WithoutTailComment(std::string_view value) {
  bool quoted = false;
  for (std::size_t at = 1; at < value.size(); ++at) {
    const char c = value[at];
    if (c == '"') quoted = !quoted;
    if (quoted || !IsBlank(value[at - 1])) continue;
    const std::size_t mark = c == '#' || c == ';' ? 1 : value.substr(at, 2) == "//" ? 2 : 0;
    if (mark > 0 && (at + mark == value.size() || IsBlank(value[at + mark]))) return TrimBlanks(value.substr(0, at));
  }
  return value;
}

PairForm SniffPairForm(std::string_view sample) {
  TextLines lines(sample);
  std::string_view line;
  Pair pair;
  std::size_t counted = 0, colons = 0, equals = 0;
  while (lines.next(line)) {
    if (TrimBlanks(line).empty() || IsCommentLine(line)) continue;
    ++counted;
    colons += ReadColonPair(line, pair);
    equals += ReadEqualsPair(line, pair);
  }
  if (std::max(colons, equals) * 2 < counted || counted == 0) return PairForm::Blank;
  return colons >= equals ? PairForm::Colon : PairForm::Equals;
}

}  // namespace venbrook
