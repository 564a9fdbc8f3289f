#include "sources/text/text_words.h"

#include <algorithm>

#include "model/blanks.h"
#include "platform/os.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

bool IsContinuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// Well-formed UTF-8 whose characters beyond ASCII are three or four bytes
// long (surrogates and overlong forms refused).
bool IsWideUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || text.size() - at < length) return false;
    for (std::size_t i = 1; i < length; ++i)
      if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return false;
    const auto second = length > 1 ? static_cast<unsigned char>(text[at + 1]) : 0;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
      return false;
    at += length;
  }
  return true;
}

}  // namespace

bool IsPromptLine(std::string_view line) {
  line = TrimBlanks(line);
  if (line.starts_with('[')) return line.find("> ") != std::string_view::npos || line.ends_with('>');
  const std::string_view first = line.substr(0, line.find_first_of(" \t"));
  const std::size_t mark = first.find_first_of("#>");
  return mark != std::string_view::npos && mark > 0;
}

void SplitWords(std::string_view line, std::vector<std::string_view>& words) {
  words.clear();
  for (std::size_t at = 0; at < line.size();) {
    if (IsBlank(line[at])) {
      ++at;
      continue;
    }
    const std::size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    words.push_back(line.substr(start, at - start));
  }
}

std::string EscapedBytesText(std::string_view bytes) {
  std::string text = IsWideUtf8(bytes) ? std::string(bytes) : os::ConvertGbkToUtf8(bytes);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';  // an escaped line break is no part of a name
  return text;
}

}  // namespace venbrook
