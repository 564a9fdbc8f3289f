#pragma once
// INI files read and written the way the Windows profile functions do:
// section and key names match without regard to letter case, values are
// trimmed of surrounding blanks and one pair of enclosing quotes, other
// sections and keys survive a write, and the first write creates the file.
#include <cstddef>
#include <string>
#include <string_view>

namespace venbrook {

// The key's value, at most `bufferSize` - 1 bytes of it and never half of a
// double-byte character; empty when the file, the section or the key is
// missing or the file cannot be read.
std::string ReadIniValue(std::string_view path, std::string_view section, std::string_view key,
                         std::size_t bufferSize);

// Sets the key, adding the section and key when missing. False when the file
// could not be written; it is then as it was.
bool WriteIniValue(std::string_view path, std::string_view section, std::string_view key,
                   std::string_view value);

// The same two operations on a file's content, for callers that hold it.
std::string ProfileValue(std::string_view content, std::string_view section, std::string_view key);
std::string WithProfileValue(std::string_view content, std::string_view section, std::string_view key,
                             std::string_view value);

}  // namespace venbrook
