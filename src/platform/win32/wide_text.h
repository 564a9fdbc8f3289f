#pragma once
// GBK (code page 936, named explicitly: never the process's ANSI code page,
// which follows the user's locale) to UTF-16 and back, at the Win32 edge.
#include <optional>
#include <string>
#include <string_view>

#include "platform/path.h"

namespace venbrook::win32 {

constexpr unsigned kGbkCodePage = 936;

std::wstring Widen(std::string_view gbk);
// The same into `out`, reusing its buffer: one conversion call, no allocation
// once the buffer is large enough.
void WidenInto(std::string_view gbk, std::wstring& out);
std::string Narrow(std::wstring_view wide);  // characters GBK lacks become '?'
// The GBK bytes of a text GBK writes whole, each character as itself (read
// back, the bytes give the same text); none for any other text.
std::optional<std::string> NarrowExactly(std::wstring_view wide);

std::wstring WidenUtf8(std::string_view utf8);
std::string NarrowUtf8(std::wstring_view wide);

// A path as every wide call takes it, and a path a wide call gave: exact
// both ways.
std::wstring WidePath(const Path& path);
Path PathFromWide(std::wstring_view wide);

}  // namespace venbrook::win32
