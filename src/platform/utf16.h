#pragma once
// UTF-8 and UTF-16, converted without loss in either direction. Windows
// allows a lone surrogate in a file name; the UTF-8 side keeps one as the
// three bytes its code point would take (the form known as WTF-8), so every
// name Windows hands out goes back to it unchanged.
#include <string>
#include <string_view>

namespace venbrook {

// Each byte that starts no well-formed character becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The UTF-8 bytes of one code point (a surrogate's too: see above).
void AppendUtf8(char32_t codePoint, std::string& out);

// UTF-8 proper: every character well-formed, and no surrogate.
bool IsWellFormedUtf8(std::string_view text);

}  // namespace venbrook
