#pragma once
// Conversions at the edges of the core: SQLite speaks UTF-8, the core GBK.
#include <string>
#include <string_view>

namespace venbrook {

// True when every character takes one to three bytes of well-formed UTF-8
// (no overlong forms, no surrogates, nothing beyond U+FFFF).
bool IsUtf8OfAtMostThreeBytes(std::string_view text);

// What becomes of a character beyond U+FFFF (an emoji, a CJK extension B
// character), which GBK cannot write. Ill-formed UTF-8 is the empty text
// under either rule.
enum class Utf8Rule {
  // The two products' own databases, as they have always been read: the
  // whole value is the empty text.
  UpToThreeBytes,
  // Every other source, its sheet names and its headers: what Windows's
  // code page 936 conversion gives, '?' for each of its two UTF-16 units.
  AnyCharacter,
};

// A value read from a source, as the core shows it: its GBK bytes, or the
// empty text when it is not UTF-8 the rule takes. Characters GBK lacks
// become '?'.
std::string Utf8ToGbk(std::string_view utf8, Utf8Rule rule = Utf8Rule::UpToThreeBytes);

// The same, written over `out` (which must not overlap `utf8`): a load
// converts every value through one buffer instead of allocating for each.
void Utf8ToGbkInto(std::string_view utf8, std::string& out, Utf8Rule rule = Utf8Rule::UpToThreeBytes);

// GBK text for SQLite or the file system.
std::string GbkToUtf8(std::string_view gbk);

// The core's texts are written in UTF-8 sources; this gives their GBK bytes.
inline std::string Gbk(std::string_view utf8Literal) { return Utf8ToGbk(utf8Literal); }

}  // namespace venbrook
