#include "sources/text/line_fields.h"

#include <algorithm>

#include "platform/code_page_936.h"

namespace venbrook {
namespace {

struct Character {
  std::size_t length;
  bool blank;
};

// A character of 0x80 and above. In GBK, read as Windows reads a file, a
// lead byte takes its trail byte along only when that is a trail byte, so a
// lone lead byte never swallows the separator or quote after it. UTF-8 is walked a byte at a time: its
// only blank of more than one byte starts with a byte that never appears
// inside another character.
Character WideCharacter(std::string_view line, std::size_t at, bool gbk) {
  const auto byte = [&](std::size_t i) { return i < line.size() ? static_cast<unsigned char>(line[i]) : 0; };
  if (!gbk) return byte(at) == 0xE3 && byte(at + 1) == 0x80 && byte(at + 2) == 0x80 ? Character{3, true} : Character{1, false};
  if (byte(at) == 0xA1 && byte(at + 1) == 0xA1) return {2, true};
  return {CodePage936CharacterLength(line, at), false};
}

// The character at `at` (a character's start) for stepping through a line.
// Most bytes are ASCII, decided here without a call.
inline Character CharacterAt(std::string_view line, std::size_t at, bool gbk) {
  const auto byte = static_cast<unsigned char>(line[at]);
  if (byte < 0x80) return {1, byte == ' ' || byte == '\t'};
  return WideCharacter(line, at, gbk);
}

}  // namespace

std::size_t ClosingQuote(std::string_view text, std::size_t opening) {
  for (std::size_t at = opening + 1;; at += 2) {
    at = text.find('"', at);
    if (at == std::string_view::npos || at + 1 >= text.size() || text[at + 1] != '"') return at;
  }
}

bool IsBlankLine(std::string_view line, LineText text) {
  const bool gbk = text == LineText::Gbk;
  for (std::size_t at = 0; at < line.size();) {
    const Character character = CharacterAt(line, at, gbk);
    if (!character.blank) return false;
    at += character.length;
  }
  return true;
}

void LineFields::reset(std::string_view line, LineText text, KeyWordTest isKeyWord) {
  line_ = line;
  gbk_ = text == LineText::Gbk;
  at_ = 0;
  done_ = false;
  copied_ = false;
  separator_ = decideSeparator(isKeyWord);
}

std::size_t LineFields::skipBlanks(std::size_t at) const {
  while (at < line_.size()) {
    const Character character = CharacterAt(line_, at, gbk_);
    if (!character.blank) break;
    at += character.length;
  }
  return at;
}

// The same, stopping at a tab: a tab decides how a line splits.
std::size_t LineFields::skipSpaces(std::size_t at) const {
  while (at < line_.size() && line_[at] != '\t') {
    const Character character = CharacterAt(line_, at, gbk_);
    if (!character.blank) break;
    at += character.length;
  }
  return at;
}

// line_[start, end) without its trailing blanks. Blanks can only be found
// walking forward in GBK (a trail byte may look like the first half of A1
// A1), so a field that cannot end in a blank is taken as it is.
std::string_view LineFields::trimmedEnd(std::size_t start, std::size_t end) const {
  if (start >= end) return {};
  const auto last = static_cast<unsigned char>(line_[end - 1]);
  if (last != ' ' && last != '\t' && last != 0x80 && last != 0xA1) return line_.substr(start, end - start);
  std::size_t keptEnd = start;
  for (std::size_t at = start; at < end;) {
    const Character character = CharacterAt(line_, at, gbk_);
    at += character.length;
    if (!character.blank) keptEnd = at;
  }
  return line_.substr(start, std::min(keptEnd, end) - start);
}

// The first word [start, end), followed by blanks other than a tab and then
// the line's end or anything but a tab, comma or semicolon: "MAC ,name" and
// "MAC \tIP" are fields of a spreadsheet's line, not a name after a MAC.
bool LineFields::keyWordThenSpace(std::size_t start, std::size_t end, KeyWordTest isKeyWord) const {
  const std::size_t next = skipSpaces(end);
  if (next == end) return false;
  if (next < line_.size() && (line_[next] == '\t' || line_[next] == ',' || line_[next] == ';')) return false;
  return isKeyWord(line_.substr(start, end - start));
}

// One pass over the line. A quote opens a quoted field only at a field's
// start (after blanks); elsewhere it is an ordinary character, as in
// `12" 显示器`. The first word is offered to `isKeyWord` when a blank ends
// it before any separator or quote.
char LineFields::decideSeparator(KeyWordTest isKeyWord) const {
  if (line_.find('"') == std::string_view::npos) return separatorWithoutQuotes(isKeyWord);
  char first = kBlanks;
  bool fieldStart = true, firstWordDone = false;
  std::size_t firstWordStart = std::string_view::npos;
  for (std::size_t at = 0; at < line_.size();) {
    const char c = line_[at];
    if (c == '\t') return '\t';
    if (c == ',' || c == ';') {
      if (first == kBlanks) first = c;
      fieldStart = firstWordDone = true;
      ++at;
    } else if (c == '"' && fieldStart) {
      fieldStart = false;
      firstWordDone = true;
      at = ClosingQuote(line_, at);
      if (at == std::string_view::npos) return first;
      ++at;
    } else if (const Character character = CharacterAt(line_, at, gbk_); character.blank) {
      if (!firstWordDone && firstWordStart != std::string_view::npos) {
        firstWordDone = true;
        if (keyWordThenSpace(firstWordStart, at, isKeyWord)) return kBlanks;
      }
      at += character.length;
    } else {
      if (firstWordStart == std::string_view::npos) firstWordStart = at;
      fieldStart = false;
      at += character.length;
    }
  }
  return first;
}

// The same decision for the usual line, which holds no quote: a look at its
// first word, then searches the library does a block of bytes at a time.
char LineFields::separatorWithoutQuotes(KeyWordTest isKeyWord) const {
  const std::size_t wordStart = skipSpaces(0);
  std::size_t wordEnd = wordStart;
  while (wordEnd < line_.size() && line_[wordEnd] != ',' && line_[wordEnd] != ';') {
    const Character character = CharacterAt(line_, wordEnd, gbk_);
    if (character.blank) break;
    wordEnd += character.length;
  }
  if (wordEnd > wordStart && wordEnd < line_.size() && keyWordThenSpace(wordStart, wordEnd, isKeyWord)) return kBlanks;
  if (line_.find('\t') != std::string_view::npos) return '\t';
  // (find_first_of would ask a set of two per character.)
  for (const char c : line_)
    if (c == ',' || c == ';') return c;
  return kBlanks;
}

bool LineFields::next(std::string_view& field) {
  if (done_) return false;
  copied_ = false;
  // Between tabs, a tab is no blank: two in a row hold an empty cell.
  at_ = separator_ == '\t' ? skipSpaces(at_) : skipBlanks(at_);
  if (separator_ == kBlanks) {
    if (at_ >= line_.size()) {
      done_ = true;
      return false;
    }
    const std::size_t start = at_;
    while (at_ < line_.size()) {
      const Character character = CharacterAt(line_, at_, gbk_);
      if (character.blank) break;
      at_ += character.length;
    }
    field = line_.substr(start, at_ - start);
    return true;
  }
  if (at_ < line_.size() && line_[at_] == '"') {
    field = quotedField();
  } else {
    const std::size_t end = std::min(line_.find(separator_, at_), line_.size());
    field = trimmedEnd(at_, end);
    at_ = end;
  }
  if (at_ < line_.size())
    ++at_;  // over the separator
  else
    done_ = true;
  return true;
}

// From the opening quote at at_ to the separator after the field. Text after
// the closing quote stays part of the field, as spreadsheets read it.
std::string_view LineFields::quotedField() {
  unquoted_.clear();
  bool doubled = false;
  std::string_view quoted;
  for (++at_;;) {
    const std::size_t quote = line_.find('"', at_);
    if (quote == std::string_view::npos) {  // never closed: the field runs to the line's end
      quoted = line_.substr(at_);
      at_ = line_.size();
      break;
    }
    if (quote + 1 < line_.size() && line_[quote + 1] == '"') {
      unquoted_.append(line_.substr(at_, quote + 1 - at_));
      doubled = true;
      at_ = quote + 2;
      continue;
    }
    quoted = line_.substr(at_, quote - at_);
    at_ = quote + 1;
    break;
  }
  const std::size_t end = std::min(line_.find(separator_, at_), line_.size());
  const std::string_view after = trimmedEnd(at_, end);
  at_ = end;
  if (!doubled && after.empty()) return quoted;
  unquoted_.append(quoted);
  unquoted_.append(after);
  copied_ = true;
  return unquoted_;
}

std::string_view LineFields::rest() const {
  const std::size_t start = skipBlanks(at_);
  return trimmedEnd(start, line_.size());
}

}  // namespace venbrook
