#pragma once
// INI files on disk, read and written the way the Windows profile functions
// do: the text's rules are in profile_text.h, the encodings of the file in
// profile_encoding.h. Other sections and keys survive a write, and the
// first write creates the file. Values are GBK texts, or paths.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/path.h"
#include "settings/profile_text.h"

namespace venbrook {

// The key's value as GBK, at most `bufferSize` - 1 bytes of it and never
// half of a double-byte character; empty when the file, the section or the
// key is missing or the file cannot be read. A character of a UTF-16 file
// that GBK lacks reads as '?'.
std::string ReadIniValue(const Path& file, std::string_view section, std::string_view key,
                         std::size_t bufferSize);

// Sets the key, adding the section and key when missing. False when the file
// could not be written, or exists but could not be read; it is then as it
// was.
bool WriteIniValue(const Path& file, std::string_view section, std::string_view key, std::string_view value);

// The same for a value that is a path. In a GBK file it reads as GBK (cut
// as above); in a UTF-16 file exactly, at most `bufferSize` - 1 units of it
// and never half of a surrogate pair. It is written as GBK bytes where GBK
// can write it, as in any UTF-16 file; a path GBK cannot write turns a GBK
// file into a UTF-16 one first, as Windows keeps such values.
Path ReadIniPath(const Path& file, std::string_view section, std::string_view key, std::size_t bufferSize);
bool WriteIniPath(const Path& file, std::string_view section, std::string_view key, const Path& value);

}  // namespace venbrook
