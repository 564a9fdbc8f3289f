#pragma once
// One line of a block as a key and its value, in the three ways command
// outputs and configurations write them:
//   Colon:  "MacAddress                 : 00-1A-2B-3C-4D-5E" (PowerShell's
//           Format-List), "Physical Address: …" (getmac), "Host Name . . . . :
//           A01" (ipconfig's dotted leader, in any language), "Key:" (empty);
//   Equals: "MACAddress=00:1A:2B:3C:4D:5E" (wmic /format:list, INI-like files);
//   Blank:  "hwaddr 00:1a:2b:3c:4d:5e" (a word, then the rest of the line).
// A file writes all its pairs one way: the way is decided once, from the
// first lines (SniffPairForm), as csv.Sniffer decides a dialect.
#include <cstdint>
#include <string_view>

namespace venbrook {

enum class PairForm : std::uint8_t { Colon, Equals, Blank };

struct Pair {
  std::string_view key, value;  // without the blanks around them (and the leader's dots)
};

// A colon followed by a blank or the line's end splits the line; the key is
// what comes before, its dotted leader ("Host Name . . . .") left out.
bool ReadColonPair(std::string_view line, Pair& pair);
// The first '=' splits the line; the key holds no blank, quote or comma, and
// a value in double quotes loses them.
bool ReadEqualsPair(std::string_view line, Pair& pair);
// A first word that starts with a letter and holds no ':', '=' or ',', and
// a value after it.
bool ReadBlankPair(std::string_view line, Pair& pair);
bool ReadPair(std::string_view line, PairForm form, Pair& pair);

// A line that is a comment in a configuration: '#', ';' or '//' first.
bool IsCommentLine(std::string_view line);
// The value without a comment at its end: " # …", " ; …" or " // …", the
// mark between blanks (or last), so that "Adapter #2" keeps its number.
std::string_view WithoutTailComment(std::string_view value);

// The way most of the sample's lines are written: Colon or Equals when they
// take at least half of the lines that are neither blank nor comments,
// the more of the two; else Blank.
PairForm SniffPairForm(std::string_view sample);

}  // namespace venbrook
