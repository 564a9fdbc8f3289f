#include "model/text_codec.h"

#include <algorithm>

#include "platform/os.h"

namespace venbrook {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

bool IsUtf8OfAtMostThreeBytes(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  for (std::size_t at = 0; at < size;) {
    const unsigned char lead = bytes[at];
    if (lead < 0x80) {
      ++at;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      if (at + 1 >= size || !IsContinuation(bytes[at + 1])) return false;
      at += 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      if (at + 2 >= size || !IsContinuation(bytes[at + 1]) || !IsContinuation(bytes[at + 2])) return false;
      if (lead == 0xE0 && bytes[at + 1] < 0xA0) return false;   // overlong
      if (lead == 0xED && bytes[at + 1] >= 0xA0) return false;  // surrogate
      at += 3;
    } else {
      return false;  // stray continuation, overlong two-byte lead, four-byte form
    }
  }
  return true;
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  if (!IsUtf8OfAtMostThreeBytes(utf8)) return {};
  return os::ConvertUtf8ToGbk(utf8);
}

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  return os::ConvertGbkToUtf8(gbk);
}

}  // namespace venbrook
