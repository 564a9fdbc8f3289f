#include "model/gbk_text.h"

namespace venbrook {

std::string upperAscii(std::string_view text) {
  std::string upper(text);
  UpperAsciiInPlace(upper);
  return upper;
}

void UpperAsciiInPlace(std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharacterLength(text, at);
    if (length == 1) text[at] = AsciiUpper(text[at]);
    at += length;
  }
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size();) {
    const std::size_t length = CharacterLength(a, at);
    if (length == 2 ? a.substr(at, 2) != b.substr(at, 2) : AsciiUpper(a[at]) != AsciiUpper(b[at]))
      return false;
    at += length;
  }
  return true;
}

std::string DecimalText(long long number) { return std::to_string(number); }

}  // namespace venbrook
