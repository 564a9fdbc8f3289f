#pragma once
// The one UTF-8 decoder. Every reading of UTF-8 in the program is built on
// DecodeUtf8, each with its own policy for what it accepts:
// - a database's values: characters of one to three bytes only (the core's
//   texts are GBK, which has nothing beyond U+FFFF; model/text_codec.h);
// - Windows file names: WTF-8, a lone surrogate kept (platform/utf16.h);
// - a text file taken for UTF-8: well-formed, with at least one character
//   of several bytes (sources/text/text_encoding.cpp);
// - Windows's own conversion, copied for the native build
//   (platform/posix/code_page_936_conversions.cpp).
#include <cstddef>
#include <string_view>

namespace venbrook {

// Whether the three-byte form of a surrogate code point (ED A0 80 to ED BF
// BF) is a character. UTF-8 proper refuses it; WTF-8 keeps it, so that a
// lone surrogate Windows allows in a file name survives a round trip.
enum class Surrogates { Refused, Kept };

struct Utf8Character {
  char32_t codePoint;  // U+FFFD when ill-formed
  std::size_t length;  // the bytes taken: the character's, or the ill-formed run's (at least 1)
  bool wellFormed;
};

constexpr bool IsSurrogate(char32_t codePoint) { return codePoint >= 0xD800 && codePoint <= 0xDFFF; }

constexpr bool IsUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The bytes of the character a lead byte starts; 0 for a byte that starts
// none (a continuation byte, C0, C1, F5-FF).
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The character at `at` (before the text's end): one to four bytes in the
// shortest form, at most U+10FFFF. An ill-formed run is the longest start
// of a well-formed character found there, or its first byte alone (the
// "maximal subpart" that Unicode replaces by one U+FFFD): "\xE4\xB8" before
// an 'x' is one run of two bytes, "\xC0\xAF" two runs of one.
constexpr Utf8Character DecodeUtf8(std::string_view text, std::size_t at,
                                   Surrogates surrogates = Surrogates::Refused) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1, true};
  const std::size_t length = Utf8SequenceLength(lead);
  if (length == 0) return {U'\uFFFD', 1, false};
  // The range of the byte after the lead; later ones are any continuation byte.
  unsigned char low = 0x80, high = 0xBF;
  if (lead == 0xE0) low = 0xA0;                                          // overlong below
  if (lead == 0xED && surrogates == Surrogates::Refused) high = 0x9F;  // surrogates above
  if (lead == 0xF0) low = 0x90;                                          // overlong below
  if (lead == 0xF4) high = 0x8F;                                         // past U+10FFFF above
  char32_t codePoint = lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if (at + i >= text.size()) return {U'\uFFFD', i, false};
    const unsigned char next = byte(i);
    if (i == 1 ? next < low || next > high : !IsUtf8Continuation(next)) return {U'\uFFFD', i, false};
    codePoint = codePoint << 6 | (next & 0x3Fu);
  }
  return {codePoint, length, true};
}

// UTF-8 proper, every character of at most `maxLength` bytes: 4 for any
// text, 3 for one that holds nothing beyond U+FFFF.
constexpr bool IsUtf8OfAtMost(std::string_view text, std::size_t maxLength) {
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character character = DecodeUtf8(text, at);
    if (!character.wellFormed || character.length > maxLength) return false;
    at += character.length;
  }
  return true;
}

}  // namespace venbrook
