#include "model/mac_address.h"

#include "model/blanks.h"

#include <array>

namespace venbrook {
namespace {

constexpr std::uint8_t kNotHex = 0xFF;
constexpr auto kHexValue = [] {
  std::array<std::uint8_t, 256> table{};
  table.fill(kNotHex);
  for (int digit = 0; digit < 10; ++digit) table['0' + digit] = static_cast<std::uint8_t>(digit);
  for (int letter = 0; letter < 6; ++letter) {
    table['a' + letter] = static_cast<std::uint8_t>(10 + letter);
    table['A' + letter] = static_cast<std::uint8_t>(10 + letter);
  }
  return table;
}();

// The digits of `text`, every `groupLength` of them followed by `joiner`
// (none after the last group); false at the first character that breaks it.
bool ReadDigits(std::string_view text, std::size_t groupLength, char joiner, MacAddress& mac) {
  std::int64_t number = 0;
  bool letter = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (joiner != '\0' && at % (groupLength + 1) == groupLength) {
      if (c != joiner) return false;
      continue;
    }
    const std::uint8_t value = kHexValue[static_cast<unsigned char>(c)];
    if (value == kNotHex) return false;
    letter |= value >= 10;
    number = number << 4 | value;
  }
  mac.number = number;
  mac.hasHexLetter = letter;
  return true;
}

MacAddress Invalid() { return MacAddress{}; }

// Six bytes joined by ':', one or two digits each.
bool ReadShortBytes(std::string_view text, MacAddress& mac) {
  std::int64_t number = 0;
  bool letter = false;
  int bytes = 0;
  std::size_t digits = 0;
  std::uint8_t byte = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at == text.size() || text[at] == ':') {
      if (digits == 0 || ++bytes > 6) return false;
      number = number << 8 | byte;
      digits = 0, byte = 0;
      continue;
    }
    const std::uint8_t value = kHexValue[static_cast<unsigned char>(text[at])];
    if (value == kNotHex || ++digits > 2) return false;
    letter |= value >= 10;
    byte = static_cast<std::uint8_t>(byte << 4 | value);
  }
  if (bytes != 6) return false;
  mac.number = number;
  mac.hasHexLetter = letter;
  return true;
}

}  // namespace

MacAddress ParseMac(std::string_view text) {
  // A cell or a database value may carry blanks around its MAC.
  text = TrimBlanks(text);
  MacAddress mac;
  switch (text.size()) {
    case 17: {  // six pairs
      const char joiner = text[2];
      if ((joiner == '-' || joiner == ':' || joiner == '.' || joiner == ' ') && ReadDigits(text, 2, joiner, mac))
        mac.shape = MacShape::Pairs;
      break;
    }
    case 14: {  // three groups of four
      const char joiner = text[4];
      if ((joiner == '.' || joiner == '-') && ReadDigits(text, 4, joiner, mac)) mac.shape = MacShape::Quads;
      break;
    }
    case 13:  // two groups of six
      if (ReadDigits(text, 6, '-', mac)) mac.shape = MacShape::Halves;
      break;
    case 12:
      if (ReadDigits(text, 12, '\0', mac)) mac.shape = MacShape::Bare;
      break;
    default: break;
  }
  // Bytes without their leading zeros: eleven characters at the least
  // (0:0:0:0:0:1), sixteen at the most.
  if (mac.shape == MacShape::None && text.size() >= 11 && text.size() <= 16 && ReadShortBytes(text, mac))
    mac.shape = MacShape::Pairs;
  if (mac.shape == MacShape::None) mac = MacAddress{};
  return mac;
}

MacAddress ParseClientId(std::string_view text) {
  text = TrimBlanks(text);
  MacAddress id;
  bool read = false;
  switch (text.size()) {
    case 20: {  // seven pairs
      const char joiner = text[2];
      read = (joiner == ':' || joiner == '-') && ReadDigits(text, 2, joiner, id);
      break;
    }
    case 17:  // Cisco's and H3C's groups of four, the last of two: 0100.e04c.6810.01, 0100-e04c-6810-01
      read = (text[4] == '.' || text[4] == '-') && ReadDigits(text, 4, text[4], id);
      break;
    case 14:
      read = ReadDigits(text, 14, '\0', id);
      break;
    default: break;
  }
  // Seven bytes, the first the hardware type: 1 is Ethernet.
  if (!read || (id.number >> 48) != 1) return Invalid();
  id.number &= (std::int64_t{1} << 48) - 1;
  id.shape = MacShape::Pairs;
  return id;
}

void WriteCanonicalMac(std::int64_t number, std::string& out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.assign(17, '-');
  for (int pair = 0; pair < 6; ++pair) {
    const auto byte = static_cast<unsigned>((number >> (40 - 8 * pair)) & 0xFF);
    out[3 * pair] = kDigits[byte >> 4];
    out[3 * pair + 1] = kDigits[byte & 0xF];
  }
}

std::string CanonicalMacText(std::int64_t number) {
  std::string text;
  WriteCanonicalMac(number, text);
  return text;
}

}  // namespace venbrook
