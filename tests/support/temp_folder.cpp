#include "support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include "platform/win32/wide_text.h"
#else
#include "model/text_codec.h"
#endif

namespace venbrook::test {

std::string CorePath(const std::filesystem::path& path) {
#ifdef _WIN32
  return win32::Narrow(path.wstring());
#else
  std::string native = path.string();
  std::replace(native.begin(), native.end(), '/', '\\');
  return Utf8ToGbk(native);
#endif
}

Path PathOf(const std::filesystem::path& path) {
#ifdef _WIN32
  return win32::PathFromWide(path.wstring());
#else
  std::string native = path.string();
  std::replace(native.begin(), native.end(), '/', '\\');
  return Path::FromUtf8(native);
#endif
}

TempFolder::TempFolder() {
  static std::mt19937_64 random(
      std::random_device{}() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = base / ("venbrook-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = std::move(candidate);
      return;
    }
  }
  throw std::runtime_error("no unique temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::optional<std::string> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write a test file");
}

std::string Utf16File(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

}  // namespace venbrook::test
