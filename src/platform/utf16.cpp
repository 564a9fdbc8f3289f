#include "platform/utf16.h"

#include <cstdint>

#include "platform/utf8.h"

namespace venbrook {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

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
    const Utf8Character character = DecodeUtf8(utf8, at, Surrogates::Kept);
    if (!character.wellFormed) {
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

bool IsWellFormedUtf8(std::string_view text) { return IsUtf8OfAtMost(text, 4); }

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
