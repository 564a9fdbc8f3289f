// Code page 936 conversions natively, giving byte for byte what the Windows
// build gets from MultiByteToWideChar and WideCharToMultiByte
// (platform/win32/os_win32.cpp), bad input included: the core then reads
// and shows the same bytes under either build, and its tests mean the same
// on both.
//
// The characters are iconv's CP936 with what Microsoft's table for the code
// page adds to it:
// - FF is U+F8F5;
// - the three areas GBK leaves to its users, AAA1-AFFE, F8A1-FEFE and
//   A140-A7A0, are U+E000 onwards, area after area, in code order;
// - every other pair of a lead and a trail byte that GBK leaves without a
//   character is U+E766 onwards, in code order.
// That is Wine's code page 936, pair for pair and character for character
// up to U+FFFF.
//
// Bad input, as Windows converts it:
// - into GBK, a character the code page lacks is '?' (no best fit); a
//   character beyond U+FFFF is two UTF-16 units, so two '?'; an ill-formed
//   run of UTF-8 is one '?' (see Utf8RunForWindows for how far it reaches);
// - from GBK, a lead byte and the byte after it are one character, '?' when
//   the pair means none, unless that byte is NUL or missing: the lead byte
//   alone is then '?'.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/code_page_936.h"
#include "platform/os.h"
#include "platform/utf16.h"
#include "platform/utf8.h"

namespace venbrook::os {
namespace {

constexpr char16_t kNone = 0;

struct CodePage936 {
  std::array<char16_t, 0x100> ofByte{};                 // a byte alone; kNone for a lead byte
  std::array<std::array<char16_t, 0xC0>, 0x80> ofPair{};  // [lead - 0x80][trail - 0x40]
  std::array<std::uint16_t, 0x10000> gbkOf{};           // one byte, or lead << 8 | trail; 0: none
};

std::uint16_t AsPair(unsigned lead, unsigned trail) { return static_cast<std::uint16_t>(lead << 8 | trail); }

// The three user-defined areas in the order their code points follow.
struct UserArea {
  unsigned firstLead, lastLead, firstTrail, lastTrail;
};
constexpr UserArea kUserAreas[] = {{0xAA, 0xAF, 0xA1, 0xFE}, {0xF8, 0xFE, 0xA1, 0xFE}, {0xA1, 0xA7, 0x40, 0xA0}};

bool InUserArea(unsigned lead, unsigned trail) {
  for (const UserArea& area : kUserAreas)
    if (lead >= area.firstLead && lead <= area.lastLead && trail >= area.firstTrail && trail <= area.lastTrail)
      return true;
  return false;
}

// The character iconv's CP936 gives two bytes, kNone when it gives none
// (or more than one UTF-16 unit, which GBK never does).
char16_t IconvCharacter(iconv_t converter, unsigned lead, unsigned trail) {
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  unsigned char out[4] = {};
  char* inAt = in;
  auto* outAt = reinterpret_cast<char*>(out);
  std::size_t inLeft = sizeof in, outLeft = sizeof out;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  const bool converted = iconv(converter, &inAt, &inLeft, &outAt, &outLeft) != static_cast<std::size_t>(-1);
  if (!converted || inLeft != 0 || outLeft != sizeof out - 2) return kNone;
  return static_cast<char16_t>(out[0] | out[1] << 8);
}

std::unique_ptr<CodePage936> BuildCodePage936() {
  auto table = std::make_unique<CodePage936>();
  const iconv_t converter = iconv_open("UTF-16LE", "CP936");
  if (converter == reinterpret_cast<iconv_t>(-1)) return table;
  const auto pair = [&](unsigned lead, unsigned trail) -> char16_t& { return table->ofPair[lead - 0x80][trail - 0x40]; };
  const auto place = [&](char16_t character, std::uint16_t gbk) {
    if (table->gbkOf[character] == 0) table->gbkOf[character] = gbk;
  };
  for (unsigned byte = 0; byte < 0x80; ++byte) table->ofByte[byte] = static_cast<char16_t>(byte);
  table->ofByte[0x80] = u'\u20AC';
  table->ofByte[0xFF] = u'\uF8F5';
  char16_t nextUserCharacter = 0xE000, nextOtherCharacter = 0xE766;
  for (const UserArea& area : kUserAreas)
    for (unsigned lead = area.firstLead; lead <= area.lastLead; ++lead)
      for (unsigned trail = area.firstTrail; trail <= area.lastTrail; ++trail)
        if (IsCodePage936Trail(static_cast<unsigned char>(trail))) pair(lead, trail) = nextUserCharacter++;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (!IsCodePage936Trail(static_cast<unsigned char>(trail)) || InUserArea(lead, trail)) continue;
      const char16_t character = IconvCharacter(converter, lead, trail);
      pair(lead, trail) = character != kNone ? character : nextOtherCharacter++;
    }
  }
  iconv_close(converter);
  for (unsigned byte = 1; byte < 0x100; ++byte)
    if (table->ofByte[byte] != kNone) place(table->ofByte[byte], static_cast<std::uint16_t>(byte));
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
      if (const char16_t character = pair(lead, trail); character != kNone) place(character, AsPair(lead, trail));
  return table;
}

const CodePage936& Table() {
  static const std::unique_ptr<CodePage936> table = BuildCodePage936();
  return *table;
}

// How far an ill-formed run of UTF-8 at `at` reaches for Windows (as Wine
// converts; Windows documents only that each becomes U+FFFD): a lead byte
// whose character would pass the text's end takes the rest of the text; a
// lead byte followed by a continuation byte outside its range (an overlong
// form, a surrogate, past U+10FFFF) takes that byte too; otherwise the run
// is DecodeUtf8's.
std::size_t Utf8RunForWindows(std::string_view utf8, std::size_t at, std::size_t decodedRun) {
  const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(utf8[at]));
  if (length > 1 && utf8.size() - at < length) return utf8.size() - at;
  if (length > 1 && decodedRun == 1 && IsUtf8Continuation(static_cast<unsigned char>(utf8[at + 1]))) return 2;
  return decodedRun;
}

void AppendGbk(const CodePage936& table, char16_t character, std::string& out) {
  const std::uint16_t gbk = table.gbkOf[character];
  if (character == 0) {
    out += '\0';
  } else if (gbk == 0) {
    out += '?';
  } else {
    if (gbk > 0xFF) out += static_cast<char>(gbk >> 8);
    out += static_cast<char>(gbk & 0xFF);
  }
}

}  // namespace

std::string ConvertUtf8ToGbk(std::string_view utf8) {
  const CodePage936& table = Table();
  std::string gbk;
  gbk.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const Utf8Character character = DecodeUtf8(utf8, at);
    if (!character.wellFormed) {
      gbk += '?';
      at += Utf8RunForWindows(utf8, at, character.length);
      continue;
    }
    at += character.length;
    if (character.codePoint > 0xFFFF)
      gbk += "??";
    else
      AppendGbk(table, static_cast<char16_t>(character.codePoint), gbk);
  }
  return gbk;
}

std::string ConvertGbkToUtf8(std::string_view gbk) {
  const CodePage936& table = Table();
  std::string utf8;
  utf8.reserve(gbk.size() * 3 / 2);
  for (std::size_t at = 0; at < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[at]);
    char16_t character = table.ofByte[byte];
    if (IsCodePage936Lead(byte) && at + 1 < gbk.size() && gbk[at + 1] != '\0') {
      const auto trail = static_cast<unsigned char>(gbk[++at]);
      character = trail >= 0x40 ? table.ofPair[byte - 0x80][trail - 0x40] : kNone;
    }
    ++at;
    AppendUtf8(character != kNone || byte == 0 ? character : u'?', utf8);
  }
  return utf8;
}

}  // namespace venbrook::os
