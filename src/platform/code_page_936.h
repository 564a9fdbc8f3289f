#pragma once
// Code page 936 as Windows reads bytes into characters: 00-80 alone (80 is
// the euro sign), a lead byte 81-FE followed by a trail byte 40-7E or
// 80-FE. FF is none of its characters (Windows's converter gives it a
// private-use code point, which no text in GBK means).
//
// Which rule a caller needs: this one for bytes that come from outside and
// are being decoded, such as a text file whose names must be well-formed
// before they are shown. The core's own texts are scanned by
// model/gbk_text.h, where a byte of 0x80 or more always starts a two-byte
// character: those texts are whole characters already, and every scan of
// them (a match, a case change, a search for a separator) must step over
// them the same way.
#include <cstddef>
#include <string_view>

namespace venbrook {

constexpr bool IsCodePage936Lead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
constexpr bool IsCodePage936Trail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Bytes taken by the character at `at`: 2 for a lead byte with a trail
// byte after it, else 1 (a byte that is no character counts as one).
constexpr std::size_t CodePage936CharacterLength(std::string_view text, std::size_t at) {
  return IsCodePage936Lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() &&
                 IsCodePage936Trail(static_cast<unsigned char>(text[at + 1]))
             ? 2
             : 1;
}

// Every byte part of a character: a single byte 00-80, or a lead and a
// trail byte.
constexpr bool IsWellFormedCodePage936(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CodePage936CharacterLength(text, at);
    if (length == 1 && static_cast<unsigned char>(text[at]) > 0x80) return false;
    at += length;
  }
  return true;
}

}  // namespace venbrook
