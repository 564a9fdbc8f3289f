#include "platform/win32/wide_text.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 units in a wchar_t");

namespace venbrook::win32 {
namespace {

std::wstring ToWide(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return wide;
}

std::string FromWide(unsigned codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* substitute = codePage == CP_UTF8 ? nullptr : "?";
  const int length = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         substitute, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, substitute,
                      nullptr);
  return bytes;
}

}  // namespace

std::wstring Widen(std::string_view gbk) { return ToWide(kGbkCodePage, gbk); }

// A GBK byte, or a pair of them, never gives more than one UTF-16 unit a
// byte, so a buffer as long as the bytes always holds the result.
void WidenInto(std::string_view gbk, std::wstring& out) {
  out.resize(gbk.size());
  if (gbk.empty()) return;
  const int length = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), out.data(),
                                         static_cast<int>(out.size()));
  if (length > 0) out.resize(static_cast<std::size_t>(length));
  else out = ToWide(kGbkCodePage, gbk);
}

std::string Narrow(std::wstring_view wide) { return FromWide(kGbkCodePage, wide); }

// A character GBK lacks becomes '?', which reads back as '?': the round trip
// tells it, as it tells a lone surrogate.
std::optional<std::string> NarrowExactly(std::wstring_view wide) {
  std::string bytes = FromWide(kGbkCodePage, wide);
  if (ToWide(kGbkCodePage, bytes) != wide) return std::nullopt;
  return bytes;
}

std::wstring WidenUtf8(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string NarrowUtf8(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }

std::wstring WidePath(const Path& path) {
  const std::u16string units = path.utf16();
  return std::wstring(units.begin(), units.end());
}

Path PathFromWide(std::wstring_view wide) {
  return Path::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace venbrook::win32
