#include "model/text_codec.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/os.h"
#include "platform/utf8.h"

namespace venbrook {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A character of a value: UTF-8 proper, and under the products' rule one
// to three bytes only, a four-byte character counting as ill-formed as a
// surrogate does.
Utf8Character DecodeUnder(Utf8Rule rule, std::string_view text, std::size_t at) {
  Utf8Character character = DecodeUtf8(text, at);
  if (character.length > 3 && rule == Utf8Rule::UpToThreeBytes) character.wellFormed = false;
  return character;
}

// The GBK bytes of each character from U+0080 to U+FFFF, as the platform's
// converter gives them, learnt at the character's first use: a café's names
// repeat a few hundred characters, and code page 936 converts each character
// on its own, so asking once per character gives the converter's own result
// without a call per value. An entry holds the byte count above bit 16 and
// the bytes below it, first byte high; 0 until learnt.
std::atomic<std::uint32_t> gbkOfCharacter[0x10000];
// Every character beyond U+FFFF converts alike: code page 936 maps neither
// of the two surrogates UTF-16 writes it as.
std::atomic<std::uint32_t> gbkBeyondU10000;

void AppendAsGbk(std::string_view utf8Character, std::uint32_t codePoint, std::string& out) {
  std::atomic<std::uint32_t>& slot = codePoint > 0xFFFF ? gbkBeyondU10000 : gbkOfCharacter[codePoint];
  std::uint32_t entry = slot.load(std::memory_order_relaxed);
  if (entry == 0) {
    const std::string gbk = os::ConvertUtf8ToGbk(utf8Character);
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(gbk[i])); };
    if (gbk.size() == 1) {
      entry = 1u << 16 | byte(0);
    } else if (gbk.size() == 2) {
      entry = 2u << 16 | byte(0) << 8 | byte(1);
    } else {
      out += gbk;  // not one or two bytes: never the case for code page 936, but kept exact
      return;
    }
    slot.store(entry, std::memory_order_relaxed);
  }
  if (entry >> 16 == 2) out += static_cast<char>(entry >> 8 & 0xFF);
  out += static_cast<char>(entry & 0xFF);
}

}  // namespace

bool IsUtf8OfAtMostThreeBytes(std::string_view text) { return IsUtf8OfAtMost(text, 3); }

std::string Utf8ToGbk(std::string_view utf8, Utf8Rule rule) {
  std::string gbk;
  Utf8ToGbkInto(utf8, gbk, rule);
  return gbk;
}

// One pass that checks the form and converts as it goes; runs of ASCII are
// copied whole.
void Utf8ToGbkInto(std::string_view utf8, std::string& out, Utf8Rule rule) {
  out.clear();
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t size = utf8.size();
  for (std::size_t at = 0; at < size;) {
    if (bytes[at] < 0x80) {
      const std::size_t start = at;
      while (at < size && bytes[at] < 0x80) ++at;
      out.append(utf8.data() + start, at - start);
      continue;
    }
    const Utf8Character character = DecodeUnder(rule, utf8, at);
    if (!character.wellFormed) {
      out.clear();
      return;
    }
    AppendAsGbk(utf8.substr(at, character.length), character.codePoint, out);
    at += character.length;
  }
}

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  return os::ConvertGbkToUtf8(gbk);
}

}  // namespace venbrook
