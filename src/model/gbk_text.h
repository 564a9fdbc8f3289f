#pragma once
// Texts in the core are byte strings in code page 936 (GBK). A byte of 0x80
// or more starts a two-byte character; every scan for a match or a backslash
// steps over such a character whole, so a trail byte that happens to equal an
// ASCII letter or '\' is never taken for one.
//
// Which rule a caller needs: this one scans the core's own texts, which are
// whole characters already (made by the converter, or typed in the window),
// so that every scan of them steps the same way. Bytes from outside that
// are being decoded, a text file's, are judged by Windows's reading of code
// page 936 instead (platform/code_page_936.h), which tells a character from
// a broken one.
#include <cstddef>
#include <string>
#include <string_view>

namespace venbrook {

constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Bytes taken by the character that starts at `at`: 2 for a lead byte with a
// byte after it, else 1 (a lone lead byte at the very end counts as one).
constexpr std::size_t CharacterLength(std::string_view text, std::size_t at) {
  return IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Copy with a-z turned to A-Z. Only single-byte characters change.
std::string upperAscii(std::string_view text);
void UpperAsciiInPlace(std::string& text);

// Equal after turning a-z to A-Z on both sides. Characters are taken from `a`:
// the two bytes of a double-byte character must match exactly, so a trail byte
// that looks like a letter never matches its other case.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// Decimal text of a number: digits, a minus sign only when negative.
std::string DecimalText(long long number);

}  // namespace venbrook
