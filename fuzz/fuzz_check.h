#pragma once
// What the fuzz targets share: a property check that stops the run with the
// failing input saved (libFuzzer keeps the input of any abort), the
// character split of GBK text the core uses and the well-formed code page
// 936 text the platform reads, written out plainly as the yardsticks the
// faster code is measured against.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) {                                                                    \
      std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)

namespace venbrook::fuzz {

// The characters of a GBK text: a byte of 0x80 or more and the byte after it
// are one character; a lone such byte at the very end is one of its own.
inline std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size() ? 2 : 1;
    characters.push_back(text.substr(at, length));
    at += length;
  }
  return characters;
}

// Characters of code page 936 text, or npos when it is not well formed:
// 00-80 one byte (80 is the euro sign), 81-FE a lead byte followed by a
// trail byte 40-7E or 80-FE. In `converted` text, the converter's output,
// FF alone is one too: Windows writes U+F8F5, a private-use character, so.
inline std::size_t Cp936Characters(std::string_view gbk, bool converted = false) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < gbk.size(); ++count) {
    const auto lead = static_cast<unsigned char>(gbk[at]);
    if (lead <= 0x80 || (converted && lead == 0xFF)) {
      ++at;
      continue;
    }
    if (lead == 0xFF || at + 1 >= gbk.size()) return std::string_view::npos;
    const auto trail = static_cast<unsigned char>(gbk[at + 1]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return std::string_view::npos;
    at += 2;
  }
  return count;
}

// The input cut at its NUL bytes into `count` parts (missing parts empty,
// the last part takes the rest).
inline std::vector<std::string_view> Parts(const unsigned char* data, std::size_t size, std::size_t count) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const std::size_t nul = rest.find('\0');
    parts.push_back(rest.substr(0, nul));
    rest = nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);
  }
  parts.push_back(rest);
  return parts;
}

}  // namespace venbrook::fuzz
