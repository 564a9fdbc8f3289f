#include "sources/blocks/base64.h"

#include <cstdint>

namespace venbrook {
namespace {

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3);
  std::uint32_t group = 0;
  int sextets = 0, padding = 0;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    if (c == '=') {
      if (sextets < 2 || ++padding + sextets > 4) return std::nullopt;
      continue;
    }
    const int sextet = SextetOf(c);
    if (sextet < 0 || padding > 0) return std::nullopt;
    group = group << 6 | static_cast<std::uint32_t>(sextet);
    if (++sextets == 4) {
      bytes += static_cast<char>(group >> 16 & 0xFF);
      bytes += static_cast<char>(group >> 8 & 0xFF);
      bytes += static_cast<char>(group & 0xFF);
      group = 0;
      sextets = 0;
    }
  }
  if (padding > 0) {
    if (sextets + padding != 4) return std::nullopt;
    group <<= 6 * padding;
    bytes += static_cast<char>(group >> 16 & 0xFF);
    if (sextets == 3) bytes += static_cast<char>(group >> 8 & 0xFF);
  } else if (sextets != 0) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace venbrook
