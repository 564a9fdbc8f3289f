#include "sources/text/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#include <utility>

#include "platform/os.h"
#include "platform/utf16.h"
#include "platform/utf8.h"

namespace venbrook {
namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

// Well-formed UTF-8 (up to four bytes a character, nothing overlong, no
// surrogates) holding at least one character of more than one byte. Stops
// at the first byte that is not: a GBK file usually shows it at once.
bool ReadsAsUtf8(std::string_view text) {
  bool multiByte = false;
  for (std::size_t at = 0; at < text.size();) {
    // Most of any list is ASCII: passed over sixteen or eight bytes at a time.
#ifdef __SSE2__
    if (at + 16 <= text.size() &&
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at))) == 0) {
      at += 16;
      continue;
    }
#endif
    if (std::uint64_t word; at + 8 <= text.size() && (std::memcpy(&word, text.data() + at, 8), word & 0x8080808080808080ull) == 0) {
      at += 8;
      continue;
    }
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    const Utf8Character character = DecodeUtf8(text, at);
    if (!character.wellFormed) return false;
    multiByte = multiByte || character.length > 1;
    at += character.length;
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

std::string DecodeToUtf8(std::string&& bytes) {
  const DetectedEncoding detected = DetectTextEncoding(bytes);
  if (detected.encoding != TextEncoding::Utf8) return DecodeToUtf8(std::string_view(bytes));
  std::string text = std::move(bytes);
  text.erase(0, detected.markBytes);
  return text;
}

}  // namespace venbrook
