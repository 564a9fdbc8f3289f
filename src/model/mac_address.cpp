#include "model/mac_address.h"

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

}  // namespace

MacAddress ParseMac(std::string_view text) {
  // A cell or a database value may carry blanks around its MAC.
  const std::size_t first = text.find_first_not_of(" \t");
  text = first == std::string_view::npos ? std::string_view{} : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
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
    case 12:
      if (ReadDigits(text, 12, '\0', mac)) mac.shape = MacShape::Bare;
      break;
    default: break;
  }
  if (mac.shape == MacShape::None) mac = MacAddress{};
  return mac;
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
