#pragma once
// Base64 as RFC 4648 (section 4) defines it, decoding only: the alphabet
// A-Z a-z 0-9 + /, '=' padding at the end. An LDIF value written "attr::"
// is base64 (RFC 2849). None of the libraries the program keeps (zlib,
// minizip, expat, SQLite) offers a decoder, so this is the one.
#include <optional>
#include <string>
#include <string_view>

namespace venbrook {

// The bytes `text` encodes; blanks anywhere are passed over (a folded LDIF
// line may leave some). None when a character is outside the alphabet, the
// padding is anywhere but at the end or the length does not come out in
// whole groups of four.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace venbrook
