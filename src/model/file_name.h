#pragma once
#include <string_view>

namespace venbrook {

// Position of the last backslash that is a character of its own (never the
// trail byte of a double-byte character), or npos.
std::size_t LastBackslash(std::string_view path);

// The part of the path after its last backslash; empty when it has none.
std::string_view FileNameOf(std::string_view path);

// The part before the last backslash; the whole path when it has none.
std::string_view FolderOf(std::string_view path);

bool EndsWithBackslash(std::string_view path);

}  // namespace venbrook
