#include "sources/aligned/shown_line.h"

#include <algorithm>

#include "model/blanks.h"
#include "platform/utf8.h"

namespace venbrook {
namespace {

constexpr char kEscape = '\x1b';
constexpr char kBackspace = '\b';

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

std::size_t SkipDashes(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == '-') ++at;
  return at;
}

// Where a pager's prompt found at `word` ("More" or "[Q quit") ends, with
// the blanks after it; npos when the dashes of a prompt are not around it.
std::size_t PromptEndAround(std::string_view text, std::size_t word, std::size_t wordLength, bool closingDashes) {
  std::size_t before = word;
  while (before > 0 && IsBlank(text[before - 1])) --before;
  if (before < 2 || text[before - 1] != '-' || text[before - 2] != '-') return std::string_view::npos;
  std::size_t end = word + wordLength;
  if (closingDashes) {
    end = SkipBlanks(text, end);
    const std::size_t dashes = SkipDashes(text, end);
    if (dashes - end < 2) return std::string_view::npos;
    end = dashes;
    if (end < text.size() && text[end] == '(') {  // "--More--(40%)"
      const std::size_t close = text.find(')', end);
      if (close != std::string_view::npos) end = close + 1;
    }
  } else {
    const std::size_t close = text.find(']', end);
    if (close == std::string_view::npos) return std::string_view::npos;
    end = close + 1;
  }
  return SkipBlanks(text, end);
}

// The end of a pager's prompt in the line, with the blanks after it; npos
// when the line holds none.
std::size_t PagerPromptEnd(std::string_view text) {
  if (text.find("--") == std::string_view::npos) return std::string_view::npos;
  for (const std::string_view more : {"More", "more", "MORE"}) {
    for (std::size_t at = text.find(more); at != std::string_view::npos; at = text.find(more, at + 1)) {
      const std::size_t end = PromptEndAround(text, at, more.size(), true);
      if (end != std::string_view::npos) return end;
    }
  }
  const std::size_t quit = text.find("[Q quit");
  return quit == std::string_view::npos ? std::string_view::npos : PromptEndAround(text, quit, 7, false);
}

// A control sequence's first number (ESC[42D), `absent` without one.
std::size_t FirstParameter(std::string_view parameters, std::size_t absent) {
  std::size_t value = 0, at = 0;
  for (; at < parameters.size() && parameters[at] >= '0' && parameters[at] <= '9'; ++at)
    value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(parameters[at] - '0'), 1'000'000);
  return at == 0 ? absent : value;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Columns parted by " - " three times at least (netsh dhcp's tables); one
// "-" between blanks is a value of its own elsewhere (Cisco's age).
bool PartedByHyphens(std::string_view text) {
  int parts = 0;
  for (std::size_t at = text.find(" - "); at != std::string_view::npos && parts < 3; at = text.find(" - ", at + 2)) ++parts;
  return parts >= 3;
}

}  // namespace

std::string_view ShownLine::shown(std::string_view line, std::vector<Word>& words) {
  heldControls_ = false;
  if (!SplitWords(line, words)) return withoutPartingHyphens(line, words);
  const bool controls = line.find_first_of("\x1b\b") != std::string_view::npos;
  std::string_view text = controls ? draw(line) : line;
  const std::size_t prompt = PagerPromptEnd(text);
  heldControls_ = controls || prompt != std::string_view::npos;
  if (prompt != std::string_view::npos) text = text.substr(prompt);
  if (heldControls_) SplitWords(text, words);
  return withoutPartingHyphens(text, words);
}

// netsh's "IP Address      - Subnet Mask    - Unique ID  -Type -Name": a
// hyphen after a blank parts two columns, as a blank would.
std::string_view ShownLine::withoutPartingHyphens(std::string_view text, std::vector<Word>& words) {
  if (!PartedByHyphens(text)) return text;
  parted_.assign(text);
  for (std::size_t at = 1; at < parted_.size(); ++at)
    if (parted_[at] == '-' && parted_[at - 1] == ' ') parted_[at] = ' ';
  SplitWords(parted_, words);
  return parted_;
}

// The characters drawn one a cell, the cursor moved as the terminal moves
// it; it never goes past as many cells as the line has bytes, so a drawn
// line is never longer than twice the line.
std::string_view ShownLine::draw(std::string_view line) {
  cells_.clear();
  std::size_t cursor = 0;
  const auto put = [&](char32_t c) {
    if (cursor < cells_.size()) cells_[cursor] = c;
    else {
      cells_.resize(cursor, U' ');
      cells_.push_back(c);
    }
    ++cursor;
  };
  for (std::size_t at = 0; at < line.size();) {
    const char c = line[at];
    if (c == kBackspace) {
      cursor -= cursor > 0 ? 1 : 0;
      ++at;
    } else if (c != kEscape) {
      const Utf8Character character = DecodeUtf8(line, at);
      put(character.codePoint);
      at += character.length;
    } else if (at + 1 < line.size() && line[at + 1] == '[') {
      std::size_t end = at + 2;
      while (end < line.size() && !(line[end] >= 0x40 && line[end] <= 0x7E)) ++end;
      if (end >= line.size()) break;  // cut short: nothing more is drawn
      const std::string_view parameters = line.substr(at + 2, end - at - 2);
      switch (line[end]) {
        case 'D': cursor -= std::min(cursor, std::max<std::size_t>(1, FirstParameter(parameters, 1))); break;
        case 'C': cursor = std::min(line.size(), cursor + std::max<std::size_t>(1, FirstParameter(parameters, 1))); break;
        case 'G': cursor = std::min(line.size(), std::max<std::size_t>(1, FirstParameter(parameters, 1)) - 1); break;
        case 'K':
          switch (FirstParameter(parameters, 0)) {
            case 0: cells_.resize(std::min(cursor, cells_.size())); break;
            case 1: std::fill(cells_.begin(), cells_.begin() + static_cast<std::ptrdiff_t>(std::min(cursor + 1, cells_.size())), U' '); break;
            default: std::fill(cells_.begin(), cells_.end(), U' '); break;
          }
          break;
        default: break;  // colours and the like: nothing moves
      }
      at = end + 1;
    } else if (at + 1 < line.size() && line[at + 1] == ']') {  // a title, to BEL or ESC '\'
      std::size_t end = at + 2;
      while (end < line.size() && line[end] != '\a' && line[end] != kEscape) ++end;
      at = end < line.size() && line[end] == kEscape ? end + 2 : end + 1;
    } else {
      at += 2;  // ESC and the one character it names
    }
  }
  text_.clear();
  for (const char32_t cell : cells_) AppendUtf8(cell, text_);
  return text_;
}

}  // namespace venbrook
