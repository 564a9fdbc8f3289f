#include "sources/structured/structured_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace venbrook {

std::string_view StartOfContent(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

namespace {

// The line ends of `bytes`, eight at a time: a byte of the word that is
// '\n' becomes zero once XORed, and the high bit of each zero byte alone
// survives (exactly, no borrow between bytes); those bits, one a byte,
// are summed by a multiplication.
std::size_t CountLineEnds(const char* bytes, std::size_t size) {
  constexpr std::uint64_t kEnds = 0x0A0A0A0A0A0A0A0Aull, kLow7 = 0x7F7F7F7F7F7F7F7Full;
  std::size_t count = 0, at = 0;
  for (; at + 8 <= size; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + at, 8);
    const std::uint64_t zeros = word ^ kEnds;
    const std::uint64_t high = ~(((zeros & kLow7) + kLow7) | zeros | kLow7);
    count += static_cast<std::size_t>(((high >> 7) * 0x0101010101010101ull) >> 56);
  }
  for (; at < size; ++at) count += bytes[at] == '\n';
  return count;
}

}  // namespace

int LineCounter::lineOf(std::size_t offset) {
  offset = std::min(offset, text_.size());
  if (offset > counted_) {
    const std::size_t ends = CountLineEnds(text_.data() + counted_, offset - counted_);
    lineEnds_ = static_cast<int>(std::min<std::size_t>(lineEnds_ + ends, INT_MAX - 1));
    counted_ = offset;
  }
  return lineEnds_ + 1;
}

}  // namespace venbrook
