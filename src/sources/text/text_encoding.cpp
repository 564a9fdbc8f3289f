#include "sources/text/text_encoding.h"

#include <algorithm>

#include "platform/os.h"
#include "platform/utf16.h"

namespace venbrook {
namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

bool InRange(unsigned char byte, unsigned char low, unsigned char high) { return byte >= low && byte <= high; }

// Well-formed UTF-8 (up to four bytes a character, nothing overlong, no
// surrogates) holding at least one character of more than one byte. Stops
// at the first byte that is not: a GBK file usually shows it at once.
bool ReadsAsUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  bool multiByte = false;
  for (std::size_t at = 0; at < size;) {
    const unsigned char lead = bytes[at];
    if (lead < 0x80) {
      ++at;
      continue;
    }
    // The range of the byte after the lead (later ones are 80-BF) and the length.
    unsigned char low = 0x80, high = 0xBF;
    std::size_t length = 0;
    if (InRange(lead, 0xC2, 0xDF)) length = 2;
    else if (lead == 0xE0) low = 0xA0, length = 3;
    else if (lead == 0xED) high = 0x9F, length = 3;
    else if (InRange(lead, 0xE1, 0xEF)) length = 3;
    else if (lead == 0xF0) low = 0x90, length = 4;
    else if (lead == 0xF4) high = 0x8F, length = 4;
    else if (InRange(lead, 0xF1, 0xF3)) length = 4;
    if (length == 0 || size - at < length || !InRange(bytes[at + 1], low, high)) return false;
    for (std::size_t i = 2; i < length; ++i)
      if (!InRange(bytes[at + i], 0x80, 0xBF)) return false;
    at += length;
    multiByte = true;
  }
  return multiByte;
}

// UTF-16 without a mark: in the first bytes, one byte of many pairs is zero,
// nearly always the same one of the two.
constexpr std::size_t kUtf16SampleBytes = 4096;

std::size_t ZerosAt(std::string_view sample, std::size_t parity) {
  std::size_t zeros = 0;
  for (std::size_t at = parity; at < sample.size(); at += 2) zeros += sample[at] == '\0';
  return zeros;
}

}  // namespace

DetectedEncoding DetectTextEncoding(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE")) return {TextEncoding::Utf16Le, 2};
  if (StartsWith(bytes, "\xFE\xFF")) return {TextEncoding::Utf16Be, 2};
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return {TextEncoding::Utf8, 3};
  const std::string_view sample = bytes.substr(0, std::min(bytes.size(), kUtf16SampleBytes) & ~std::size_t{1});
  const std::size_t pairs = sample.size() / 2, evenZeros = ZerosAt(sample, 0), oddZeros = ZerosAt(sample, 1);
  // (A Chinese character may have a zero byte too, in the other place: U+4E00.)
  if (pairs >= 2 && oddZeros * 4 >= pairs && evenZeros * 4 < oddZeros) return {TextEncoding::Utf16Le, 0};
  if (pairs >= 2 && evenZeros * 4 >= pairs && oddZeros * 4 < evenZeros) return {TextEncoding::Utf16Be, 0};
  return {ReadsAsUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gbk, 0};
}

std::string DecodeToUtf8(std::string_view bytes) {
  const DetectedEncoding detected = DetectTextEncoding(bytes);
  const std::string_view body = bytes.substr(detected.markBytes);
  switch (detected.encoding) {
    case TextEncoding::Utf8: return std::string(body);
    case TextEncoding::Gbk: return os::ConvertGbkToUtf8(body);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
      const bool big = detected.encoding == TextEncoding::Utf16Be;
      std::u16string units(body.size() / 2, u'\0');
      for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(body[2 * i]), second = static_cast<unsigned char>(body[2 * i + 1]);
        units[i] = static_cast<char16_t>(big ? first << 8 | second : second << 8 | first);
      }
      // The odd last byte of a text cut short: a unit no UTF-8 reader takes.
      if (body.size() % 2 != 0) units.push_back(u'\xD800');
      return Utf16ToUtf8(units);
    }
  }
  return {};
}

}  // namespace venbrook
