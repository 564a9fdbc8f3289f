#pragma once
// Conversions at the edges of the core: SQLite speaks UTF-8, the core GBK.
#include <string>
#include <string_view>

namespace venbrook {

// True when every character takes one to three bytes of well-formed UTF-8
// (no overlong forms, no surrogates, nothing beyond U+FFFF).
bool IsUtf8OfAtMostThreeBytes(std::string_view text);

// A value read from a database, as the core shows it: its GBK bytes, or the
// empty text when it is not UTF-8 of one to three bytes per character.
// Characters GBK lacks become '?'.
std::string Utf8ToGbk(std::string_view utf8);

// The same, written over `out` (which must not overlap `utf8`): a load
// converts every value through one buffer instead of allocating for each.
void Utf8ToGbkInto(std::string_view utf8, std::string& out);

// GBK text for SQLite or the file system.
std::string GbkToUtf8(std::string_view gbk);

// The core's texts are written in UTF-8 sources; this gives their GBK bytes.
inline std::string Gbk(std::string_view utf8Literal) { return Utf8ToGbk(utf8Literal); }

}  // namespace venbrook
