#include "platform/utf16.h"

#include <cstdint>

namespace venbrook {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

struct Decoded {
  std::size_t length;  // 0: no well-formed character starts here
  std::uint32_t codePoint;
};

// The character at `at`: one to four bytes, shortest form only, at most
// U+10FFFF. Surrogate code points are taken (see the header).
Decoded DecodeAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {1, lead};
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4                                  ? 4
                                                                                             : 0;
  if (length == 0 || at + length > text.size()) return {0, 0};
  std::uint32_t codePoint = lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i))) return {0, 0};
    codePoint = codePoint << 6 | (byte(i) & 0x3Fu);
  }
  constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kShortest[length] || codePoint > 0x10FFFF) return {0, 0};
  return {length, codePoint};
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

void AppendUtf8(char32_t codePoint, std::string& out) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | codePoint >> 6);
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | codePoint >> 12);
    out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | codePoint >> 18);
    out += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Decoded character = DecodeAt(utf8, at);
    if (character.length == 0) {
      out += kReplacement;
      ++at;
      continue;
    }
    at += character.length;
    if (character.codePoint < 0x10000) {
      out += static_cast<char16_t>(character.codePoint);
    } else {
      const std::uint32_t above = character.codePoint - 0x10000;
      out += static_cast<char16_t>(0xD800 + (above >> 10));
      out += static_cast<char16_t>(0xDC00 + (above & 0x3FF));
    }
  }
  return out;
}

bool IsWellFormedUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const Decoded character = DecodeAt(text, at);
    if (character.length == 0 || (character.codePoint >= 0xD800 && character.codePoint <= 0xDFFF)) return false;
    at += character.length;
  }
  return true;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t at = 0; at < utf16.size(); ++at) {
    const char16_t unit = utf16[at];
    if (IsHighSurrogate(unit) && at + 1 < utf16.size() && IsLowSurrogate(utf16[at + 1])) {
      AppendUtf8(0x10000 + ((unit - 0xD800u) << 10) + (utf16[at + 1] - 0xDC00u), out);
      ++at;
    } else {
      AppendUtf8(unit, out);
    }
  }
  return out;
}

}  // namespace venbrook
