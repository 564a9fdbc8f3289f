#pragma once
// The text of an INI file, read and changed the way the Windows profile
// functions do: section and key names match without regard to letter case,
// values are trimmed of surrounding blanks and one pair of enclosing quotes,
// the first of two sections of one name counts, and a change touches the
// key's line alone (or adds the key, or the section and the key, at the end
// of where they belong), keeping every other byte and the file's line ends.
// The same rules for the text of a GBK file (bytes) and of a UTF-16 file
// (units).
#include <string>
#include <string_view>

namespace venbrook {

// The key's value; empty when the section or the key is missing.
std::string ProfileValue(std::string_view content, std::string_view section, std::string_view key);
std::u16string ProfileValue(std::u16string_view content, std::u16string_view section, std::u16string_view key);

// The content with the key set to `value`.
std::string WithProfileValue(std::string_view content, std::string_view section, std::string_view key,
                             std::string_view value);
std::u16string WithProfileValue(std::u16string_view content, std::u16string_view section, std::u16string_view key,
                                 std::u16string_view value);

}  // namespace venbrook
